#include "platform/springboard/SwitchesState.h"

#include "platform/springboard/EventLog.h"

namespace platform::springboard {

namespace {

constexpr std::string_view kPrefix = "com.a3tweaks.switch.";

const char* stateName(FSSwitchState state) {
  switch (state) {
    case FSSwitchState::Off: return "off";
    case FSSwitchState::On: return "on";
    case FSSwitchState::Indeterminate: break;
  }
  return "indeterminate";
}

// The switches of a fresh device and their states: radios and location on,
// automatic brightness and auto-lock on, everything else off.
const std::vector<std::pair<std::string, FSSwitchState>>& defaults() {
  static const std::vector<std::pair<std::string, FSSwitchState>> d = {
      {"rotation-lock", FSSwitchState::Off},
      {"cellular-data", FSSwitchState::On},
      {"wifi", FSSwitchState::On},
      {"airplane-mode", FSSwitchState::Off},
      {"do-not-disturb", FSSwitchState::Off},
      {"location", FSSwitchState::On},
      {"auto-brightness", FSSwitchState::On},
      {"autolock", FSSwitchState::On},
      {"low-power", FSSwitchState::Off},
      {"night-shift", FSSwitchState::Off},
      {"vpn", FSSwitchState::Off},
  };
  return d;
}

}  // namespace

SwitchesState::SwitchesState(EventLog& log) : log_(log) { reset(); }

std::string SwitchesState::fullIdentifier(std::string_view shortIdentifier) {
  return std::string(kPrefix) + std::string(shortIdentifier);
}

const std::vector<std::string>& SwitchesState::knownShortIdentifiers() {
  static const std::vector<std::string> ids = [] {
    std::vector<std::string> v;
    for (const auto& [id, state] : defaults()) v.push_back(id);
    v.push_back("bluetooth");
    v.push_back("ringer");
    return v;
  }();
  return ids;
}

std::string_view SwitchesState::shortOf(std::string_view identifier) {
  if (identifier.substr(0, kPrefix.size()) != kPrefix) return {};
  return identifier.substr(kPrefix.size());
}

FSSwitchState SwitchesState::state(std::string_view identifier) const {
  std::string_view id = shortOf(identifier);
  if (id == "bluetooth") return bluetooth_ ? FSSwitchState::On : FSSwitchState::Off;
  if (id == "ringer") return ringerMuted_ ? FSSwitchState::Off : FSSwitchState::On;
  auto it = flipswitches_.find(id);
  return it == flipswitches_.end() ? FSSwitchState::Indeterminate : it->second;
}

bool SwitchesState::setState(std::string_view identifier, FSSwitchState state) {
  std::string_view id = shortOf(identifier);
  if (id == "bluetooth") {
    if (state != FSSwitchState::Indeterminate) setBluetoothEnabled(state == FSSwitchState::On);
    return true;
  }
  if (id == "ringer") {
    if (state != FSSwitchState::Indeterminate) setRingerMuted(state == FSSwitchState::Off);
    return true;
  }
  auto it = flipswitches_.find(id);
  if (it == flipswitches_.end()) return false;
  it->second = state;
  logChange(id, stateName(state));
  return true;
}

bool SwitchesState::bluetoothEnabled() const { return bluetooth_; }

void SwitchesState::setBluetoothEnabled(bool on) {
  bluetooth_ = on;
  logChange("bluetooth", EventLog::onOff(on));
}

bool SwitchesState::ringerMuted() const { return ringerMuted_; }

void SwitchesState::setRingerMuted(bool muted) {
  ringerMuted_ = muted;
  logChange("ringer", EventLog::onOff(!muted));
}

void SwitchesState::setInterfaceStyle(long style) {
  style_ = style;
  logChange("dark mode", EventLog::onOff(style == 2));
}

void SwitchesState::setReduceWhitePointEnabled(bool on) {
  reduceWhitePoint_ = on;
  logChange("reduce white point", EventLog::onOff(on));
}

void SwitchesState::setAssistiveTouchEnabled(bool on) {
  assistiveTouch_ = on;
  logChange("assistive touch", EventLog::onOff(on));
}

void SwitchesState::setSmartInvertEnabled(bool on) {
  smartInvert_ = on;
  logChange("smart invert", EventLog::onOff(on));
}

void SwitchesState::setClassicInvertEnabled(bool on) {
  classicInvert_ = on;
  logChange("classic invert", EventLog::onOff(on));
}

void SwitchesState::reset() {
  flipswitches_.clear();
  for (const auto& [id, state] : defaults()) flipswitches_.emplace(id, state);
  bluetooth_ = true;
  ringerMuted_ = false;
  style_ = 1;
  reduceWhitePoint_ = assistiveTouch_ = smartInvert_ = classicInvert_ = false;
}

void SwitchesState::logChange(std::string_view name, std::string_view value) {
  log_.record(std::string(name) + " -> " + std::string(value));
}

}  // namespace platform::springboard
