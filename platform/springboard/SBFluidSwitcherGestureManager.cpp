#include "platform/springboard/SBFluidSwitcherGestureManager.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/SpringBoardClasses.h"

namespace platform {

id SBFluidSwitcherGestureManager::currentHomeGrabberView() {
  return msgSend<id>(this, SELECTOR("currentHomeGrabberView"));
}

void SBFluidSwitcherGestureManager::registerClass(const springboard::SystemProfile&) {
  Class* cls = springboard::SpringBoardClasses::define<SBFluidSwitcherGestureManager>("SBFluidSwitcherGestureManager");
  class_addMethod(
      cls, SELECTOR("currentHomeGrabberView"),
      +[](id obj, SEL) -> id {
        auto& manager = *static_cast<SBFluidSwitcherGestureManager*>(obj);
        if (!manager.grabber_) manager.grabber_ = class_createInstance(objc_getClass("SBHomeGrabberView"));
        return manager.grabber_;
      },
      "@@:");
}

}  // namespace platform
