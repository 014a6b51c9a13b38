#include "platform/springboard/DeviceStateFile.h"

#include <chrono>
#include <cmath>
#include <ctime>

#include "platform/foundation/BeneathRoot.h"
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/springboard/DeviceState.h"

namespace platform::springboard {

namespace {

using plist::Dictionary;
using plist::Value;

constexpr size_t kMaxFileBytes = 64 * 1024;

// The boolean switches besides the Flipswitch ones, by their name in the file.
struct NamedSwitch {
  const char* name;
  bool (SwitchesState::*get)() const;
  void (SwitchesState::*set)(bool);
};
constexpr NamedSwitch kNamedSwitches[] = {
    {"bluetooth", &SwitchesState::bluetoothEnabled, &SwitchesState::setBluetoothEnabled},
    {"ringerMuted", &SwitchesState::ringerMuted, &SwitchesState::setRingerMuted},
    {"reduceWhitePoint", &SwitchesState::reduceWhitePointEnabled, &SwitchesState::setReduceWhitePointEnabled},
    {"assistiveTouch", &SwitchesState::assistiveTouchEnabled, &SwitchesState::setAssistiveTouchEnabled},
    {"smartInvert", &SwitchesState::smartInvertEnabled, &SwitchesState::setSmartInvertEnabled},
    {"classicInvert", &SwitchesState::classicInvertEnabled, &SwitchesState::setClassicInvertEnabled},
};

bool fraction(const Value* value, double& out) {
  if (!value || !value->isNumber()) return false;
  out = value->doubleValue();
  return std::isfinite(out) && out >= 0.0 && out <= 1.0;
}

std::string utcStamp() {
  std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm tm{};
  gmtime_r(&now, &tm);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y%m%dT%H%M%SZ", &tm);
  return buf;
}

}  // namespace

DeviceStateFile::DeviceStateFile(DeviceState& device, std::filesystem::path root)
    : device_(device), root_(std::move(root)) {}

DeviceStateFile::~DeviceStateFile() { detach(); }

std::filesystem::path DeviceStateFile::file(const std::filesystem::path& root) {
  return root / "var/mobile/Library/tessra/state.plist";
}

Value DeviceStateFile::capture(DeviceState& device) {
  SwitchesState& switches = device.switches();
  Dictionary flipswitches;
  for (const std::string& shortId : SwitchesState::knownShortIdentifiers()) {
    FSSwitchState state = switches.state(SwitchesState::fullIdentifier(shortId));
    if (state != FSSwitchState::Indeterminate) flipswitches.set(shortId, Value(static_cast<int64_t>(state)));
  }
  Dictionary state{{"flipswitches", Value(std::move(flipswitches))},
                   {"interfaceStyle", Value(static_cast<int64_t>(switches.interfaceStyle()))},
                   {"volume", Value(static_cast<double>(device.audio().volume()))},
                   {"brightness", Value(device.display().brightness())},
                   {"batteryPercent", Value(static_cast<int64_t>(device.battery().percent()))},
                   {"batteryCharging", Value(device.battery().isCharging())}};
  for (const NamedSwitch& named : kNamedSwitches) state.set(named.name, Value((switches.*named.get)()));
  return Value(std::move(state));
}

bool DeviceStateFile::apply(DeviceState& device, const Value& state, std::string* error) {
  auto fail = [&](std::string why) {
    if (error) *error = std::move(why);
    return false;
  };
  // Everything is checked before anything is changed.
  if (!state.isDictionary()) return fail("it is not a dictionary");
  const Value* flipswitches = state.find("flipswitches");
  if (flipswitches && !flipswitches->isDictionary()) return fail("\"flipswitches\" is not a dictionary");
  if (flipswitches)
    for (const auto& [shortId, value] : flipswitches->dictionary())
      if (!value.isInteger() || (value.integerValue() != 0 && value.integerValue() != 1))
        return fail("the switch \"" + shortId + "\" is not 0 or 1");
  for (const NamedSwitch& named : kNamedSwitches)
    if (const Value* value = state.find(named.name); value && !value->isBoolean())
      return fail(std::string("\"") + named.name + "\" is not a boolean");
  const Value* style = state.find("interfaceStyle");
  if (style && (!style->isInteger() || (style->integerValue() != 1 && style->integerValue() != 2)))
    return fail("\"interfaceStyle\" is not 1 or 2");
  double volume = 0, brightness = 0;
  const Value* volumeValue = state.find("volume");
  const Value* brightnessValue = state.find("brightness");
  if (volumeValue && !fraction(volumeValue, volume)) return fail("\"volume\" is not a number from 0 to 1");
  if (brightnessValue && !fraction(brightnessValue, brightness))
    return fail("\"brightness\" is not a number from 0 to 1");
  const Value* batteryPercent = state.find("batteryPercent");
  if (batteryPercent &&
      (!batteryPercent->isInteger() || batteryPercent->integerValue() < 0 || batteryPercent->integerValue() > 100))
    return fail("\"batteryPercent\" is not a whole number from 0 to 100");
  const Value* batteryCharging = state.find("batteryCharging");
  if (batteryCharging && !batteryCharging->isBoolean()) return fail("\"batteryCharging\" is not a boolean");

  SwitchesState& switches = device.switches();
  if (flipswitches)
    for (const auto& [shortId, value] : flipswitches->dictionary())
      switches.setState(SwitchesState::fullIdentifier(shortId),
                        value.integerValue() ? FSSwitchState::On : FSSwitchState::Off);
  for (const NamedSwitch& named : kNamedSwitches)
    if (const Value* value = state.find(named.name)) (switches.*named.set)(value->boolValue());
  if (style) switches.setInterfaceStyle(static_cast<long>(style->integerValue()));
  if (volumeValue) device.audio().setVolume(static_cast<float>(volume), VolumeHUD::Never);
  if (brightnessValue) device.display().setBrightness(brightness, false);
  if (batteryPercent || batteryCharging) {
    BatteryState& battery = device.battery();
    const int percent = batteryPercent ? static_cast<int>(batteryPercent->integerValue()) : battery.percent();
    const bool charging = batteryCharging ? batteryCharging->boolValue() : battery.isCharging();
    battery.set(percent, charging ? BatteryCharging::Yes : BatteryCharging::No);
  }
  return true;
}

bool DeviceStateFile::attach(std::string* problem) {
  const std::filesystem::path path = file(root_);
  auto bytes = plist::PropertyListFile::readDeviceBytes(root_, path, kMaxFileBytes);
  bool usable = true;
  std::string why;
  if (bytes.ok()) {
    auto parsed = plist::PropertyListFile::parse(bytes.bytes);
    if (!parsed.ok())
      why = parsed.message;
    else if (!apply(device_, parsed.value, &why))
      why = "the state it holds is not valid: " + why;
    else
      written_ = bytes.bytes;
  } else if (bytes.status != plist::ReadStatus::Missing) {
    why = bytes.message;
  }
  if (!why.empty()) {
    usable = false;
    std::string aside = path.string() + ".bad-" + utcStamp();
    std::error_code ec;
    std::filesystem::rename(path, aside, ec);
    Log::write("SpringBoard: the device state " + path.string() + " could not be used (" + why + ")" +
               (ec ? "" : "; kept aside as " + std::filesystem::path(aside).filename().string()) +
               "; the device starts from its defaults");
    if (problem) *problem = why;
  }
  device_.eventLog().clear();
  attached_ = true;
  device_.eventLog().setObserver([this] { scheduleSave(); });
  return usable;
}

void DeviceStateFile::detach() {
  if (!attached_) return;
  attached_ = false;
  device_.eventLog().setObserver(nullptr);
  if (saveScheduled_) save();
}

void DeviceStateFile::scheduleSave() {
  if (saveScheduled_) return;
  saveScheduled_ = true;
  // The changes of one turn of the main loop (a switch panel applying several) are written together.
  dispatch_async(dispatch_get_main_queue(), [this, alive = std::weak_ptr<int>(aliveToken_)] {
    if (alive.expired()) return;
    save();
  });
}

bool DeviceStateFile::save() {
  saveScheduled_ = false;
  std::string error;
  std::optional<std::string> xml = plist::PropertyListFile::toXml(capture(device_), {}, &error);
  if (!xml) return false;
  if (*xml == written_) return true;
  const std::filesystem::path path = file(root_);
  if (!BeneathRoot::createFolders(root_, path.parent_path(), &error) ||
      !plist::PropertyListFile::writeDeviceFileAtomically(root_, path, *xml, &error)) {
    Log::write("SpringBoard: the device state could not be saved: " + error);
    return false;
  }
  written_ = std::move(*xml);
  return true;
}

}  // namespace platform::springboard
