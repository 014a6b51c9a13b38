#include "platform/springboard/PSBrightnessSettingsDetail.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/DeviceState.h"
#include "platform/springboard/SpringBoardClasses.h"

namespace platform {

float PSBrightnessSettingsDetail::currentValue() {
  static ClassHandle cls("PSBrightnessSettingsDetail");
  return msgSend<float>(cls.get(), SELECTOR("currentValue"));
}

void PSBrightnessSettingsDetail::registerClass(const springboard::SystemProfile&) {
  Class* cls = springboard::SpringBoardClasses::define<PSBrightnessSettingsDetail>("PSBrightnessSettingsDetail");
  class_addMethod(
      cls->metaclass(), SELECTOR("currentValue"),
      +[](id, SEL) { return static_cast<float>(springboard::DeviceState::shared().display().brightness()); }, "f@:");
}

}  // namespace platform
