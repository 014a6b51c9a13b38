#pragma once

#include <array>
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/runtime/Object.h"
#include "platform/springboard/AppPreferencesState.h"
#include "platform/springboard/AppsState.h"
#include "platform/springboard/AudioState.h"
#include "platform/springboard/BatteryState.h"
#include "platform/springboard/DeviceConfiguration.h"
#include "platform/springboard/DisplayState.h"
#include "platform/springboard/EventLog.h"
#include "platform/springboard/HapticsState.h"
#include "platform/springboard/SwitchesState.h"
#include "platform/springboard/SystemProfile.h"

namespace platform::springboard {

class SimulatedDeviceInfo;

// A hardware button press: its type (102 volume up, 103 volume down, 104 side
// button) and its force (1 pressed, 0 released).
struct ButtonPress {
  long type = 0;
  double force = 1.0;
};

// The simulated device: one process-wide model that holds all of its state
// and its home screen. configure() chooses the system version and device kind,
// registers the home-screen classes that exist on it in the object runtime,
// and starts from a fresh state with an empty event log; tests call it before
// each case, tools once. The shared objects of the home screen (the media
// controller, the switcher, SpringBoard's application object...) are created
// on first use and live until the next configure().
//
// The device operations (openApp, goHome, lock...) are what the user and the
// hardware do. They change the state and call the home screen's methods
// through the runtime, in the order the phone would, so that hooks installed
// by a plug-in run as they would there. The state parts are readable and
// settable directly for setting up a situation. Main thread only.
class DeviceModel {
 public:
  // The one device of this process (created on first use with the default configuration).
  static DeviceModel& shared();

  // Starts a fresh device of the given kind: classes, objects, state and event log.
  void configure(DeviceConfiguration config = {});
  const DeviceConfiguration& configuration() const { return config_; }
  const SystemProfile& profile() const { return *profile_; }

  EventLog& eventLog() { return log_; }
  SwitchesState& switches() { return switches_; }
  AppPreferencesState& appPreferences() { return appPreferences_; }
  AudioState& audio() { return audio_; }
  DisplayState& display() { return display_; }
  HapticsState& haptics() { return haptics_; }
  BatteryState& battery() { return battery_; }
  AppsState& apps() { return apps_; }

  // The shared instance of the class registered as `className`, created on first use;
  // null when the class does not exist on this device.
  id sharedObject(std::string_view className);
  // The same for a class object (cheaper: no name lookup), for class methods such as sharedInstance.
  id sharedObject(Class* cls);

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

  DeviceConfiguration config_;
  std::unique_ptr<SystemProfile> profile_;
  EventLog log_;
  SwitchesState switches_{log_};
  AppPreferencesState appPreferences_{log_, switches_};
  AudioState audio_{log_};
  DisplayState display_{log_};
  HapticsState haptics_{log_};
  BatteryState battery_{log_};
  AppsState apps_;
  // Shared objects, appended under sharedMutex_ and read without a lock (a background queue
  // may ask for the volume control while the main thread creates another object).
  static constexpr size_t kMaxSharedObjects = 64;
  std::array<std::pair<Class*, Ref<Object>>, kMaxSharedObjects> shared_;
  std::atomic<size_t> sharedCount_{0};
  std::mutex sharedMutex_;
  std::vector<std::string> registeredClasses_;
  std::unique_ptr<SimulatedDeviceInfo> deviceInfo_;
};

}  // namespace platform::springboard
