#include "platform/springboard/LAActivator.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/DeviceState.h"
#include "platform/springboard/LAEvent.h"
#include "platform/springboard/SharedInstance.h"
#include "platform/springboard/SpringBoardClasses.h"
#include "platform/springboard/SystemProfile.h"

namespace platform {

using springboard::DeviceState;
using springboard::SpringBoardClasses;

LAActivator* LAActivator::sharedInstance() { return springboard::sharedInstance<LAActivator, "_LAActivator">(); }

void LAActivator::sendEventToListener(id event) { msgSend<void, id>(this, SELECTOR("sendEventToListener:"), event); }

void LAActivator::registerClass(const springboard::SystemProfile& profile) {
  if (!profile.hasActivator()) return;
  Class* cls = SpringBoardClasses::define<LAActivator>(kClassName);
  class_addMethod(cls->metaclass(), SELECTOR("sharedInstance"), &SpringBoardClasses::sharedInstanceImp, "@@:");
  class_addMethod(
      cls, SELECTOR("sendEventToListener:"),
      +[](id, SEL, id event) {
        auto* e = dynamic_cast<LAEvent*>(event);
        DeviceState::shared().eventLog().record("activator listener received " + (e ? e->name() : std::string("?")));
      },
      "v@:@");
}

}  // namespace platform
