#include "platform/springboard/FSSwitchPanel.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/DeviceState.h"
#include "platform/springboard/SharedInstance.h"
#include "platform/springboard/SpringBoardClasses.h"

namespace platform {

using springboard::DeviceState;
using springboard::SpringBoardClasses;

FSSwitchPanel* FSSwitchPanel::sharedPanel() {
  return springboard::sharedInstance<FSSwitchPanel, "FSSwitchPanel", "sharedPanel">();
}

FSSwitchState FSSwitchPanel::stateForSwitchIdentifier(std::string identifier) const {
  return msgSend<FSSwitchState, std::string>(this, SELECTOR("stateForSwitchIdentifier:"), std::move(identifier));
}

void FSSwitchPanel::setState(FSSwitchState state, std::string identifier) {
  msgSend<void, FSSwitchState, std::string>(this, SELECTOR("setState:forSwitchIdentifier:"), state,
                                            std::move(identifier));
}

void FSSwitchPanel::registerClass(const springboard::SystemProfile&) {
  Class* cls = SpringBoardClasses::define<FSSwitchPanel>("FSSwitchPanel");
  class_addMethod(cls->metaclass(), SELECTOR("sharedPanel"), &SpringBoardClasses::sharedInstanceImp, "@@:");
  class_addMethod(
      cls, SELECTOR("stateForSwitchIdentifier:"),
      +[](id, SEL, std::string identifier) { return DeviceState::shared().switches().state(identifier); }, "q@:@");
  class_addMethod(
      cls, SELECTOR("setState:forSwitchIdentifier:"),
      +[](id, SEL, FSSwitchState state, std::string identifier) {
        DeviceState::shared().switches().setState(identifier, state);
      },
      "v@:q@");
}

}  // namespace platform
