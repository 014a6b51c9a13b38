#pragma once

#include "platform/runtime/Object.h"

namespace platform::springboard {

class SystemProfile;

// An event of hardware button presses (UIPressesEvent) as SpringBoard's
// _handlePhysicalButtonEvent: receives it; allPresses lists them in order.
// Registered as "UIPressesEvent" unless that name is taken.
class HardwarePressesEvent final : public Object {
 public:
  static Ref<HardwarePressesEvent> create(ObjectArray presses);
  // allPresses
  const ObjectArray& allPresses() const { return presses_; }

  static void registerClass(const SystemProfile& profile);

 private:
  ObjectArray presses_;
};

}  // namespace platform::springboard
