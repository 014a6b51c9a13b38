#include "platform/springboard/ImpactFeedbackGenerator.h"

#include "platform/runtime/Associations.h"
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/DeviceState.h"
#include "platform/springboard/SpringBoardClasses.h"

namespace platform::springboard {

namespace {
// The key of the style kept with each generator.
const char kStyleKey = 0;
}  // namespace

Ref<Object> ImpactFeedbackGenerator::create(long style) {
  static ClassHandle cls("UIImpactFeedbackGenerator");
  Ref<Object> generator = class_createInstance(cls.get());
  if (generator) msgSend<id, long>(generator, SELECTOR("initWithStyle:"), style);
  return generator;
}

void ImpactFeedbackGenerator::impactOccurred(id generator) { msgSend(generator, SELECTOR("impactOccurred")); }

void ImpactFeedbackGenerator::registerClass(const SystemProfile&) {
  Class* cls = SpringBoardClasses::ensure("UIImpactFeedbackGenerator");
  class_addMethod(
      cls, SELECTOR("initWithStyle:"),
      +[](id self, SEL, long style) -> id {
        setAssociatedValue(self, &kStyleKey, std::make_shared<long>(style));
        return self;
      },
      "@@:q");
  class_addMethod(
      cls, SELECTOR("impactOccurred"),
      +[](id self, SEL) {
        std::shared_ptr<long> style = getAssociatedValue<long>(self, &kStyleKey);
        DeviceState::shared().haptics().impactOccurred(style ? *style : 0);
      },
      "v@:");
}

}  // namespace platform::springboard
