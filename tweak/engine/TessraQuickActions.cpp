#include "tweak/engine/TessraQuickActions.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

#include "platform/foundation/DeviceInfo.h"
#include "platform/foundation/Dispatch.h"
#include "platform/runtime/Associations.h"
#include "platform/runtime/KeyValue.h"
#include "platform/runtime/MessageSend.h"
#include "platform/springboard/screen/ViewObject.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UIView.h"
#include "tweak/controls/FlipswitchHelper.h"
#include "tweak/engine/TessraHooks.h"
#include "tweak/engine/TessraPanelPresenter.h"
#include "tweak/panel/TSCustomizedThingsView.h"
#include "tweak/store/TessraStorageManager.h"
#include "tweak/support/BundleHelper.h"

using namespace platform;

namespace {

using ImagePtr = std::shared_ptr<UIImage>;

std::string g_currentForceTouchedAppBundleId;
std::string g_darkModeTweakName;
bool g_darkModeEnabled = false;
Ref<Object> g_lastForceTouchViewController;
// The address that keys a row's customized-things strip among its associated values.
const char kThingsViewKey = 0;

ObjectArray (*orig_iconItems)(id, SEL) = nullptr;
void (*orig_activateShortcut)(id, SEL, id, std::string, id) = nullptr;
id (*orig_contextRowInit)(id, SEL, std::string, std::string, ImagePtr) = nullptr;
void (*orig_setTrailingImage)(id, SEL, ImagePtr) = nullptr;
ObjectArray (*orig_providerItems)(id, SEL) = nullptr;
void (*orig_forceTouchActivate)(id, SEL, id, id) = nullptr;
void (*orig_forceTouchDidLayout)(id, SEL) = nullptr;
id (*orig_actionInit)(id, SEL, std::string, std::string, ImagePtr, id, std::function<void()>) = nullptr;
id (*orig_actionViewInit)(id, SEL, id) = nullptr;

bool is13OrLater() { return DeviceInfo::current().systemVersionNumber() >= 13.0; }

// Compares dotted versions part by part, as numbers ("13.2" < "13.10"; missing parts are 0).
int compareVersions(const std::string& a, const std::string& b) {
  long x[3] = {0, 0, 0};
  long y[3] = {0, 0, 0};
  std::sscanf(a.c_str(), "%ld.%ld.%ld", &x[0], &x[1], &x[2]);
  std::sscanf(b.c_str(), "%ld.%ld.%ld", &y[0], &y[1], &y[2]);
  for (int i = 0; i < 3; ++i)
    if (x[i] != y[i]) return x[i] < y[i] ? -1 : 1;
  return 0;
}

// The row's icon: the bundle's "tessraIcon", made 24 x 24 points on 13.0 to 13.2.
ImagePtr tessraIcon() {
  ImagePtr image = BundleHelper::getImageWithName("tessraIcon");
  const std::string version = DeviceInfo::current().systemVersion();
  if (image && compareVersions(version, "13.0") >= 0 && compareVersions(version, "13.3") < 0)
    image = image->imageByResizingTo({24, 24});
  return image;
}

std::string titleOf(id object) { return msgSend<std::string>(object, SELECTOR("title")); }

// Decorates the row 0.1 s from now (the row's own layout has run by then).
void decorateLater(id row) {
  Ref<Object> keep(row);
  dispatch_after(seconds(TessraQuickActions::kDecorationDelay), dispatch_get_main_queue(),
                 [keep] { TessraQuickActions::decorateRow(keep.get()); });
}

Ref<Object> makeItem() {
  Class* cls = objc_getClass("SBSApplicationShortcutItem");
  if (!cls) return nullptr;
  Ref<Object> item = class_createInstance(cls);
  const auto& store = TessraStorageManager::sharedInstance();
  const bool nothingCustomized = store.getNbCustomizedThingsForBundleId(g_currentForceTouchedAppBundleId) < 1;
  const std::string subtitle = nothingCustomized ? std::string(TessraQuickActions::kItemSubtitleWithoutThings)
                                                 : std::string(TessraQuickActions::kItemSubtitleSpaces, ' ');
  msgSend<void, std::string>(item.get(), SELECTOR("setLocalizedTitle:"), TessraQuickActions::kItemTitle);
  msgSend<void, std::string>(item.get(), SELECTOR("setLocalizedSubtitle:"), subtitle);
  msgSend<void, std::string>(item.get(), SELECTOR("setType:"), TessraQuickActions::kItemType);
  msgSend<void, std::string>(item.get(), SELECTOR("setBundleIdentifierToLaunch:"), g_currentForceTouchedAppBundleId);
  return item;
}

ObjectArray addTessraItem(ObjectArray items) {
  const auto& store = TessraStorageManager::sharedInstance();
  if (g_currentForceTouchedAppBundleId.empty() || store.hideTessraMenu) return items;
  Ref<Object> item = makeItem();
  if (!item) return items;
  if (store.itemsBeforeStockItems)
    items.insert(items.begin(), std::move(item));
  else
    items.push_back(std::move(item));
  return items;
}

bool isTessraItem(id item) { return msgSend<std::string>(item, SELECTOR("type")) == TessraQuickActions::kItemType; }

// --- From 13.0 ---

ObjectArray hook_iconItems(id self, SEL sel) {
  if (respondsToSelector(self, SELECTOR("applicationBundleIdentifier")))
    g_currentForceTouchedAppBundleId = msgSend<std::string>(self, SELECTOR("applicationBundleIdentifier"));
  else if (respondsToSelector(self, SELECTOR("applicationBundleIdentifierForShortcuts")))
    g_currentForceTouchedAppBundleId = msgSend<std::string>(self, SELECTOR("applicationBundleIdentifierForShortcuts"));
  return addTessraItem(orig_iconItems ? orig_iconItems(self, sel) : ObjectArray{});
}

void hook_activateShortcut(id self, SEL sel, id item, std::string bundleId, id iconView) {
  if (isTessraItem(item)) {
    TessraPanelPresenter::openPanel(g_currentForceTouchedAppBundleId, false);
    return;
  }
  if (orig_activateShortcut) orig_activateShortcut(self, sel, item, std::move(bundleId), iconView);
}

id hook_contextRowInit(id self, SEL sel, std::string title, std::string subtitle, ImagePtr image) {
  const bool tessra = title == TessraQuickActions::kItemTitle;
  if (tessra) image = tessraIcon();
  id row = orig_contextRowInit ? orig_contextRowInit(self, sel, std::move(title), std::move(subtitle), std::move(image))
                               : self;
  if (tessra && row) decorateLater(row);
  return row;
}

void hook_setTrailingImage(id self, SEL sel, ImagePtr image) {
  const bool tessra = titleOf(self) == TessraQuickActions::kItemTitle;
  if (tessra) image = tessraIcon();
  if (orig_setTrailingImage) orig_setTrailingImage(self, sel, std::move(image));
  if (tessra) decorateLater(self);
}

// --- Below 13.0 ---

ObjectArray hook_providerItems(id self, SEL sel) {
  g_currentForceTouchedAppBundleId = msgSend<std::string>(self, SELECTOR("applicationBundleIdentifier"));
  return addTessraItem(orig_providerItems ? orig_providerItems(self, sel) : ObjectArray{});
}

void hook_forceTouchActivate(id self, SEL sel, id viewController, id item) {
  if (!isTessraItem(item)) {
    if (orig_forceTouchActivate) orig_forceTouchActivate(self, sel, viewController, item);
    return;
  }
  const std::string bundleId = g_currentForceTouchedAppBundleId;
  static ClassHandle menuControllerClass("SBUIIconForceTouchViewController");
  id menu = msgSend<id>(menuControllerClass.get(), SELECTOR("getInstance"));
  if (!menu) {
    TessraPanelPresenter::openPanel(bundleId, false);
    return;
  }
  msgSend<void, bool, std::function<void()>>(menu, SELECTOR("dismissAnimated:withCompletionHandler:"), true,
                                             [bundleId] { TessraPanelPresenter::openPanel(bundleId, false); });
}

void hook_forceTouchDidLayout(id self, SEL sel) {
  if (orig_forceTouchDidLayout) orig_forceTouchDidLayout(self, sel);
  g_lastForceTouchViewController = self;
}

id getInstance(id, SEL) { return g_lastForceTouchViewController.get(); }

id hook_actionInit(id self, SEL sel, std::string title, std::string subtitle, ImagePtr image, id badge,
                   std::function<void()> handler) {
  if (title == TessraQuickActions::kItemTitle) image = tessraIcon();
  if (!orig_actionInit) return self;
  return orig_actionInit(self, sel, std::move(title), std::move(subtitle), std::move(image), badge, std::move(handler));
}

id hook_actionViewInit(id self, SEL sel, id action) {
  id row = orig_actionViewInit ? orig_actionViewInit(self, sel, action) : self;
  if (row && titleOf(action) == TessraQuickActions::kItemTitle) decorateLater(row);
  return row;
}

// --- The added property of the row classes ---

std::shared_ptr<UIView> get_customizedThingsView(id self, SEL) {
  return getAssociatedValue<UIView>(self, &kThingsViewKey);
}

void set_customizedThingsView(id self, SEL, std::shared_ptr<UIView> view) {
  setAssociatedValue<UIView>(self, &kThingsViewKey, std::move(view));
}

void addThingsViewProperty(Class* cls) {
  if (!cls) return;
  class_addMethod(cls, SELECTOR("customizedThingsView"), &get_customizedThingsView);
  class_addMethod(cls, SELECTOR("setCustomizedThingsView:"), &set_customizedThingsView);
}

}  // namespace

void TessraQuickActions::install() {
  if (is13OrLater()) {
    installTessraHook("SBIconView", "applicationShortcutItems", &hook_iconItems, &orig_iconItems);
    if (Class* iconView = objc_getClass("SBIconView"))
      installTessraHook(iconView->metaclass(),
                        "activateShortcut:withBundleIdentifier:forIconView:", &hook_activateShortcut,
                        &orig_activateShortcut);
    installTessraHook("_UIContextMenuActionView", "initWithTitle:subtitle:image:", &hook_contextRowInit,
                      &orig_contextRowInit);
    installTessraHook("_UIContextMenuActionView", "setTrailingImage:", &hook_setTrailingImage, &orig_setTrailingImage);
    addThingsViewProperty(objc_getClass("_UIContextMenuActionView"));
    return;
  }
  installTessraHook("SBUIAppIconForceTouchControllerDataProvider", "applicationShortcutItems", &hook_providerItems,
                    &orig_providerItems);
  installTessraHook("SBUIAppIconForceTouchController",
                    "appIconForceTouchShortcutViewController:activateApplicationShortcutItem:",
                    &hook_forceTouchActivate, &orig_forceTouchActivate);
  installTessraHook("SBUIIconForceTouchViewController", "viewDidLayoutSubviews", &hook_forceTouchDidLayout,
                    &orig_forceTouchDidLayout);
  installTessraHook("SBUIAction", "initWithTitle:subtitle:image:badgeView:handler:", &hook_actionInit,
                    &orig_actionInit);
  installTessraHook("SBUIActionView", "initWithAction:", &hook_actionViewInit, &orig_actionViewInit);
  addThingsViewProperty(objc_getClass("SBUIActionView"));
  if (Class* menuController = objc_getClass("SBUIIconForceTouchViewController"))
    class_addMethod(menuController->metaclass(), SELECTOR("getInstance"), &getInstance);
}

const std::string& TessraQuickActions::currentForceTouchedAppBundleId() { return g_currentForceTouchedAppBundleId; }

const std::string& TessraQuickActions::darkModeTweakName() { return g_darkModeTweakName; }

bool TessraQuickActions::isDarkStyle(id rowView) {
  const bool modern = is13OrLater();
  if (modern && FlipswitchHelper::isiOS13DarkModeEnabled()) return true;
  id label = object_getIvar<id>(rowView, "_titleLabel");
  if (!modern) label = object_getIvar<id>(label, "_label");
  UIView* labelView = springboard::ViewObject::viewOf(label);
  if (!labelView) return false;
  g_darkModeTweakName.clear();
  if (!modern && labelView->layer().filters().empty()) {
    g_darkModeTweakName = "dune";
    return true;
  }
  // Layers are not runtime objects here: an add-on that marks its labels answers on the label itself.
  if (respondsToSelector(label, SELECTOR("isDarkModeEnabled")) && msgSend<bool>(label, SELECTOR("isDarkModeEnabled"))) {
    g_darkModeTweakName = "noctis";
    return true;
  }
  UIView* row = springboard::ViewObject::viewOf(rowView);
  if (row && !row->layer().filters().empty() && row->layer().filters().front().name == "colorInvert") {
    g_darkModeTweakName = "carbon";
    return true;
  }
  return false;
}

void TessraQuickActions::decorateRow(id rowView) {
  g_darkModeEnabled = isDarkStyle(rowView);
  const std::string bundleId = g_currentForceTouchedAppBundleId;
  const int64_t count = TessraStorageManager::sharedInstance().getNbCustomizedThingsForBundleId(bundleId);
  if (count < 1 || getAssociatedValue<UIView>(rowView, &kThingsViewKey)) return;
  UIView* row = springboard::ViewObject::viewOf(rowView);
  UIView* subtitle = springboard::ViewObject::viewOf(object_getIvar<id>(rowView, "_subtitleLabel"));
  if (!row || !subtitle || !subtitle->superview()) return;

  const bool modern = is13OrLater();
  CGRect base = subtitle->frame();
  if (!modern) {
    base = subtitle->superview()->frame();
    base.size.height = subtitle->frame().size.height;
  }
  const double x = base.origin.x, y = base.origin.y, w = base.size.width, h = base.size.height;
  const double n = static_cast<double>(count);
  const double width = std::min((h - 2) * n + (8 * n - 8), w);
  double stripX = x + 2;
  if (UIApplication::sharedApplication().userInterfaceLayoutDirection() == UIUserInterfaceLayoutDirection::RightToLeft)
    stripX += (w - width) - 2;
  const UIColor colour =
      g_darkModeEnabled && g_darkModeTweakName != "carbon" ? UIColor::whiteColor() : UIColor::blackColor();
  auto strip = std::make_shared<TSCustomizedThingsView>(CGRectMake(stripX, y + 2, width, h - 2), bundleId, colour);
  set_customizedThingsView(rowView, nullptr, strip);
  strip->setAlpha(0.8);
  if (modern) {
    UIView* labels = subtitle->superview();
    labels->addSubview(strip);
    std::weak_ptr<UIView> weakLabels = labels->weak_from_this();
    dispatch_after(seconds(kLabelsLiftDelay), dispatch_get_main_queue(), [weakLabels] {
      if (auto lifted = weakLabels.lock()) lifted->setFrame(CGRectOffset(lifted->frame(), 0, -5));
    });
  } else {
    row->addSubview(strip);
  }
}
