#include "platform/springboard/BatteryState.h"

#include <algorithm>
#include <string>

#include "platform/springboard/EventLog.h"

namespace platform::springboard {

BatteryState::BatteryState(EventLog& log) : log_(log) {}

void BatteryState::set(int percent, BatteryCharging charging) {
  percent_ = std::clamp(percent, 0, 100);
  charging_ = charging;
  log_.record("battery -> " + std::to_string(percent_) + "%" + (isCharging() ? " charging" : ""));
}

void BatteryState::reset() {
  percent_ = 100;
  charging_ = BatteryCharging::No;
}

}  // namespace platform::springboard
