#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/springboard/DeviceConfiguration.h"
#include "platform/springboard/DeviceState.h"

namespace platform::springboard {

class SimulatedDeviceInfo;

// A hardware button press: its type (102 volume up, 103 volume down, 104 side
// button) and its force (1 pressed, 0 released).
struct ButtonPress {
  long type = 0;
  double force = 1.0;
};

// The simulated device's operations: what the user and the hardware do (open an
// app, go home, lock, Siri, the buttons, the gestures, Control Center...). Each
// changes the device's state (DeviceState) and calls the home screen's methods
// through the runtime, in the order the phone would, so that hooks installed by a
// plug-in run as they would there. One per process, never destroyed.
//
// configure() chooses the system version and device kind: it releases the home
// screen's shared objects, registers the stand-in classes that exist on that
// version in the object runtime and starts from a fresh state with an empty event
// log; tests call it before each case, tools once. Screens, buttons and
// notification centres add files beside this one; what only reads or sets up the
// state includes DeviceState.h. Main thread only.
class DeviceModel {
 public:
  // The one device of this process (created on first use with the default configuration).
  static DeviceModel& shared();

  DeviceModel(const DeviceModel&) = delete;
  DeviceModel& operator=(const DeviceModel&) = delete;

  // Starts a fresh device of the given kind: classes, objects, state and event log.
  void configure(DeviceConfiguration config = {});
  // The state these operations drive (the process's DeviceState).
  DeviceState& state() { return state_; }

  // --- Apps. Each answers whether it changed anything.
  // Opens an installed app (from the home screen or from another app). Not while locked.
  bool openApp(std::string_view bundleIdentifier);
  // Goes back to the home screen (home gesture or button after it was allowed).
  bool goHome();
  // Quits a running app, as swiping it away in the switcher does; the home screen comes
  // back when it was in front.
  bool quitApp(std::string_view bundleIdentifier);
  // Shows or hides the lock screen (cover sheet) over whatever is in front.
  bool lock();
  bool unlock();
  // Shows or hides Siri / Spotlight over the app in front (their process comes to the foreground).
  bool showSiri();
  bool dismissSiri();
  bool showSpotlight();
  bool dismissSpotlight();

  // --- Gestures and buttons; each asks the home screen whether it may happen.
  // The hardware buttons of one event, handed to SpringBoard; answers whether it was handled.
  bool pressButtons(const std::vector<ButtonPress>& presses);
  // The home gesture: goes home when the gesture participant owns it.
  bool swipeHome();
  // Opens Control Center unless the app in front suppresses it.
  bool openControlCenter();
  // Opens the Notification Center (cover sheet gesture) unless the app in front suppresses it.
  bool openNotificationCenter();
  // Closes Control Center and Notification Center.
  void dismissSystemOverlays();
  // Starts Reachability when the reachability manager allows it.
  bool activateReachability();
  // An Activator event named `name`, sent to its listener (only when Activator is installed).
  bool sendActivatorEvent(std::string name);

  // --- Media: an app starts or stops playing.
  void startPlaying(std::string bundleIdentifier);
  void stopPlaying();

 private:
  DeviceModel();
  // Sends `_updateProcess:withState:` to the app with a new process state of `visibility`.
  void updateProcess(std::string_view bundleIdentifier, long visibility, bool running);

  DeviceState& state_;
  std::vector<std::string> registeredClasses_;
  std::unique_ptr<SimulatedDeviceInfo> deviceInfo_;
};

}  // namespace platform::springboard
