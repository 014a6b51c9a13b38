#include "platform/springboard/screen/QuickActionMenu.h"

#include <algorithm>

#include "platform/foundation/Dispatch.h"
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/SystemProfile.h"
#include "platform/springboard/screen/AppIconStyle.h"
#include "platform/springboard/screen/ForceTouchObjects.h"
#include "platform/springboard/screen/IconView.h"
#include "platform/springboard/screen/QuickActionItems.h"
#include "platform/springboard/screen/QuickActionRowView.h"
#include "platform/springboard/screen/ShortcutItem.h"
#include "platform/springboard/screen/ViewObject.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UITapGestureRecognizer.h"
#include "platform/ui/UIVisualEffectView.h"

namespace platform::springboard {

namespace {

using ImagePtr = std::shared_ptr<UIImage>;

constexpr double kMargin = 12;
constexpr double kGap = 10;

// The image of a stock item: a glyph for what it does.
ImagePtr imageFor(const std::string& type) {
  char32_t glyph = 0xF4CE;  // star: an app's own item
  if (type == QuickActionItems::kShareType)
    glyph = 0xF497;  // share-variant
  else if (type == QuickActionItems::kEditType)
    glyph = 0xF03B;  // apps
  else if (type == QuickActionItems::kDeleteType)
    glyph = 0xF376;  // minus-circle
  return AppIconStyle::glyphImage(glyph, 22, UIScreen::mainScreen().scale());
}

}  // namespace

QuickActionMenu::QuickActionMenu(const SystemProfile& profile, IconViewDelegate& delegate)
    : ScreenView(profile.majorVersion() >= 13 ? "_UIContextMenuContainerView" : "SBUIIconForceTouchWindow"),
      profile_(profile),
      delegate_(delegate) {
  setHidden(true);
  backdrop_ = std::make_shared<UIVisualEffectView>(UIBlurEffect::effectWithStyle(UIBlurEffectStyle::Dark));
  backdrop_->setBackgroundColor(UIColor(0, 0, 0, 0.15));
  backdrop_->addGestureRecognizer(std::make_shared<UITapGestureRecognizer>([this](UIGestureRecognizer&) { close(); }));
  addSubview(backdrop_);
  platter_ =
      std::make_shared<ScreenView>(profile_.majorVersion() >= 13 ? "_UIContextMenuView" : "SBUIIconForceTouchView");
  platter_->setBackgroundColor(UIColor(0.97, 0.97, 0.97, 0.96));
  platter_->layer().setCornerRadius(13);
  platter_->setClipsToBounds(true);
  addSubview(platter_);
}

QuickActionMenu::~QuickActionMenu() {
  if (auto* vc = dynamic_cast<ForceTouchViewController*>(forceTouchViewController_.get())) vc->menu = nullptr;
}

void QuickActionMenu::open(IconView& icon) {
  if (open_) close();
  for (auto& row : rows_) row->removeFromSuperview();
  rows_.clear();
  open_ = true;
  bundleIdentifier_ = icon.bundleIdentifier();
  iconObject_ = icon.object();
  iconFrame_ = icon.convertRect(icon.iconFrame(), this);
  if (liftedIcon_) liftedIcon_->removeFromSuperview();
  liftedIcon_ = icon.makeLiftedCopy();
  insertSubviewBelow(liftedIcon_, platter_.get());
  if (profile_.majorVersion() >= 13) {
    buildContextMenuRows(icon);
  } else {
    buildForceTouchRows();
  }
  setHidden(false);
  setNeedsLayout();
  layoutIfNeeded();
  if (forceTouchViewController_) msgSend<void>(forceTouchViewController_.get(), SELECTOR("viewDidLayoutSubviews"));
}

void QuickActionMenu::buildContextMenuRows(IconView& icon) {
  Class* rowClass = objc_getClass("_UIContextMenuActionView");
  for (const Ref<Object>& item : icon.shortcutItems()) {
    Ref<Object> row = class_createInstance(rowClass);
    id made = msgSend<id, std::string, std::string, ImagePtr>(
        row.get(), SELECTOR("initWithTitle:subtitle:image:"), ShortcutItem::titleOf(item.get()),
        ShortcutItem::subtitleOf(item.get()), imageFor(ShortcutItem::typeOf(item.get())));
    addRow(made, item.get());
  }
}

void QuickActionMenu::buildForceTouchRows() {
  Ref<Object> provider = class_createInstance(objc_getClass("SBUIAppIconForceTouchControllerDataProvider"));
  if (auto* p = dynamic_cast<ForceTouchDataProvider*>(provider.get())) p->bundleIdentifier = bundleIdentifier_;
  forceTouchViewController_ = class_createInstance(objc_getClass("SBUIIconForceTouchViewController"));
  if (auto* vc = dynamic_cast<ForceTouchViewController*>(forceTouchViewController_.get())) vc->menu = this;
  forceTouchController_ = class_createInstance(objc_getClass("SBUIAppIconForceTouchController"));
  ObjectArray items = msgSend<ObjectArray>(provider.get(), SELECTOR("applicationShortcutItems"));
  for (const Ref<Object>& item : items) {
    Ref<Object> controller = forceTouchController_, viewController = forceTouchViewController_, held = item;
    std::function<void()> handler = [controller, viewController, held] {
      msgSend<void, id, id>(controller.get(),
                            SELECTOR("appIconForceTouchShortcutViewController:activateApplicationShortcutItem:"),
                            viewController.get(), held.get());
    };
    Ref<Object> action = class_createInstance(objc_getClass("SBUIAction"));
    id madeAction = msgSend<id, std::string, std::string, ImagePtr, id, std::function<void()>>(
        action.get(), SELECTOR("initWithTitle:subtitle:image:badgeView:handler:"), ShortcutItem::titleOf(item.get()),
        ShortcutItem::subtitleOf(item.get()), imageFor(ShortcutItem::typeOf(item.get())), nullptr, handler);
    Ref<Object> row = class_createInstance(objc_getClass("SBUIActionView"));
    id made = msgSend<id, id>(row.get(), SELECTOR("initWithAction:"), madeAction);
    addRow(made, nullptr);
  }
}

void QuickActionMenu::addRow(id made, id item) {
  auto* peer = dynamic_cast<ViewObject*>(made);
  auto row = std::dynamic_pointer_cast<QuickActionRowView>(peer ? peer->adopt() : nullptr);
  if (!row) return;
  if (item) {
    // From 13.0: the menu closes, then the icon's class is asked to activate the item.
    Ref<Object> held = item;
    row->setAction([this, held] {
      Ref<Object> icon = iconObject_;
      std::string bundle = bundleIdentifier_;
      close();
      Class* iconClass = objc_getClass("SBIconView");
      msgSend<void, id, std::string, id>(iconClass, SELECTOR("activateShortcut:withBundleIdentifier:forIconView:"),
                                         held.get(), bundle, icon.get());
    });
  }
  platter_->addSubview(row);
  rows_.push_back(std::move(row));
}

void QuickActionMenu::close() {
  if (!open_) return;
  open_ = false;
  setHidden(true);
  bundleIdentifier_.clear();
  iconObject_ = nullptr;
  if (auto* vc = dynamic_cast<ForceTouchViewController*>(forceTouchViewController_.get())) vc->menu = nullptr;
  forceTouchViewController_ = nullptr;
  forceTouchController_ = nullptr;
  // The rows go at the next turn: the row whose tap closed the menu is still delivering it.
  auto rows = std::make_shared<std::vector<std::shared_ptr<QuickActionRowView>>>(std::move(rows_));
  rows_.clear();
  for (auto& row : *rows) row->setHidden(true);
  dispatch_async(dispatch_get_main_queue(), [rows] {
    for (auto& row : *rows) row->removeFromSuperview();
  });
}

std::vector<std::string> QuickActionMenu::titles() const {
  std::vector<std::string> titles;
  for (const auto& row : rows_) titles.push_back(row->title());
  return titles;
}

void QuickActionMenu::performStockShortcut(id item) {
  std::string bundle = bundleIdentifier_;
  Ref<Object> held = item;
  close();
  delegate_.performStockShortcut(held.get(), bundle);
}

void QuickActionMenu::layoutContents() {
  const CGSize size = bounds().size;
  backdrop_->setFrame(bounds());
  const double width = profile_.majorVersion() >= 13 ? 250 : 280;
  double height = 0;
  for (const auto& row : rows_) height += row->preferredHeight();
  const bool rtl = effectiveUserInterfaceLayoutDirection() == UIUserInterfaceLayoutDirection::RightToLeft;
  double x = rtl ? CGRectGetMaxX(iconFrame_) - width : iconFrame_.origin.x;
  x = std::clamp(x, kMargin, std::max(kMargin, size.width - kMargin - width));
  double y = CGRectGetMaxY(iconFrame_) + kGap;
  if (y + height > size.height - kMargin) y = std::max(kMargin, iconFrame_.origin.y - kGap - height);
  platter_->setFrame(CGRectMake(x, y, width, height));
  if (liftedIcon_) liftedIcon_->setFrame(iconFrame_);
  double rowY = 0;
  for (const auto& row : rows_) {
    row->setFrame(CGRectMake(0, rowY, width, row->preferredHeight()));
    rowY += row->preferredHeight();
  }
}

}  // namespace platform::springboard
