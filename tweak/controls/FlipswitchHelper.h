#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "tweak/vocabulary/ToggleType.h"

// The one place where the plug-in reads or changes a system switch, the
// volume or the brightness. A toggle type becomes the platform call that
// reads or sets its switch: most go through the Flipswitch panel by a short
// identifier; Bluetooth, the ringer (13.0 and later), dark mode and the four
// accessibility switches go through the system's own objects. Every class is
// looked up by name on each call, so on a device where one does not exist
// setters change nothing and readers answer NO or 0. No state; class
// operations only. Setters are called on the main thread.
class FlipswitchHelper {
 public:
  FlipswitchHelper() = delete;

  // The prefix that makes a full Flipswitch identifier of a short one.
  static constexpr std::string_view kFlipswitchIdentifierPrefix = "com.a3tweaks.switch.";
  // The preference domain and keys of the invert-colours modes.
  static constexpr std::string_view kAccessibilityDomain = "com.apple.Accessibility";
  static constexpr std::string_view kSmartInvertColorsKey = "InvertColorsEnabled";
  static constexpr std::string_view kClassicInvertColorsKey = "AXSClassicInvertColorsPreference";
  // The volume category that carries the media volume from 13.0.
  static constexpr std::string_view kMediaVolumeCategory = "Audio/Video";

  // --- Dispatch by toggle type (switches 0 to 17; other types read NO and set nothing).

  // Turns the switch of `type` on or off.
  static void setToggle(ToggleType type, bool enabled);
  // Whether the switch of `type` is on.
  static bool isToggleEnabled(ToggleType type);

  // --- One pair per switch.

  static void setAirplaneEnabled(bool enabled);
  static bool isAirplaneEnabled();
  static void setWifiEnabled(bool enabled);
  static bool isWifiEnabled();
  static void setCellularEnabled(bool enabled);
  static bool isCellularEnabled();
  static void setOrientationLockEnabled(bool enabled);
  static bool isOrientationLockEnabled();
  static void setDNDEnabled(bool enabled);
  static bool isDNDEnabled();
  // Sets Bluetooth through the Bluetooth manager, only when it differs from its current state.
  static void setBluetoothEnabled(bool enabled);
  static bool isBluetoothEnabled();
  static void setLocationEnabled(bool enabled);
  static bool isLocationEnabled();
  static void setAutoBrightnessEnabled(bool enabled);
  static bool isAutoBrightnessEnabled();
  static void setAutoLockEnabled(bool enabled);
  static bool isAutoLockEnabled();
  static void setLowPowerEnabled(bool enabled);
  static bool isLowPowerEnabled();
  static void setNightShiftEnabled(bool enabled);
  static bool isNightShiftEnabled();
  static void setVPNEnabled(bool enabled);
  static bool isVPNEnabled();
  // Dark mode through the interface style arbiter; toggles the style only when it must change. 13.0 and later.
  static void setiOS13DarkModeEnabled(bool enabled);
  static bool isiOS13DarkModeEnabled();
  // The ringer through the workspace's ringer control (on = not muted). 13.0 and later; nothing below.
  static void setRingerEnablediOS13(bool enabled);
  static bool isRingerEnablediOS13();
  static void setReduceWhitePointEnabled(bool enabled);
  static bool isReduceWhitePointModeEnabled();
  // Smart invert colours: the accessibility preference "InvertColorsEnabled".
  static void setSmartInvertColorsEnabled(bool enabled);
  static bool isSmartInvertColorsEnabled();
  // Classic invert colours: the accessibility preference "AXSClassicInvertColorsPreference".
  static void setClasicInvertColorsEnabled(bool enabled);
  static bool isClassicInvertColorsEnabled();
  static void setAssistiveTouchEnabled(bool enabled);
  static bool isAssistiveTouchEnabled();

  // --- Flipswitch plumbing.

  // The short Flipswitch identifier of `type` ("wifi"), or nothing for a type without one.
  static std::optional<std::string_view> getFlipswitchIdentifierForToggleType(ToggleType type);
  // The full identifier of a short one: "com.a3tweaks.switch.<identifier>".
  static std::string getFullFlipswitchIdentifierForIdentifier(std::string_view identifier);
  // Whether the switch is on: any state but off (an indeterminate state reads on).
  static bool getFlipswitchStateForIdentifier(std::string_view identifier);
  // Sets the switch to on (state 1) or off (state 0).
  static void setFlipswitchState(bool state, std::string_view identifier);

  // --- Volume, brightness and media.

  // Sets the media volume (0 to 1): the volume control's "Audio/Video" category from 13.0, the media controller before.
  static void setVolume(double volume);
  // The media volume (0 to 1).
  static double getVolume();
  // Moves the media volume by `delta`.
  static void changeVolumeBy(double delta);
  // Whether media is playing.
  static bool isMediaPlaying();
  // Sets the screen brightness (0 to 1); the brightness indicator shows when showBrightnessHUD is on.
  static void setBrightness(double brightness);
  // The screen brightness (0 to 1).
  static double getBrightness();
};
