#pragma once

#include <optional>
#include <string_view>

#include "platform/springboard/FSSwitchState.h"

namespace platform::springboard {
class DeviceModel;
}

namespace tessra::device {

// Reads and sets the device's system switches by toggle type (0 to 17), the
// way a person does it from Control Center or the Settings app: straight on
// the device's state, without going through the home screen's methods that a
// plug-in hooks. Most switches are Flipswitch switches; Bluetooth, the ringer,
// dark mode and the accessibility switches have their own state. Borrowed
// model; main thread only.
class DeviceSwitchAccess {
 public:
  explicit DeviceSwitchAccess(platform::springboard::DeviceModel& model) : model_(model) {}

  // The switch's state; nothing for a type that is not a switch.
  std::optional<platform::FSSwitchState> state(int type) const;
  // Sets the switch; false (nothing changed) for a type that is not a switch, or for an
  // indeterminate state on a switch that has only on and off.
  bool setState(int type, platform::FSSwitchState state);
  // Whether the switch can be indeterminate (Flipswitch switches only).
  static bool hasIndeterminateState(int type);
  // The Flipswitch identifier of a switch ("wifi", "rotation-lock"), empty for the others.
  static std::string_view flipswitchIdentifier(int type);

 private:
  platform::springboard::DeviceModel& model_;
};

}  // namespace tessra::device
