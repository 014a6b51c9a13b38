#include "platform/springboard/screen/QuickActionClasses.h"

#include "platform/runtime/KeyValue.h"
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/SystemProfile.h"
#include "platform/springboard/screen/ForceTouchObjects.h"
#include "platform/springboard/screen/QuickActionItems.h"
#include "platform/springboard/screen/QuickActionMenu.h"
#include "platform/springboard/screen/QuickActionRowView.h"
#include "platform/springboard/screen/ViewObject.h"

namespace platform::springboard {

namespace {

using RowStyle = QuickActionRowView::Style;
using ImagePtr = std::shared_ptr<UIImage>;

QuickActionRowView* rowOf(id obj) { return dynamic_cast<QuickActionRowView*>(ViewObject::viewOf(obj)); }

// The row of `obj` made now, held by the object until the menu adopts it.
id makeRow(id obj, RowStyle style, std::string title, std::string subtitle, ImagePtr image) {
  auto* peer = dynamic_cast<ViewObject*>(obj);
  if (!peer) return nullptr;
  auto row = std::make_shared<QuickActionRowView>(style, Ref<Object>(obj), std::move(title), std::move(subtitle),
                                                  std::move(image));
  peer->hold(row);
  return obj;
}

void addLabelFields(Class* cls) {
  class_addIvar(
      cls, "_titleLabel", +[](id obj) -> id { return rowOf(obj) ? rowOf(obj)->titleLabelObject() : nullptr; });
  class_addIvar(
      cls, "_subtitleLabel", +[](id obj) -> id { return rowOf(obj) ? rowOf(obj)->subtitleLabelObject() : nullptr; });
  class_addMethod(
      cls, SELECTOR("title"), +[](id obj, SEL) { return rowOf(obj) ? rowOf(obj)->title() : std::string(); });
}

void registerContextMenu() {
  Class* view = objc_getClass("UIView");
  Class* row = Runtime::allocateClass("_UIContextMenuActionView", view);
  class_addMethod(
      row, SELECTOR("initWithTitle:subtitle:image:"),
      +[](id obj, SEL, std::string title, std::string subtitle, ImagePtr image) -> id {
        return makeRow(obj, RowStyle::ContextMenu, std::move(title), std::move(subtitle), std::move(image));
      });
  class_addMethod(
      row, SELECTOR("setTrailingImage:"), +[](id obj, SEL, ImagePtr image) {
        if (QuickActionRowView* r = rowOf(obj)) r->setImage(std::move(image));
      });
  addLabelFields(row);
  Runtime::registerClass(row);
  Runtime::registerClass(Runtime::allocateClass("_UIContextMenuView", view));
}

void registerForceTouch() {
  Class* root = Runtime::rootClass();
  Class* view = objc_getClass("UIView");

  Class* provider = Runtime::allocateClass<ForceTouchDataProvider>("SBUIAppIconForceTouchControllerDataProvider", root);
  class_addMethod(
      provider, SELECTOR("applicationBundleIdentifier"),
      +[](id obj, SEL) { return static_cast<ForceTouchDataProvider*>(obj)->bundleIdentifier; });
  class_addMethod(
      provider, SELECTOR("applicationShortcutItems"), +[](id obj, SEL) {
        return QuickActionItems::stockItems(static_cast<ForceTouchDataProvider*>(obj)->bundleIdentifier);
      });
  Runtime::registerClass(provider);

  Class* controller = Runtime::allocateClass<Object>("SBUIAppIconForceTouchController", root);
  class_addMethod(
      controller, SELECTOR("appIconForceTouchShortcutViewController:activateApplicationShortcutItem:"),
      +[](id, SEL, id viewController, id item) {
        auto* vc = dynamic_cast<ForceTouchViewController*>(viewController);
        if (vc && vc->menu) vc->menu->performStockShortcut(item);
      });
  Runtime::registerClass(controller);

  Class* viewController = Runtime::allocateClass<ForceTouchViewController>("SBUIIconForceTouchViewController", root);
  class_addMethod(
      viewController, SELECTOR("viewDidLayoutSubviews"), +[](id, SEL) {});
  class_addMethod(
      viewController, SELECTOR("dismissAnimated:withCompletionHandler:"),
      +[](id obj, SEL, bool, std::function<void()> completion) {
        auto* vc = static_cast<ForceTouchViewController*>(obj);
        if (vc->menu) vc->menu->close();
        if (completion) completion();
      });
  Runtime::registerClass(viewController);

  Class* action = Runtime::allocateClass<ForceTouchAction>("SBUIAction", root);
  class_addMethod(
      action, SELECTOR("initWithTitle:subtitle:image:badgeView:handler:"),
      +[](id obj, SEL, std::string title, std::string subtitle, ImagePtr image, id,
          std::function<void()> handler) -> id {
        auto* a = static_cast<ForceTouchAction*>(obj);
        a->title = std::move(title);
        a->subtitle = std::move(subtitle);
        a->image = std::move(image);
        a->handler = std::move(handler);
        return obj;
      });
  class_addMethod(
      action, SELECTOR("title"), +[](id obj, SEL) { return static_cast<ForceTouchAction*>(obj)->title; });
  class_addMethod(
      action, SELECTOR("subtitle"), +[](id obj, SEL) { return static_cast<ForceTouchAction*>(obj)->subtitle; });
  Runtime::registerClass(action);

  Class* label = Runtime::allocateClass("SBUIActionViewLabel", view);
  class_addIvar(
      label, "_label", +[](id obj) -> id {
        auto* holder = dynamic_cast<ActionLabelView*>(ViewObject::viewOf(obj));
        return holder ? holder->label().object() : nullptr;
      });
  Runtime::registerClass(label);

  Class* row = Runtime::allocateClass("SBUIActionView", view);
  class_addMethod(
      row, SELECTOR("initWithAction:"), +[](id obj, SEL, id actionObject) -> id {
        auto* a = dynamic_cast<ForceTouchAction*>(actionObject);
        if (!a) return nullptr;
        id made = makeRow(obj, RowStyle::ForceTouch, a->title, a->subtitle, a->image);
        if (QuickActionRowView* r = rowOf(made)) r->setAction(a->handler);
        return made;
      });
  addLabelFields(row);
  Runtime::registerClass(row);
}

}  // namespace

const std::vector<std::string>& QuickActionClasses::allNames() {
  static const std::vector<std::string> names{"_UIContextMenuActionView",
                                              "_UIContextMenuView",
                                              "SBUIAppIconForceTouchControllerDataProvider",
                                              "SBUIAppIconForceTouchController",
                                              "SBUIIconForceTouchViewController",
                                              "SBUIAction",
                                              "SBUIActionViewLabel",
                                              "SBUIActionView"};
  return names;
}

void QuickActionClasses::registerAll(const SystemProfile& profile) {
  if (profile.majorVersion() >= 13) {
    registerContextMenu();
  } else {
    registerForceTouch();
  }
}

}  // namespace platform::springboard
