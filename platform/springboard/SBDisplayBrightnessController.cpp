#include "platform/springboard/SBDisplayBrightnessController.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/SpringBoardClasses.h"
#include "platform/springboard/SystemProfile.h"

namespace platform {

Ref<SBDisplayBrightnessController> SBDisplayBrightnessController::create() {
  static ClassHandle cls("SBDisplayBrightnessController");
  return dynamic_cast<SBDisplayBrightnessController*>(msgSend<Ref<Object>>(cls.get(), SELECTOR("new")).get());
}

void SBDisplayBrightnessController::_setBrightnessLevel(float level, bool showHUD) {
  msgSend<void, float, bool>(this, SELECTOR("_setBrightnessLevel:showHUD:"), level, showHUD);
}

void SBDisplayBrightnessController::registerClass(const springboard::SystemProfile& profile) {
  if (!profile.hasDisplayBrightnessController()) return;
  Class* cls = springboard::SpringBoardClasses::define<SBDisplayBrightnessController>("SBDisplayBrightnessController");
  class_addMethod(
      cls->metaclass(), SELECTOR("new"), +[](id self, SEL) { return class_createInstance(static_cast<Class*>(self)); },
      "@@:");
  class_addMethod(cls, SELECTOR("_setBrightnessLevel:showHUD:"),
                  &springboard::SpringBoardClasses::setBrightnessLevelImp, "v@:fB");
}

}  // namespace platform
