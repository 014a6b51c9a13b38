#pragma once

#include "platform/runtime/Object.h"

namespace platform {

namespace springboard {
class SystemProfile;
}

// The brightness controller of 13.0 and later, made fresh with new each time
// it is used; absent below.
class SBDisplayBrightnessController final : public Object {
 public:
  // new (null below 13.0)
  static Ref<SBDisplayBrightnessController> create();
  // _setBrightnessLevel:showHUD:
  void _setBrightnessLevel(float level, bool showHUD);

  static void registerClass(const springboard::SystemProfile& profile);
};

}  // namespace platform
