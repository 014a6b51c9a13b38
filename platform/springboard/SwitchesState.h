#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/springboard/FSSwitchState.h"

namespace platform::springboard {

class EventLog;

// The device's system switches: those behind the Flipswitch panel (by full
// identifier, "com.a3tweaks.switch.wifi"), Bluetooth, the ringer, the
// interface style, and the accessibility switches. Bluetooth and the ringer
// are one state each whether reached through their own objects or through
// their Flipswitch identifiers ("bluetooth", "ringer": on = not muted).
// Every change is written to the event log as "<name> -> <state>".
// Owned by DeviceModel; main thread only.
class SwitchesState {
 public:
  explicit SwitchesState(EventLog& log);

  // The full identifier of a short one: "com.a3tweaks.switch.<short>".
  static std::string fullIdentifier(std::string_view shortIdentifier);
  // The short identifiers of every switch the panel knows.
  static const std::vector<std::string>& knownShortIdentifiers();

  // The state of the switch with full identifier `identifier`; indeterminate for an unknown switch.
  FSSwitchState state(std::string_view identifier) const;
  // Sets a known switch (an unknown identifier changes nothing); answers whether it is known.
  bool setState(std::string_view identifier, FSSwitchState state);

  bool bluetoothEnabled() const;
  void setBluetoothEnabled(bool on);
  bool ringerMuted() const;
  void setRingerMuted(bool muted);

  // The interface style: 1 light, 2 dark (UIUserInterfaceStyle).
  long interfaceStyle() const { return style_; }
  void setInterfaceStyle(long style);

  bool reduceWhitePointEnabled() const { return reduceWhitePoint_; }
  void setReduceWhitePointEnabled(bool on);
  bool assistiveTouchEnabled() const { return assistiveTouch_; }
  void setAssistiveTouchEnabled(bool on);

  // The invert-colours modes the accessibility system applies (they follow the
  // "com.apple.Accessibility" preferences only when it is told they changed).
  bool smartInvertEnabled() const { return smartInvert_; }
  void setSmartInvertEnabled(bool on);
  bool classicInvertEnabled() const { return classicInvert_; }
  void setClassicInvertEnabled(bool on);

  // Restores the defaults of a fresh device (no log entry).
  void reset();

 private:
  static std::string_view shortOf(std::string_view identifier);
  void logChange(std::string_view name, std::string_view value);

  EventLog& log_;
  std::map<std::string, FSSwitchState, std::less<>> flipswitches_;  // by short identifier
  bool bluetooth_ = true;
  bool ringerMuted_ = false;
  long style_ = 1;
  bool reduceWhitePoint_ = false;
  bool assistiveTouch_ = false;
  bool smartInvert_ = false;
  bool classicInvert_ = false;
};

}  // namespace platform::springboard
