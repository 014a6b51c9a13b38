#include "platform/springboard/HardwarePress.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/SpringBoardClasses.h"

namespace platform::springboard {

namespace {
// Our own class even when the UI layer registered "UIPress": only messages reach it.
Class* pressClass = nullptr;
}  // namespace

Ref<HardwarePress> HardwarePress::create(long type, double force) {
  Ref<HardwarePress> press = dynamic_cast<HardwarePress*>(class_createInstance(pressClass).get());
  if (press) {
    press->type_ = type;
    press->force_ = force;
  }
  return press;
}

void HardwarePress::registerClass(const SystemProfile&) {
  if (!pressClass) {
    pressClass = Runtime::allocateClass<HardwarePress>("UIPress", Runtime::rootClass());
    class_addMethod(
        pressClass, SELECTOR("type"), +[](id obj, SEL) { return static_cast<HardwarePress*>(obj)->type_; }, "q@:");
    class_addMethod(
        pressClass, SELECTOR("force"), +[](id obj, SEL) { return static_cast<HardwarePress*>(obj)->force_; }, "d@:");
  }
  if (!Runtime::lookUpClass("UIPress")) SpringBoardClasses::add(pressClass);
}

}  // namespace platform::springboard
