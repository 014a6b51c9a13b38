#include "platform/springboard/MainScreen.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/DeviceState.h"
#include "platform/springboard/SharedInstance.h"
#include "platform/springboard/SharedObjects.h"
#include "platform/springboard/SpringBoardClasses.h"

namespace platform::springboard {

id MainScreen::mainScreen() { return springboard::sharedInstance<Object, "UIScreen", "mainScreen">(); }

double MainScreen::brightness(id screen) { return msgSend<double>(screen, SELECTOR("brightness")); }

void MainScreen::setBrightness(id screen, double brightness) {
  msgSend<void, double>(screen, SELECTOR("setBrightness:"), brightness);
}

void MainScreen::registerClass(const SystemProfile&) {
  Class* cls = SpringBoardClasses::ensure("UIScreen");
  class_addMethod(
      cls->metaclass(), SELECTOR("mainScreen"), +[](id, SEL) -> id { return SharedObjects::shared().get("UIScreen"); });
  class_addMethod(
      cls, SELECTOR("brightness"), +[](id, SEL) { return DeviceState::shared().display().brightness(); }, "d@:");
  class_addMethod(
      cls, SELECTOR("setBrightness:"),
      +[](id, SEL, double brightness) { DeviceState::shared().display().setBrightness(brightness, false); }, "v@:d");
}

}  // namespace platform::springboard
