#pragma once

#include "platform/bus/DisplayChannel.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/UITouch.h"

namespace platform::springboard {
class DeviceModel;
}

namespace tessra::device {

// Where a window's input goes in the home-screen host: a finger on the
// screen to the screen's touch entry, keys to the device's hardware
// operations (home, lock and unlock, Siri and Spotlight shown and hidden, the
// volume and side buttons pressed and released as hardware presses).
// Touches that begin or end are written to the device's event log, so a
// trace shows them. Borrows the device model; main thread.
class DisplayInput {
 public:
  explicit DisplayInput(platform::springboard::DeviceModel& model) : model_(model) {}

  // A finger at `point` (screen points).
  void touch(platform::UITouchPhase phase, platform::CGPoint point);
  // A key pressed (`down`) or released.
  void key(platform::DisplayKey key, bool down);

 private:
  platform::springboard::DeviceModel& model_;
};

}  // namespace tessra::device
