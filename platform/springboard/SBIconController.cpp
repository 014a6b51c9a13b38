#include "platform/springboard/SBIconController.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/SharedInstance.h"
#include "platform/springboard/SpringBoard.h"
#include "platform/springboard/SpringBoardClasses.h"

namespace platform {

using springboard::SpringBoardClasses;

namespace {

SBIconController& icons(id obj) { return *static_cast<SBIconController*>(obj); }

}  // namespace

SBIconController* SBIconController::sharedInstance() {
  return springboard::sharedInstance<SBIconController, "SBIconController">();
}

void SBIconController::viewWillAppear(bool animated) {
  msgSend<void, bool>(this, SELECTOR("viewWillAppear:"), animated);
}

void SBIconController::viewDidAppear(bool animated) { msgSend<void, bool>(this, SELECTOR("viewDidAppear:"), animated); }

void SBIconController::viewWillDisappear(bool animated) {
  msgSend<void, bool>(this, SELECTOR("viewWillDisappear:"), animated);
}

void SBIconController::viewDidDisappear(bool animated) {
  msgSend<void, bool>(this, SELECTOR("viewDidDisappear:"), animated);
}

id SBIconController::parentViewController() const { return msgSend<id>(this, SELECTOR("parentViewController")); }

void SBIconController::setParentViewController(id parent) {
  msgSend<void, id>(this, SELECTOR("setParentViewController:"), parent);
}

id SBIconController::view() const { return msgSend<id>(this, SELECTOR("view")); }

void SBIconController::setView(id view) { msgSend<void, id>(this, SELECTOR("setView:"), view); }

void SBIconController::registerClass(const springboard::SystemProfile&) {
  Class* cls = SpringBoardClasses::define<SBIconController>("SBIconController");
  class_addMethod(cls->metaclass(), SELECTOR("sharedInstance"), &SpringBoardClasses::sharedInstanceImp, "@@:");
  class_addMethod(
      cls, SELECTOR("viewWillAppear:"),
      +[](id obj, SEL, bool) {
        icons(obj).visible_ = true;
        // The home screen coming back makes SpringBoard reconsider which app is in front.
        if (SpringBoard* springBoard = SpringBoard::sharedApplication())
          springBoard->_accessibilityFrontMostApplication();
      },
      "v@:B");
  class_addMethod(
      cls, SELECTOR("viewDidAppear:"), +[](id, SEL, bool) {}, "v@:B");
  class_addMethod(
      cls, SELECTOR("viewWillDisappear:"), +[](id obj, SEL, bool) { icons(obj).visible_ = false; }, "v@:B");
  class_addMethod(
      cls, SELECTOR("viewDidDisappear:"), +[](id, SEL, bool) {}, "v@:B");
  class_addMethod(
      cls, SELECTOR("parentViewController"), +[](id obj, SEL) -> id { return icons(obj).parent_; }, "@@:");
  class_addMethod(
      cls, SELECTOR("setParentViewController:"), +[](id obj, SEL, id parent) { icons(obj).parent_ = parent; }, "v@:@");
  class_addMethod(
      cls, SELECTOR("view"), +[](id obj, SEL) -> id { return icons(obj).view_; }, "@@:");
  class_addMethod(
      cls, SELECTOR("setView:"), +[](id obj, SEL, id view) { icons(obj).view_ = view; }, "v@:@");
}

}  // namespace platform
