#include "tools/SpringBoard/host/DeviceSwitchAccess.h"

#include "platform/springboard/AppPreferencesState.h"
#include "platform/springboard/DeviceModel.h"
#include "platform/springboard/SwitchesState.h"
#include "tweak/vocabulary/ToggleType.h"

namespace tessra::device {
namespace {

using platform::FSSwitchState;
using platform::springboard::AppPreferencesState;
using platform::springboard::SwitchesState;

FSSwitchState fromBool(bool on) { return on ? FSSwitchState::On : FSSwitchState::Off; }

// Interface styles (UIUserInterfaceStyle).
constexpr long kLightStyle = 1;
constexpr long kDarkStyle = 2;

}  // namespace

std::string_view DeviceSwitchAccess::flipswitchIdentifier(int type) {
  switch (type) {
    case ToggleTypeOrientationLock: return "rotation-lock";
    case ToggleTypeCellular: return "cellular-data";
    case ToggleTypeWifi: return "wifi";
    case ToggleTypeAirplane: return "airplane-mode";
    case ToggleTypeDnd: return "do-not-disturb";
    case ToggleTypeLocation: return "location";
    case ToggleTypeAutoBrightness: return "auto-brightness";
    case ToggleTypeAutoLock: return "autolock";
    case ToggleTypeLowPower: return "low-power";
    case ToggleTypeNightShift: return "night-shift";
    case ToggleTypeVpn: return "vpn";
    default: return {};
  }
}

bool DeviceSwitchAccess::hasIndeterminateState(int type) { return !flipswitchIdentifier(type).empty(); }

std::optional<FSSwitchState> DeviceSwitchAccess::state(int type) const {
  SwitchesState& switches = model_.state().switches();
  std::string_view flipswitch = flipswitchIdentifier(type);
  if (!flipswitch.empty()) return switches.state(SwitchesState::fullIdentifier(flipswitch));
  switch (type) {
    case ToggleTypeBluetooth: return fromBool(switches.bluetoothEnabled());
    case ToggleTypeRinger: return fromBool(!switches.ringerMuted());
    case ToggleTypeDarkMode: return fromBool(switches.interfaceStyle() == kDarkStyle);
    case ToggleTypeReduceWhitePoint: return fromBool(switches.reduceWhitePointEnabled());
    case ToggleTypeSmartInvertColors: return fromBool(switches.smartInvertEnabled());
    case ToggleTypeClassicInvertColors: return fromBool(switches.classicInvertEnabled());
    case ToggleTypeAssistiveTouch: return fromBool(switches.assistiveTouchEnabled());
    default: return std::nullopt;
  }
}

bool DeviceSwitchAccess::setState(int type, FSSwitchState state) {
  SwitchesState& switches = model_.state().switches();
  std::string_view flipswitch = flipswitchIdentifier(type);
  if (!flipswitch.empty()) return switches.setState(SwitchesState::fullIdentifier(flipswitch), state);
  if (state == FSSwitchState::Indeterminate) return false;
  bool on = state == FSSwitchState::On;
  switch (type) {
    case ToggleTypeBluetooth: switches.setBluetoothEnabled(on); return true;
    case ToggleTypeRinger: switches.setRingerMuted(!on); return true;
    case ToggleTypeDarkMode: switches.setInterfaceStyle(on ? kDarkStyle : kLightStyle); return true;
    case ToggleTypeReduceWhitePoint: switches.setReduceWhitePointEnabled(on); return true;
    case ToggleTypeAssistiveTouch: switches.setAssistiveTouchEnabled(on); return true;
    case ToggleTypeSmartInvertColors:
    case ToggleTypeClassicInvertColors: {
      // As the Settings app does it: the stored accessibility preference changes, and the
      // accessibility system is told so, which makes the mode follow.
      std::string_view key = type == ToggleTypeSmartInvertColors ? AppPreferencesState::kSmartInvertKey
                                                                 : AppPreferencesState::kClassicInvertKey;
      AppPreferencesState& prefs = model_.state().appPreferences();
      prefs.setStoredValue(AppPreferencesState::kAccessibilityDomain, key, platform::plist::Value(on));
      prefs.notifyChanged(AppPreferencesState::kAccessibilityDomain, key);
      return true;
    }
    default: return false;
  }
}

}  // namespace tessra::device
