#pragma once

#include "platform/runtime/Object.h"

namespace platform {

namespace springboard {
class SystemProfile;
}

// The system's dark-mode arbiter, from 13.0; absent below.
class UIUserInterfaceStyleArbiter final : public Object {
 public:
  static constexpr long kStyleLight = 1;
  static constexpr long kStyleDark = 2;

  // sharedInstance (null below 13.0)
  static UIUserInterfaceStyleArbiter* sharedInstance();
  // currentStyle: 1 light, 2 dark.
  long currentStyle() const;
  // toggleCurrentStyle: light becomes dark and dark light.
  void toggleCurrentStyle();

  static void registerClass(const springboard::SystemProfile& profile);
};

}  // namespace platform
