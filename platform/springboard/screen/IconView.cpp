#include "platform/springboard/screen/IconView.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/DeviceConfiguration.h"
#include "platform/springboard/screen/AppIconStyle.h"
#include "platform/springboard/screen/QuickActionItems.h"
#include "platform/springboard/screen/ScreenLabel.h"
#include "platform/springboard/screen/ViewObject.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UILongPressGestureRecognizer.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UITapGestureRecognizer.h"

namespace platform::springboard {

namespace {

constexpr double kLabelHeight = 16;
constexpr double kSideMargin = 10;

IconView* iconOf(id obj) { return dynamic_cast<IconView*>(ViewObject::viewOf(obj)); }

}  // namespace

CGSize IconView::sizeFor(double iconSide) { return {iconSide + 2 * kSideMargin, iconSide + 6 + kLabelHeight}; }

IconView::IconView(const InstalledApp& app, double iconSide, Label label, IconViewDelegate& delegate)
    : ScreenView("SBIconView", CGRect{{0, 0}, sizeFor(iconSide)}),
      bundleIdentifier_(app.bundleIdentifier),
      displayName_(app.displayName),
      iconSide_(iconSide),
      delegate_(delegate) {
  setDetail(bundleIdentifier_);
  tile_ = std::make_shared<UIView>();
  tile_->setBackgroundColor(AppIconStyle::colorFor(bundleIdentifier_));
  tile_->layer().setCornerRadius(iconSide * 0.225);
  tile_->setUserInteractionEnabled(false);
  addSubview(tile_);
  const double scale = UIScreen::mainScreen().scale();
  if (char32_t glyph = AppIconStyle::glyphFor(bundleIdentifier_)) {
    if (auto image = AppIconStyle::glyphImage(glyph, iconSide * 0.6, scale)) {
      auto imageView = std::make_shared<UIImageView>();
      imageView->setImage(image);
      imageView->setTintColor(UIColor::whiteColor());
      glyph_ = imageView;
    }
  }
  if (!glyph_) {
    auto initial = std::make_shared<UILabel>();
    initial->setText(AppIconStyle::initialOf(displayName_));
    initial->setFont(UIFont::systemFontOfSize(iconSide * 0.5, UIFontWeight::Semibold));
    initial->setTextColor(UIColor::whiteColor());
    initial->setTextAlignment(NSTextAlignment::Center);
    glyph_ = initial;
  }
  glyph_->setUserInteractionEnabled(false);
  tile_->addSubview(glyph_);
  if (label == Label::Shown) {
    name_ = std::make_shared<ScreenLabel>();
    name_->setText(displayName_);
    name_->setFont(UIFont::systemFontOfSize(iconSide >= 70 ? 13 : 12));
    name_->setTextColor(UIColor::whiteColor());
    name_->setTextAlignment(NSTextAlignment::Center);
    addSubview(name_);
  }

  auto press = std::make_shared<UILongPressGestureRecognizer>([this](UIGestureRecognizer& g) {
    if (g.state() == UIGestureRecognizerState::Began) delegate_.iconPressed(bundleIdentifier_);
  });
  auto tap = std::make_shared<UITapGestureRecognizer>(
      [this](UIGestureRecognizer&) { delegate_.iconTapped(bundleIdentifier_); });
  addGestureRecognizer(press);
  addGestureRecognizer(tap);
  setNeedsLayout();
}

CGRect IconView::iconFrame() const { return CGRectMake(kSideMargin, 0, iconSide_, iconSide_); }

void IconView::layoutContents() {
  tile_->setFrame(iconFrame());
  glyph_->setFrame(CGRectMake(0, 0, iconSide_, iconSide_));
  if (auto* image = dynamic_cast<UIImageView*>(glyph_.get())) {
    const double side = iconSide_ * 0.6;
    image->setFrame(CGRectMake((iconSide_ - side) / 2, (iconSide_ - side) / 2, side, side));
  }
  if (name_) name_->setFrame(CGRectMake(0, iconSide_ + 5, bounds().size.width, kLabelHeight));
}

std::shared_ptr<UIView> IconView::makeLiftedCopy() const {
  auto copy = std::make_shared<UIView>(iconFrame());
  copy->setBackgroundColor(tile_->backgroundColor());
  copy->layer().setCornerRadius(tile_->layer().cornerRadius());
  copy->setUserInteractionEnabled(false);
  if (auto* image = dynamic_cast<UIImageView*>(glyph_.get())) {
    auto glyph = std::make_shared<UIImageView>(image->frame());
    glyph->setImage(image->image());
    glyph->setTintColor(UIColor::whiteColor());
    copy->addSubview(glyph);
  } else if (auto* initial = dynamic_cast<UILabel*>(glyph_.get())) {
    auto label = std::make_shared<UILabel>(initial->frame());
    label->setText(initial->text());
    label->setFont(initial->font());
    label->setTextColor(initial->textColor());
    label->setTextAlignment(NSTextAlignment::Center);
    copy->addSubview(label);
  }
  return copy;
}

ObjectArray IconView::shortcutItems() {
  if (!object()) return QuickActionItems::stockItems(bundleIdentifier_);
  return msgSend<ObjectArray>(object(), SELECTOR("applicationShortcutItems"));
}

void IconView::registerClass(const SystemProfile&) {
  Class* cls = Runtime::allocateClass("SBIconView", objc_getClass("UIView"));
  class_addMethod(
      cls, SELECTOR("applicationBundleIdentifier"), +[](id obj, SEL) {
        IconView* icon = iconOf(obj);
        return icon ? icon->bundleIdentifier_ : std::string();
      });
  class_addMethod(
      cls, SELECTOR("applicationShortcutItems"), +[](id obj, SEL) {
        IconView* icon = iconOf(obj);
        return icon ? QuickActionItems::stockItems(icon->bundleIdentifier_) : ObjectArray{};
      });
  class_addMethod(
      cls->metaclass(), SELECTOR("activateShortcut:withBundleIdentifier:forIconView:"),
      +[](id, SEL, id item, std::string bundleIdentifier, id iconView) {
        if (IconView* icon = iconOf(iconView)) icon->delegate_.performStockShortcut(item, bundleIdentifier);
      });
  Runtime::registerClass(cls);
}

}  // namespace platform::springboard
