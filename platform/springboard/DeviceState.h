#pragma once

#include <memory>
#include <string_view>

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

// The bundle identifiers of the two system overlays every device has: they come to the
// foreground over the app in front without replacing it.
inline constexpr std::string_view kSiriBundleIdentifier = "com.apple.siri";
inline constexpr std::string_view kSpotlightBundleIdentifier = "com.apple.Spotlight";

// What the simulated device is now: its configuration and system profile, the event log,
// and the state parts (switches, per-app preferences, audio, display, haptics, battery, apps).
// One per process, never destroyed. It holds values only: nothing here calls the home
// screen, so that views, the status bar and the state file read and set it without
// pulling in the operations of DeviceModel. Setting a part directly sets up a situation;
// the user's and the hardware's actions go through DeviceModel. Main thread only.
class DeviceState {
 public:
  // The one device state of this process (a default device until reset).
  static DeviceState& shared();

  DeviceState(const DeviceState&) = delete;
  DeviceState& operator=(const DeviceState&) = delete;

  // Starts from the fresh state of a device of `config` (the system overlays are added to
  // its apps) with an empty event log.
  void reset(DeviceConfiguration config);

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

  // Whether `bundleIdentifier` is Siri or Spotlight.
  static bool isSystemOverlay(std::string_view bundleIdentifier);

 private:
  DeviceState();

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
};

}  // namespace platform::springboard
