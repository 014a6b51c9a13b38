#include "platform/springboard/LAActivator.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/DeviceModel.h"
#include "platform/springboard/LAEvent.h"
#include "platform/springboard/SpringBoardClasses.h"
#include "platform/springboard/SystemProfile.h"

namespace platform {

using springboard::DeviceModel;
using springboard::SpringBoardClasses;

LAActivator* LAActivator::sharedInstance() {
  static ClassHandle cls(kClassName);
  return dynamic_cast<LAActivator*>(msgSend<id>(cls.get(), SELECTOR("sharedInstance")));
}

void LAActivator::sendEventToListener(id event) { msgSend<void, id>(this, SELECTOR("sendEventToListener:"), event); }

void LAActivator::registerClass(const springboard::SystemProfile& profile) {
  if (!profile.hasActivator()) return;
  Class* cls = SpringBoardClasses::define<LAActivator>(kClassName);
  class_addMethod(cls->metaclass(), SELECTOR("sharedInstance"), &SpringBoardClasses::sharedInstanceImp, "@@:");
  class_addMethod(
      cls, SELECTOR("sendEventToListener:"),
      +[](id, SEL, id event) {
        auto* e = dynamic_cast<LAEvent*>(event);
        DeviceModel::shared().eventLog().record("activator listener received " + (e ? e->name() : std::string("?")));
      },
      "v@:@");
}

}  // namespace platform
