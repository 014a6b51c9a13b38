#include "platform/springboard/UIUserInterfaceStyleArbiter.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/DeviceState.h"
#include "platform/springboard/SharedInstance.h"
#include "platform/springboard/SpringBoardClasses.h"
#include "platform/springboard/SystemProfile.h"

namespace platform {

using springboard::DeviceState;
using springboard::SpringBoardClasses;

UIUserInterfaceStyleArbiter* UIUserInterfaceStyleArbiter::sharedInstance() {
  return springboard::sharedInstance<UIUserInterfaceStyleArbiter, "UIUserInterfaceStyleArbiter">();
}

long UIUserInterfaceStyleArbiter::currentStyle() const { return msgSend<long>(this, SELECTOR("currentStyle")); }

void UIUserInterfaceStyleArbiter::toggleCurrentStyle() { msgSend(this, SELECTOR("toggleCurrentStyle")); }

void UIUserInterfaceStyleArbiter::registerClass(const springboard::SystemProfile& profile) {
  if (!profile.hasInterfaceStyleArbiter()) return;
  Class* cls = SpringBoardClasses::define<UIUserInterfaceStyleArbiter>("UIUserInterfaceStyleArbiter");
  class_addMethod(cls->metaclass(), SELECTOR("sharedInstance"), &SpringBoardClasses::sharedInstanceImp, "@@:");
  class_addMethod(
      cls, SELECTOR("currentStyle"), +[](id, SEL) { return DeviceState::shared().switches().interfaceStyle(); }, "q@:");
  class_addMethod(
      cls, SELECTOR("toggleCurrentStyle"),
      +[](id, SEL) {
        auto& switches = DeviceState::shared().switches();
        switches.setInterfaceStyle(switches.interfaceStyle() == kStyleDark ? kStyleLight : kStyleDark);
      },
      "v@:");
}

}  // namespace platform
