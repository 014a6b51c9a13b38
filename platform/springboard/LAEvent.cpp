#include "platform/springboard/LAEvent.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/SpringBoardClasses.h"
#include "platform/springboard/SystemProfile.h"

namespace platform {

Ref<LAEvent> LAEvent::create(std::string name) {
  static ClassHandle cls("LAEvent");
  Ref<LAEvent> event = dynamic_cast<LAEvent*>(class_createInstance(cls.get()).get());
  if (event) event->name_ = std::move(name);
  return event;
}

void LAEvent::registerClass(const springboard::SystemProfile& profile) {
  if (!profile.hasActivator()) return;
  Class* cls = springboard::SpringBoardClasses::define<LAEvent>("LAEvent");
  class_addMethod(
      cls, SELECTOR("name"), +[](id obj, SEL) { return static_cast<LAEvent*>(obj)->name_; }, "@@:");
}

}  // namespace platform
