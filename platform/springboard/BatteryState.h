#pragma once

namespace platform::springboard {

class EventLog;

// Whether the battery takes a charge (a cable is in) or not.
enum class BatteryCharging { No, Yes };

// The device's battery: its level in percent (0 to 100) and whether it is
// charging. The status bar shows it; the device state file keeps it. A change
// is written to the event log as "battery -> 20%" (with " charging").
// Owned by DeviceState; main thread only.
class BatteryState {
 public:
  explicit BatteryState(EventLog& log);

  int percent() const { return percent_; }
  bool isCharging() const { return charging_ == BatteryCharging::Yes; }
  // Sets the level (clamped to 0...100) and the charging state.
  void set(int percent, BatteryCharging charging);

  // A fresh device: full, not charging (no log entry).
  void reset();

 private:
  EventLog& log_;
  int percent_ = 100;
  BatteryCharging charging_ = BatteryCharging::No;
};

}  // namespace platform::springboard
