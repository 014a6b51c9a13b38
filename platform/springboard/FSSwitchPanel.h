#pragma once

#include <string>

#include "platform/runtime/Object.h"
#include "platform/springboard/FSSwitchState.h"

namespace platform {

namespace springboard {
class SystemProfile;
}

// The Flipswitch library's panel: system switches by full identifier
// ("com.a3tweaks.switch.wifi"). An unknown identifier reads indeterminate
// and cannot be set.
class FSSwitchPanel final : public Object {
 public:
  // sharedPanel
  static FSSwitchPanel* sharedPanel();
  // stateForSwitchIdentifier:
  FSSwitchState stateForSwitchIdentifier(std::string identifier) const;
  // setState:forSwitchIdentifier:
  void setState(FSSwitchState state, std::string identifier);

  static void registerClass(const springboard::SystemProfile& profile);
};

}  // namespace platform
