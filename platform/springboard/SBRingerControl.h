#pragma once

#include "platform/runtime/Object.h"

namespace platform {

namespace springboard {
class SystemProfile;
}

// The ringer (mute switch) control of 13.0 and later.
class SBRingerControl final : public Object {
 public:
  // isRingerMuted
  bool isRingerMuted() const;
  // setRingerMuted:
  void setRingerMuted(bool muted);

  static void registerClass(const springboard::SystemProfile& profile);
};

}  // namespace platform
