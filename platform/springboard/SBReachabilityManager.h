#pragma once

#include "platform/runtime/Object.h"

namespace platform {

namespace springboard {
class SystemProfile;
}

// Reachability (the screen sliding down on a phone). The device asks
// canActivateReachability before starting it; the system answers YES.
class SBReachabilityManager final : public Object {
 public:
  // sharedInstance
  static SBReachabilityManager* sharedInstance();
  // canActivateReachability
  bool canActivateReachability() const;

  static void registerClass(const springboard::SystemProfile& profile);
};

}  // namespace platform
