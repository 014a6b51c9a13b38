#include "platform/springboard/CurrentDevice.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/DeviceState.h"
#include "platform/springboard/SharedInstance.h"
#include "platform/springboard/SharedObjects.h"
#include "platform/springboard/SpringBoardClasses.h"

namespace platform::springboard {

id CurrentDevice::currentDevice() { return springboard::sharedInstance<Object, "UIDevice", "currentDevice">(); }

std::string CurrentDevice::systemVersion(id device) { return msgSend<std::string>(device, SELECTOR("systemVersion")); }

long CurrentDevice::_feedbackSupportLevel(id device) {
  return msgSend<long>(device, SELECTOR("_feedbackSupportLevel"));
}

void CurrentDevice::registerClass(const SystemProfile&) {
  Class* cls = SpringBoardClasses::ensure("UIDevice");
  class_addMethod(
      cls->metaclass(), SELECTOR("currentDevice"),
      +[](id, SEL) -> id { return SharedObjects::shared().get("UIDevice"); });
  class_addMethod(
      cls, SELECTOR("systemVersion"), +[](id, SEL) { return DeviceState::shared().configuration().systemVersion; },
      "@@:");
  class_addMethod(
      cls, SELECTOR("_feedbackSupportLevel"),
      +[](id, SEL) { return DeviceState::shared().haptics().feedbackSupportLevel(); }, "q@:");
  class_addMethod(
      cls, SELECTOR("orientation"), +[](id, SEL) { return DeviceState::shared().display().orientation(); }, "q@:");
}

}  // namespace platform::springboard
