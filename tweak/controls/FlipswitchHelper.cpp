#include "tweak/controls/FlipswitchHelper.h"

#include <array>

#include "platform/foundation/DeviceInfo.h"
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/CFPreferences.h"
#include "platform/springboard/FSSwitchState.h"
#include "platform/springboard/GraphicsServices.h"
#include "tweak/store/TessraStorageManager.h"

using platform::ClassHandle;
using platform::FSSwitchState;
using platform::id;
using platform::msgSend;

namespace {

// The classes are found by name on every use; a handle caches the lookup
// until the set of registered classes changes (another device configured).
ClassHandle gSwitchPanelClass{"FSSwitchPanel"};
ClassHandle gBluetoothManagerClass{"BluetoothManager"};
ClassHandle gMainWorkspaceClass{"SBMainWorkspace"};
ClassHandle gStyleArbiterClass{"UIUserInterfaceStyleArbiter"};
ClassHandle gAccessibilitySettingsClass{"AXSettings"};
ClassHandle gVolumeControlClass{"SBVolumeControl"};
ClassHandle gMediaControllerClass{"SBMediaController"};
ClassHandle gDisplayBrightnessControllerClass{"SBDisplayBrightnessController"};
ClassHandle gBrightnessControllerClass{"SBBrightnessController"};
ClassHandle gBrightnessSettingsDetailClass{"PSBrightnessSettingsDetail"};

constexpr long kStyleLight = 1;
constexpr long kStyleDark = 2;

// The short Flipswitch identifiers of the types that have one, by type.
constexpr std::array<std::string_view, 13> kShortIdentifiers = {
    "rotation-lock",   "bluetooth", "cellular-data", "wifi",        "airplane-mode", "do-not-disturb", "location",
    "auto-brightness", "autolock",  "low-power",     "night-shift", "vpn",           "ringer",
};

// The full identifiers of the table above, made once so that reading a switch
// does not build its name each time.
const std::array<std::string, kShortIdentifiers.size()>& fullIdentifiers() {
  static const auto table = [] {
    std::array<std::string, kShortIdentifiers.size()> full;
    for (size_t i = 0; i < full.size(); ++i)
      full[i] = FlipswitchHelper::getFullFlipswitchIdentifierForIdentifier(kShortIdentifiers[i]);
    return full;
  }();
  return table;
}

const std::string& fullIdentifierOf(ToggleType type) { return fullIdentifiers()[static_cast<size_t>(type)]; }

// The shared instance of a class found by name (nil when the class is absent).
id shared(const ClassHandle& cls, platform::SEL selector) { return msgSend<id>(cls.get(), selector); }

id switchPanel() { return shared(gSwitchPanelClass, SELECTOR("sharedPanel")); }
id mediaController() { return shared(gMediaControllerClass, SELECTOR("sharedInstance")); }
id volumeControl() { return shared(gVolumeControlClass, SELECTOR("sharedInstance")); }
id accessibilitySettings() { return shared(gAccessibilitySettingsClass, SELECTOR("sharedInstance")); }

bool panelState(std::string fullIdentifier) {
  return msgSend<FSSwitchState, std::string>(switchPanel(), SELECTOR("stateForSwitchIdentifier:"),
                                             std::move(fullIdentifier)) != FSSwitchState::Off;
}

void setPanelState(bool state, std::string fullIdentifier) {
  msgSend<void, FSSwitchState, std::string>(switchPanel(), SELECTOR("setState:forSwitchIdentifier:"),
                                            state ? FSSwitchState::On : FSSwitchState::Off, std::move(fullIdentifier));
}

// The version test of the volume operations and of the ringer's dispatch: the
// version string read as a number, compared with 13.0.
bool systemVersionAtLeast13() { return platform::DeviceInfo::current().systemVersionNumber() >= 13.0; }

// The availability check of the dark-mode and ringer operations (iOS 13.0 or later).
bool availableFrom13() { return systemVersionAtLeast13(); }

// Invert colours live in the accessibility preference domain as numbers of one
// byte. Setting one writes it, synchronizes the domain and tells the
// accessibility system which key changed; reading synchronizes first so that
// a change made elsewhere is seen.
void setAccessibilityFlag(std::string_view key, bool enabled) {
  const std::string_view domain = FlipswitchHelper::kAccessibilityDomain;
  platform::CFPreferencesSetAppValue(key, platform::plist::Value(static_cast<int64_t>(enabled ? 1 : 0)), domain);
  platform::CFPreferencesAppSynchronize(domain);
  platform::GSSendAppPreferencesChanged(domain, key);
}

bool accessibilityFlag(std::string_view key) {
  const std::string_view domain = FlipswitchHelper::kAccessibilityDomain;
  platform::CFPreferencesAppSynchronize(domain);
  return platform::CFPreferencesGetAppBooleanValue(key, domain);
}

bool hasFlipswitchIdentifier(ToggleType type) {
  return type >= 0 && static_cast<size_t>(type) < kShortIdentifiers.size();
}

}  // namespace

// --- Dispatch

void FlipswitchHelper::setToggle(ToggleType type, bool enabled) {
  switch (type) {
    case ToggleTypeBluetooth: setBluetoothEnabled(enabled); return;
    case ToggleTypeRinger:
      if (systemVersionAtLeast13())
        setRingerEnablediOS13(enabled);
      else
        setPanelState(enabled, fullIdentifierOf(type));
      return;
    case ToggleTypeDarkMode: setiOS13DarkModeEnabled(enabled); return;
    case ToggleTypeReduceWhitePoint: setReduceWhitePointEnabled(enabled); return;
    case ToggleTypeSmartInvertColors: setSmartInvertColorsEnabled(enabled); return;
    case ToggleTypeClassicInvertColors: setClasicInvertColorsEnabled(enabled); return;
    case ToggleTypeAssistiveTouch: setAssistiveTouchEnabled(enabled); return;
    default:
      if (hasFlipswitchIdentifier(type)) setPanelState(enabled, fullIdentifierOf(type));
      return;
  }
}

bool FlipswitchHelper::isToggleEnabled(ToggleType type) {
  switch (type) {
    case ToggleTypeBluetooth: return isBluetoothEnabled();
    case ToggleTypeRinger:
      return systemVersionAtLeast13() ? isRingerEnablediOS13() : panelState(fullIdentifierOf(type));
    case ToggleTypeDarkMode: return isiOS13DarkModeEnabled();
    case ToggleTypeReduceWhitePoint: return isReduceWhitePointModeEnabled();
    case ToggleTypeSmartInvertColors: return isSmartInvertColorsEnabled();
    case ToggleTypeClassicInvertColors: return isClassicInvertColorsEnabled();
    case ToggleTypeAssistiveTouch: return isAssistiveTouchEnabled();
    default: return hasFlipswitchIdentifier(type) && panelState(fullIdentifierOf(type));
  }
}

// --- Flipswitch switches

void FlipswitchHelper::setAirplaneEnabled(bool enabled) { setToggle(ToggleTypeAirplane, enabled); }
bool FlipswitchHelper::isAirplaneEnabled() { return isToggleEnabled(ToggleTypeAirplane); }
void FlipswitchHelper::setWifiEnabled(bool enabled) { setToggle(ToggleTypeWifi, enabled); }
bool FlipswitchHelper::isWifiEnabled() { return isToggleEnabled(ToggleTypeWifi); }
void FlipswitchHelper::setCellularEnabled(bool enabled) { setToggle(ToggleTypeCellular, enabled); }
bool FlipswitchHelper::isCellularEnabled() { return isToggleEnabled(ToggleTypeCellular); }
void FlipswitchHelper::setOrientationLockEnabled(bool enabled) { setToggle(ToggleTypeOrientationLock, enabled); }
bool FlipswitchHelper::isOrientationLockEnabled() { return isToggleEnabled(ToggleTypeOrientationLock); }
void FlipswitchHelper::setDNDEnabled(bool enabled) { setToggle(ToggleTypeDnd, enabled); }
bool FlipswitchHelper::isDNDEnabled() { return isToggleEnabled(ToggleTypeDnd); }
void FlipswitchHelper::setLocationEnabled(bool enabled) { setToggle(ToggleTypeLocation, enabled); }
bool FlipswitchHelper::isLocationEnabled() { return isToggleEnabled(ToggleTypeLocation); }
void FlipswitchHelper::setAutoBrightnessEnabled(bool enabled) { setToggle(ToggleTypeAutoBrightness, enabled); }
bool FlipswitchHelper::isAutoBrightnessEnabled() { return isToggleEnabled(ToggleTypeAutoBrightness); }
void FlipswitchHelper::setAutoLockEnabled(bool enabled) { setToggle(ToggleTypeAutoLock, enabled); }
bool FlipswitchHelper::isAutoLockEnabled() { return isToggleEnabled(ToggleTypeAutoLock); }
void FlipswitchHelper::setLowPowerEnabled(bool enabled) { setToggle(ToggleTypeLowPower, enabled); }
bool FlipswitchHelper::isLowPowerEnabled() { return isToggleEnabled(ToggleTypeLowPower); }
void FlipswitchHelper::setNightShiftEnabled(bool enabled) { setToggle(ToggleTypeNightShift, enabled); }
bool FlipswitchHelper::isNightShiftEnabled() { return isToggleEnabled(ToggleTypeNightShift); }
void FlipswitchHelper::setVPNEnabled(bool enabled) { setToggle(ToggleTypeVpn, enabled); }
bool FlipswitchHelper::isVPNEnabled() { return isToggleEnabled(ToggleTypeVpn); }

// --- Switches of the system's own objects

void FlipswitchHelper::setBluetoothEnabled(bool enabled) {
  id manager = shared(gBluetoothManagerClass, SELECTOR("sharedInstance"));
  if (msgSend<bool>(manager, SELECTOR("enabled")) != enabled)
    msgSend<void, bool>(manager, SELECTOR("setEnabled:"), enabled);
}

bool FlipswitchHelper::isBluetoothEnabled() {
  return msgSend<bool>(shared(gBluetoothManagerClass, SELECTOR("sharedInstance")), SELECTOR("enabled"));
}

void FlipswitchHelper::setiOS13DarkModeEnabled(bool enabled) {
  if (!availableFrom13()) return;
  id arbiter = shared(gStyleArbiterClass, SELECTOR("sharedInstance"));
  const long style = msgSend<long>(arbiter, SELECTOR("currentStyle"));
  if ((enabled && style == kStyleLight) || (!enabled && style == kStyleDark))
    msgSend<void>(arbiter, SELECTOR("toggleCurrentStyle"));
}

bool FlipswitchHelper::isiOS13DarkModeEnabled() {
  if (!availableFrom13()) return false;
  return msgSend<long>(shared(gStyleArbiterClass, SELECTOR("sharedInstance")), SELECTOR("currentStyle")) == kStyleDark;
}

void FlipswitchHelper::setRingerEnablediOS13(bool enabled) {
  if (!availableFrom13()) return;
  id ringer = msgSend<id>(shared(gMainWorkspaceClass, SELECTOR("sharedInstance")), SELECTOR("ringerControl"));
  msgSend<void, bool>(ringer, SELECTOR("setRingerMuted:"), !enabled);
}

bool FlipswitchHelper::isRingerEnablediOS13() {
  if (!availableFrom13()) return false;
  id ringer = msgSend<id>(shared(gMainWorkspaceClass, SELECTOR("sharedInstance")), SELECTOR("ringerControl"));
  // A missing ringer control reads NO, like every other missing object.
  return ringer && !msgSend<bool>(ringer, SELECTOR("isRingerMuted"));
}

void FlipswitchHelper::setReduceWhitePointEnabled(bool enabled) {
  msgSend<void, bool>(accessibilitySettings(), SELECTOR("setReduceWhitePointEnabled:"), enabled);
}

bool FlipswitchHelper::isReduceWhitePointModeEnabled() {
  return msgSend<bool>(accessibilitySettings(), SELECTOR("reduceWhitePointEnabled"));
}

void FlipswitchHelper::setAssistiveTouchEnabled(bool enabled) {
  msgSend<void, bool>(accessibilitySettings(), SELECTOR("setAssistiveTouchEnabled:"), enabled);
}

bool FlipswitchHelper::isAssistiveTouchEnabled() {
  return msgSend<bool>(accessibilitySettings(), SELECTOR("assistiveTouchEnabled"));
}

void FlipswitchHelper::setSmartInvertColorsEnabled(bool enabled) {
  setAccessibilityFlag(kSmartInvertColorsKey, enabled);
}

bool FlipswitchHelper::isSmartInvertColorsEnabled() { return accessibilityFlag(kSmartInvertColorsKey); }

void FlipswitchHelper::setClasicInvertColorsEnabled(bool enabled) {
  setAccessibilityFlag(kClassicInvertColorsKey, enabled);
}

bool FlipswitchHelper::isClassicInvertColorsEnabled() { return accessibilityFlag(kClassicInvertColorsKey); }

// --- Flipswitch plumbing

std::optional<std::string_view> FlipswitchHelper::getFlipswitchIdentifierForToggleType(ToggleType type) {
  if (!hasFlipswitchIdentifier(type)) return std::nullopt;
  return kShortIdentifiers[static_cast<size_t>(type)];
}

std::string FlipswitchHelper::getFullFlipswitchIdentifierForIdentifier(std::string_view identifier) {
  std::string full(kFlipswitchIdentifierPrefix);
  full += identifier;
  return full;
}

bool FlipswitchHelper::getFlipswitchStateForIdentifier(std::string_view identifier) {
  return panelState(getFullFlipswitchIdentifierForIdentifier(identifier));
}

void FlipswitchHelper::setFlipswitchState(bool state, std::string_view identifier) {
  setPanelState(state, getFullFlipswitchIdentifierForIdentifier(identifier));
}

// --- Volume, brightness and media

void FlipswitchHelper::setVolume(double volume) {
  if (systemVersionAtLeast13())
    msgSend<void, float, std::string>(volumeControl(), SELECTOR("setVolume:forCategory:"), static_cast<float>(volume),
                                      std::string(kMediaVolumeCategory));
  else
    msgSend<void, float>(mediaController(), SELECTOR("setVolume:"), static_cast<float>(volume));
}

double FlipswitchHelper::getVolume() {
  if (systemVersionAtLeast13()) return msgSend<float>(volumeControl(), SELECTOR("_getMediaVolumeForIAP"));
  return msgSend<float>(mediaController(), SELECTOR("volume"));
}

void FlipswitchHelper::changeVolumeBy(double delta) {
  if (systemVersionAtLeast13())
    msgSend<void, float>(volumeControl(), SELECTOR("changeVolumeByDelta:"), static_cast<float>(delta));
  else
    msgSend<void, float>(mediaController(), SELECTOR("_changeVolumeBy:"), static_cast<float>(delta));
}

bool FlipswitchHelper::isMediaPlaying() { return msgSend<bool>(mediaController(), SELECTOR("isPlaying")); }

void FlipswitchHelper::setBrightness(double brightness) {
  const bool showHUD = TessraStorageManager::sharedInstance().showBrightnessHUD;
  platform::Ref<platform::Object> controller;
  if (platform::Class* cls = gDisplayBrightnessControllerClass.get())
    controller = platform::class_createInstance(cls);
  else
    controller = shared(gBrightnessControllerClass, SELECTOR("sharedBrightnessController"));
  msgSend<void, float, bool>(controller.get(), SELECTOR("_setBrightnessLevel:showHUD:"), static_cast<float>(brightness),
                             showHUD);
}

double FlipswitchHelper::getBrightness() {
  return msgSend<float>(gBrightnessSettingsDetailClass.get(), SELECTOR("currentValue"));
}
