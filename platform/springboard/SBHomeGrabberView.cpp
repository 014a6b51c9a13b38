#include "platform/springboard/SBHomeGrabberView.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/DeviceState.h"
#include "platform/springboard/SpringBoardClasses.h"

namespace platform {

using springboard::DeviceState;

double SBHomeGrabberView::alpha() const { return msgSend<double>(this, SELECTOR("alpha")); }

void SBHomeGrabberView::setAlpha(double alpha) { msgSend<void, double>(this, SELECTOR("setAlpha:"), alpha); }

void SBHomeGrabberView::registerClass(const springboard::SystemProfile&) {
  Class* cls = springboard::SpringBoardClasses::define<SBHomeGrabberView>("SBHomeGrabberView");
  class_addMethod(
      cls, SELECTOR("alpha"), +[](id, SEL) { return DeviceState::shared().display().homeGrabberAlpha(); }, "d@:");
  class_addMethod(
      cls, SELECTOR("setAlpha:"),
      +[](id, SEL, double alpha) {
        // Inside an animation block of the UI layer the change takes the block's duration.
        double duration = msgSend<double>(objc_getClass("UIView"), SELECTOR("inheritedAnimationDuration"));
        DeviceState::shared().display().setHomeGrabberAlpha(alpha, duration);
      },
      "v@:d");
}

}  // namespace platform
