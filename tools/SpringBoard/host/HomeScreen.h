#pragma once

namespace platform::springboard {
class DeviceModel;
}

namespace tessra::device {

// Brings the home screen up when the host starts, as the phone does after
// boot: the icon controller is told it appears (viewWillAppear: then
// viewDidAppear:) through the runtime, so that plug-in hooks on those
// methods run and the first frontmost check happens. Stateless.
class HomeScreen {
 public:
  static void appear(platform::springboard::DeviceModel& model);
};

}  // namespace tessra::device
