#include "platform/springboard/screen/ScreenClasses.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/SystemProfile.h"
#include "platform/springboard/screen/IconView.h"
#include "platform/springboard/screen/QuickActionClasses.h"
#include "platform/springboard/screen/ScreenLabel.h"
#include "platform/springboard/screen/ScreenView.h"
#include "platform/springboard/screen/ShortcutItem.h"
#include "platform/springboard/screen/ViewControllerObject.h"
#include "platform/springboard/screen/ViewObject.h"
#include "platform/ui/Animator.h"
#include "platform/ui/UIViewController.h"

namespace platform::springboard {

namespace {

UIView* view(id obj) { return ViewObject::viewOf(obj); }

// "UIView": what every screen view's object answers.
void registerViewBase() {
  Class* cls = Runtime::allocateClass<ViewObject>("UIView", Runtime::rootClass());
  class_addMethod(
      cls, SELECTOR("layoutSubviews"), +[](id obj, SEL) {
        if (auto* own = dynamic_cast<RuntimeLayout*>(view(obj))) own->layoutOwnSubviews();
      });
  class_addMethod(
      cls, SELECTOR("setNeedsLayout"), +[](id obj, SEL) {
        if (UIView* v = view(obj)) v->setNeedsLayout();
      });
  class_addMethod(
      cls, SELECTOR("layoutIfNeeded"), +[](id obj, SEL) {
        if (UIView* v = view(obj)) v->layoutIfNeeded();
      });
  class_addMethod(
      cls, SELECTOR("frame"), +[](id obj, SEL) { return view(obj) ? view(obj)->frame() : CGRectZero; });
  class_addMethod(
      cls, SELECTOR("setFrame:"), +[](id obj, SEL, CGRect frame) {
        if (UIView* v = view(obj)) v->setFrame(frame);
      });
  class_addMethod(
      cls, SELECTOR("bounds"), +[](id obj, SEL) { return view(obj) ? view(obj)->bounds() : CGRectZero; });
  class_addMethod(
      cls, SELECTOR("alpha"), +[](id obj, SEL) { return view(obj) ? view(obj)->alpha() : 0.0; });
  class_addMethod(
      cls, SELECTOR("setAlpha:"), +[](id obj, SEL, double alpha) {
        if (UIView* v = view(obj)) v->setAlpha(alpha);
      });
  class_addMethod(
      cls, SELECTOR("isHidden"), +[](id obj, SEL) { return view(obj) && view(obj)->isHidden(); });
  class_addMethod(
      cls, SELECTOR("setHidden:"), +[](id obj, SEL, bool hidden) {
        if (UIView* v = view(obj)) v->setHidden(hidden);
      });
  class_addMethod(
      cls, SELECTOR("superview"), +[](id obj, SEL) -> id {
        UIView* v = view(obj);
        for (UIView* s = v ? v->superview() : nullptr; s; s = s->superview()) {
          if (auto* screen = dynamic_cast<ScreenView*>(s)) return screen->object();
        }
        return nullptr;
      });
  // The duration of the animation block in force (0 outside one), as SpringBoard's views read it.
  class_addMethod(
      cls->metaclass(), SELECTOR("inheritedAnimationDuration"), +[](id, SEL) {
        const Animator::BlockContext* context = Animator::shared().currentContext();
        return context ? context->duration : 0.0;
      });
  Runtime::registerClass(cls);
}

void registerLabel() {
  Class* cls = Runtime::allocateClass("UILabel", objc_getClass("UIView"));
  class_addMethod(
      cls, SELECTOR("text"), +[](id obj, SEL) {
        auto* label = dynamic_cast<UILabel*>(view(obj));
        return label ? label->text() : std::string();
      });
  class_addMethod(
      cls, SELECTOR("setText:"), +[](id obj, SEL, std::string text) {
        if (auto* label = dynamic_cast<UILabel*>(view(obj))) label->setText(std::move(text));
      });
  Runtime::registerClass(cls);
}

// "UIViewController" and the home screen's controller under it.
void registerViewControllers() {
  Class* cls = Runtime::allocateClass<ViewControllerObject>("UIViewController", Runtime::rootClass());
  class_addMethod(
      cls, SELECTOR("view"), +[](id obj, SEL) -> id {
        UIViewController* controller = ViewControllerObject::controllerOf(obj);
        auto* screen = controller ? dynamic_cast<ScreenView*>(controller->view()) : nullptr;
        return screen ? screen->object() : nullptr;
      });
  class_addMethod(
      cls, SELECTOR("isViewLoaded"), +[](id obj, SEL) {
        UIViewController* controller = ViewControllerObject::controllerOf(obj);
        return controller && controller->isViewLoaded();
      });
  class_addMethod(
      cls, SELECTOR("parentViewController"), +[](id obj, SEL) -> id {
        UIViewController* controller = ViewControllerObject::controllerOf(obj);
        return controller ? ViewControllerObject::objectOf(controller->parentViewController()) : nullptr;
      });
  class_addMethod(
      cls, SELECTOR("presentingViewController"), +[](id obj, SEL) -> id {
        UIViewController* controller = ViewControllerObject::controllerOf(obj);
        return controller ? ViewControllerObject::objectOf(controller->presentingViewController().get()) : nullptr;
      });
  Runtime::registerClass(cls);
  Runtime::registerClass(Runtime::allocateClass(kHomeScreenControllerClass, cls));
}

}  // namespace

const std::vector<std::string>& ScreenClasses::allNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all{"UIView",       "UILabel",          "SBSApplicationShortcutItem", "UIStatusBar",
                                 "_UIStatusBar", "UIViewController", kHomeScreenControllerClass};
    for (const char* name : kPlainViewClasses) all.emplace_back(name);
    for (const std::string& name : QuickActionClasses::allNames()) all.push_back(name);
    all.emplace_back("SBIconView");
    return all;
  }();
  return names;
}

void ScreenClasses::registerAll(const SystemProfile& profile) {
  // The floating dock is also one of the device's classes: on a tablet it becomes a screen view here.
  for (const std::string& name : allNames()) Runtime::unregisterClass(name);
  registerViewBase();
  registerLabel();
  registerViewControllers();
  ShortcutItem::registerClass();
  for (const char* name : kPlainViewClasses) {
    if (std::string_view(name) == "SBFloatingDockView" && !profile.hasFloatingDock()) continue;
    Runtime::registerClass(Runtime::allocateClass(name, objc_getClass("UIView")));
  }
  // The status bars: both classes exist from 13.0, the home screen shows the one of its version.
  Runtime::registerClass(Runtime::allocateClass("UIStatusBar", objc_getClass("UIView")));
  if (profile.majorVersion() >= 13)
    Runtime::registerClass(Runtime::allocateClass("_UIStatusBar", objc_getClass("UIView")));
  IconView::registerClass(profile);
  QuickActionClasses::registerAll(profile);
}

}  // namespace platform::springboard
