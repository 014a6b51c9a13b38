#pragma once

#include "platform/runtime/Object.h"

namespace platform {

namespace springboard {
class SystemProfile;
}

// The shared brightness controller below 13.0; absent from 13.0.
class SBBrightnessController final : public Object {
 public:
  // sharedBrightnessController (null from 13.0)
  static SBBrightnessController* sharedBrightnessController();
  // _setBrightnessLevel:showHUD:
  void _setBrightnessLevel(float level, bool showHUD);

  static void registerClass(const springboard::SystemProfile& profile);
};

}  // namespace platform
