#include "platform/springboard/AXSettings.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/DeviceState.h"
#include "platform/springboard/SharedInstance.h"
#include "platform/springboard/SpringBoardClasses.h"

namespace platform {

using springboard::DeviceState;
using springboard::SpringBoardClasses;

namespace {
springboard::SwitchesState& switches() { return DeviceState::shared().switches(); }
}  // namespace

AXSettings* AXSettings::sharedInstance() { return springboard::sharedInstance<AXSettings, "AXSettings">(); }

bool AXSettings::reduceWhitePointEnabled() const { return msgSend<bool>(this, SELECTOR("reduceWhitePointEnabled")); }

void AXSettings::setReduceWhitePointEnabled(bool enabled) {
  msgSend<void, bool>(this, SELECTOR("setReduceWhitePointEnabled:"), enabled);
}

bool AXSettings::assistiveTouchEnabled() const { return msgSend<bool>(this, SELECTOR("assistiveTouchEnabled")); }

void AXSettings::setAssistiveTouchEnabled(bool enabled) {
  msgSend<void, bool>(this, SELECTOR("setAssistiveTouchEnabled:"), enabled);
}

void AXSettings::registerClass(const springboard::SystemProfile&) {
  Class* cls = SpringBoardClasses::define<AXSettings>("AXSettings");
  class_addMethod(cls->metaclass(), SELECTOR("sharedInstance"), &SpringBoardClasses::sharedInstanceImp, "@@:");
  class_addMethod(
      cls, SELECTOR("reduceWhitePointEnabled"), +[](id, SEL) { return switches().reduceWhitePointEnabled(); }, "B@:");
  class_addMethod(
      cls, SELECTOR("setReduceWhitePointEnabled:"),
      +[](id, SEL, bool on) { switches().setReduceWhitePointEnabled(on); }, "v@:B");
  class_addMethod(
      cls, SELECTOR("assistiveTouchEnabled"), +[](id, SEL) { return switches().assistiveTouchEnabled(); }, "B@:");
  class_addMethod(
      cls, SELECTOR("setAssistiveTouchEnabled:"), +[](id, SEL, bool on) { switches().setAssistiveTouchEnabled(on); },
      "v@:B");
}

}  // namespace platform
