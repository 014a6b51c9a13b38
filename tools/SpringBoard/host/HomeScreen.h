#pragma once

namespace tessra::device {

// Brings the home screen up when the host starts, as the phone does after
// boot: the icon controller is told it appears (viewWillAppear: then
// viewDidAppear:) through the runtime, so that plug-in hooks on those
// methods run and the first frontmost check happens. Stateless.
class HomeScreen {
 public:
  // Tells the home screen's icon controller that it appears.
  static void appear();
};

}  // namespace tessra::device
