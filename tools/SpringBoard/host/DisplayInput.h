#pragma once

#include "platform/bus/DisplayChannel.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/UITouch.h"

namespace platform::springboard {
class DeviceModel;
class DeviceScreen;
}

namespace tessra::device {

// Where a window's input goes in the home-screen host: a finger on the
// screen to the screen's touch entry (which writes what a touch did to the
// device's event log), keys to the device's hardware operations (home, lock
// and unlock, Siri and Spotlight shown and hidden, the volume and side
// buttons pressed and released as hardware presses). Borrows the screen and
// the device model; main thread.
class DisplayInput {
 public:
  DisplayInput(platform::springboard::DeviceScreen& screen, platform::springboard::DeviceModel& model)
      : screen_(screen), model_(model) {}

  // A finger at `point` (screen points).
  void touch(platform::UITouchPhase phase, platform::CGPoint point);
  // A key pressed (`down`) or released.
  void key(platform::DisplayKey key, bool down);

 private:
  platform::springboard::DeviceScreen& screen_;
  platform::springboard::DeviceModel& model_;
};

}  // namespace tessra::device
