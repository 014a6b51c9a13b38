#include "platform/springboard/HardwarePressesEvent.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/SpringBoardClasses.h"

namespace platform::springboard {

namespace {
// Our own class even when the UI layer registered "UIPressesEvent": only messages reach it.
Class* eventClass = nullptr;
}  // namespace

Ref<HardwarePressesEvent> HardwarePressesEvent::create(ObjectArray presses) {
  Ref<HardwarePressesEvent> event = dynamic_cast<HardwarePressesEvent*>(class_createInstance(eventClass).get());
  if (event) event->presses_ = std::move(presses);
  return event;
}

void HardwarePressesEvent::registerClass(const SystemProfile&) {
  if (!eventClass) {
    eventClass = Runtime::allocateClass<HardwarePressesEvent>("UIPressesEvent", Runtime::rootClass());
    class_addMethod(
        eventClass, SELECTOR("allPresses"),
        +[](id obj, SEL) { return static_cast<HardwarePressesEvent*>(obj)->presses_; }, "@@:");
  }
  if (!Runtime::lookUpClass("UIPressesEvent")) SpringBoardClasses::add(eventClass);
}

}  // namespace platform::springboard
