#pragma once

#include "platform/runtime/Object.h"

namespace platform {

namespace springboard {
class SystemProfile;
}

// The Settings brightness page's helper; only its class method is used.
class PSBrightnessSettingsDetail final : public Object {
 public:
  // currentValue: the screen brightness (0.0 to 1.0).
  static float currentValue();

  static void registerClass(const springboard::SystemProfile& profile);
};

}  // namespace platform
