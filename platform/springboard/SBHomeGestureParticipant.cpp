#include "platform/springboard/SBHomeGestureParticipant.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/SharedObjects.h"
#include "platform/springboard/SpringBoardClasses.h"

namespace platform {

SBHomeGestureParticipant* SBHomeGestureParticipant::current() {
  return dynamic_cast<SBHomeGestureParticipant*>(springboard::SharedObjects::shared().get("SBHomeGestureParticipant"));
}

bool SBHomeGestureParticipant::ownsHomeGesture() const { return msgSend<bool>(this, SELECTOR("ownsHomeGesture")); }

void SBHomeGestureParticipant::registerClass(const springboard::SystemProfile&) {
  Class* cls = springboard::SpringBoardClasses::define<SBHomeGestureParticipant>("SBHomeGestureParticipant");
  class_addMethod(
      cls, SELECTOR("ownsHomeGesture"), +[](id, SEL) { return true; }, "B@:");
}

}  // namespace platform
