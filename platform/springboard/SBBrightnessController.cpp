#include "platform/springboard/SBBrightnessController.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/SharedInstance.h"
#include "platform/springboard/SpringBoardClasses.h"
#include "platform/springboard/SystemProfile.h"

namespace platform {

using springboard::SpringBoardClasses;

SBBrightnessController* SBBrightnessController::sharedBrightnessController() {
  return springboard::sharedInstance<SBBrightnessController, "SBBrightnessController", "sharedBrightnessController">();
}

void SBBrightnessController::_setBrightnessLevel(float level, bool showHUD) {
  msgSend<void, float, bool>(this, SELECTOR("_setBrightnessLevel:showHUD:"), level, showHUD);
}

void SBBrightnessController::registerClass(const springboard::SystemProfile& profile) {
  if (!profile.hasBrightnessController()) return;
  Class* cls = SpringBoardClasses::define<SBBrightnessController>("SBBrightnessController");
  class_addMethod(cls->metaclass(), SELECTOR("sharedBrightnessController"), &SpringBoardClasses::sharedInstanceImp,
                  "@@:");
  class_addMethod(cls, SELECTOR("_setBrightnessLevel:showHUD:"), &SpringBoardClasses::setBrightnessLevelImp, "v@:fB");
}

}  // namespace platform
