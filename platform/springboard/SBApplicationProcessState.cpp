#include "platform/springboard/SBApplicationProcessState.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/SpringBoardClasses.h"

namespace platform {

namespace {
SBApplicationProcessState& self(id obj) { return *static_cast<SBApplicationProcessState*>(obj); }
}  // namespace

Ref<SBApplicationProcessState> SBApplicationProcessState::create(long visibility, bool running) {
  static ClassHandle cls("SBApplicationProcessState");
  Ref<SBApplicationProcessState> state =
      dynamic_cast<SBApplicationProcessState*>(class_createInstance(cls.get()).get());
  if (state) {
    state->visibility_ = visibility;
    state->running_ = running;
  }
  return state;
}

long SBApplicationProcessState::visibility() const { return msgSend<long>(this, SELECTOR("visibility")); }

bool SBApplicationProcessState::isRunning() const { return msgSend<bool>(this, SELECTOR("isRunning")); }

void SBApplicationProcessState::registerClass(const springboard::SystemProfile&) {
  Class* cls = springboard::SpringBoardClasses::define<SBApplicationProcessState>("SBApplicationProcessState");
  class_addMethod(
      cls, SELECTOR("visibility"), +[](id obj, SEL) { return self(obj).visibility_; }, "q@:");
  class_addMethod(
      cls, SELECTOR("isRunning"), +[](id obj, SEL) { return self(obj).running_; }, "B@:");
}

}  // namespace platform
