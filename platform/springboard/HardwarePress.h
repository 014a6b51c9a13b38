#pragma once

#include "platform/runtime/Object.h"

namespace platform::springboard {

class SystemProfile;

// One press of a hardware button inside a presses event (UIPress): its type
// (102 volume up, 103 volume down, 104 side button) and its force (1 pressed,
// 0 released). Its class is registered as "UIPress" unless that name is
// taken; callers only send it messages.
class HardwarePress final : public Object {
 public:
  static constexpr long kTypeVolumeUp = 102;
  static constexpr long kTypeVolumeDown = 103;
  static constexpr long kTypeSideButton = 104;

  static Ref<HardwarePress> create(long type, double force);
  // type
  long type() const { return type_; }
  // force
  double force() const { return force_; }

  static void registerClass(const SystemProfile& profile);

 private:
  long type_ = 0;
  double force_ = 0;
};

}  // namespace platform::springboard
