#include "tweak/store/TessraSettings.h"

#include <array>

#include "tweak/store/TessraStorageManager.h"

namespace {

using M = TessraStorageManager;

constexpr SettingDescription boolSetting(std::string_view key, bool def, bool M::*field) {
  return SettingDescription{key, SettingType::Bool, def ? 1 : 0, field, nullptr, 0, 1};
}

constexpr SettingDescription integerSetting(std::string_view key, int64_t def, int64_t M::*field, int64_t minimum,
                                            int64_t maximum) {
  return SettingDescription{key, SettingType::Integer, def, nullptr, field, minimum, maximum};
}

// Binding order: the first four, then (after showInformationTextOnBottom is set) the toggle
// visibility keys, the conditions, the restore keys, the lock-screen key, the behaviour visibility
// keys, the toasts, the clear-all keys, the home-gesture method, the indicators, the menu, the
// confirmations and the debug key.
const std::array<SettingDescription, 70> kSettings{{
    boolSetting("enabled", true, &M::enabled),
    boolSetting("itemsBeforeStockItems", false, &M::itemsBeforeStockItems),
    integerSetting("interfaceColorStyle", 2, &M::interfaceColorStyle, 0, 2),
    boolSetting("useCrossInsteadOfLongPressGestureForSliders", true, &M::useCrossInsteadOfLongPressGestureForSliders),

    boolSetting("showOrientationLockToggle", true, &M::showOrientationLockToggle),
    boolSetting("showBluetoothToggle", true, &M::showBluetoothToggle),
    boolSetting("showCellularToggle", true, &M::showCellularToggle),
    boolSetting("showWifiToggle", true, &M::showWifiToggle),
    boolSetting("showAirplaneToggle", true, &M::showAirplaneToggle),
    boolSetting("showDndToggle", true, &M::showDndToggle),
    boolSetting("showLocationToggle", true, &M::showLocationToggle),
    boolSetting("showAutoBrightnessToggle", true, &M::showAutoBrightnessToggle),
    boolSetting("showAutoLockToggle", true, &M::showAutoLockToggle),
    boolSetting("showLowPowerToggle", true, &M::showLowPowerToggle),
    boolSetting("showNightShiftToggle", true, &M::showNightShiftToggle),
    boolSetting("showVpnToggle", true, &M::showVpnToggle),
    boolSetting("showRingerToggle", true, &M::showRingerToggle),
    boolSetting("showDarkModeToggle", true, &M::showDarkModeToggle),
    boolSetting("showReduceWhitePointToggle", true, &M::showReduceWhitePointToggle),
    boolSetting("showSmartInvertColorsToggle", true, &M::showSmartInvertColorsToggle),
    boolSetting("showClassicInvertColorsToggle", true, &M::showClassicInvertColorsToggle),
    boolSetting("showAssistiveTouchToggle", true, &M::showAssistiveTouchToggle),

    boolSetting("invertColors_onlyWithDarkModeEnabled", false, &M::invertColors_onlyWithDarkModeEnabled),
    boolSetting("invertColors_onlyWithNightShiftEnabled", false, &M::invertColors_onlyWithNightShiftEnabled),
    boolSetting("reduceWhitePoint_onlyWithDarkModeEnabled", false, &M::reduceWhitePoint_onlyWithDarkModeEnabled),
    boolSetting("reduceWhitePoint_onlyWithNightShiftEnabled", false, &M::reduceWhitePoint_onlyWithNightShiftEnabled),

    boolSetting("restorePreviousVolumeOnAppExit", true, &M::restorePreviousVolumeOnAppExit),
    boolSetting("restorePreviousBrightnessOnAppExit", true, &M::restorePreviousBrightnessOnAppExit),
    boolSetting("restorePreviousOrientationLockOnAppExit", true, &M::restorePreviousOrientationLockOnAppExit),
    boolSetting("restorePreviousCellularOnAppExit", true, &M::restorePreviousCellularOnAppExit),
    boolSetting("restorePreviousWifiOnAppExit", true, &M::restorePreviousWifiOnAppExit),
    boolSetting("restorePreviousBluetoothOnAppExit", true, &M::restorePreviousBluetoothOnAppExit),
    boolSetting("restorePreviousAirplaneOnAppExit", true, &M::restorePreviousAirplaneOnAppExit),
    boolSetting("restorePreviousDNDOnAppExit", true, &M::restorePreviousDNDOnAppExit),
    boolSetting("restorePreviousLocationOnAppExit", true, &M::restorePreviousLocationOnAppExit),
    boolSetting("restorePreviousAutoBrightnessOnAppExit", true, &M::restorePreviousAutoBrightnessOnAppExit),
    boolSetting("restorePreviousAutoLockOnAppExit", true, &M::restorePreviousAutoLockOnAppExit),
    boolSetting("restorePreviousLowPowerOnAppExit", true, &M::restorePreviousLowPowerOnAppExit),
    boolSetting("restorePreviousNightShiftOnAppExit", true, &M::restorePreviousNightShiftOnAppExit),
    boolSetting("restorePreviousVPNOnAppExit", true, &M::restorePreviousVPNOnAppExit),
    boolSetting("restorePreviousRingerOnAppExit", true, &M::restorePreviousRingerOnAppExit),
    boolSetting("restorePreviousDarkModeOnAppExit", true, &M::restorePreviousDarkModeOnAppExit),
    boolSetting("restorePreviousReduceWhitePointOnAppExit", true, &M::restorePreviousReduceWhitePointOnAppExit),
    boolSetting("restorePreviousSmartInvertColorsOnAppExit", true, &M::restorePreviousSmartInvertColorsOnAppExit),
    boolSetting("restorePreviousClassicInvertColorsOnAppExit", true, &M::restorePreviousClassicInvertColorsOnAppExit),
    boolSetting("restorePreviousAssistiveTouchOnAppExit", true, &M::restorePreviousAssistiveTouchOnAppExit),

    boolSetting("hasToRestoreValuesOnLockScreen", true, &M::hasToRestoreValuesOnLockScreen),

    boolSetting("showDisableNCToggleAction", true, &M::showDisableNCToggleAction),
    boolSetting("showDisableCCToggleAction", true, &M::showDisableCCToggleAction),
    boolSetting("showDisableHomeGestureToggleAction", true, &M::showDisableHomeGestureToggleAction),
    boolSetting("showDisableReachabilityToggleAction", true, &M::showDisableReachabilityToggleAction),
    boolSetting("showDisableActivatorToggleAction", true, &M::showDisableActivatorToggleAction),
    boolSetting("showHideNotificationBannersToggleAction", true, &M::showHideNotificationBannersToggleAction),
    boolSetting("showHideStockAlertsToggleAction", true, &M::showHideStockAlertsToggleAction),
    boolSetting("showHideHomeBarToggleAction", true, &M::showHideHomeBarToggleAction),
    boolSetting("showClearAppSwitcherToggleAction", true, &M::showClearAppSwitcherToggleAction),
    boolSetting("showPlayMusicToggleAction", true, &M::showPlayMusicToggleAction),
    boolSetting("showPauseMusicToggleAction", true, &M::showPauseMusicToggleAction),

    boolSetting("hideNotificationBanners_showToastsEnabled", true, &M::hideNotificationBanners_showToastsEnabled),
    boolSetting("hideStockAlerts_showToastsEnabled", true, &M::hideStockAlerts_showToastsEnabled),
    boolSetting("clearAllApps_dontKillNowPlayingAppEnabled", true, &M::clearAllApps_dontKillNowPlayingAppEnabled),
    boolSetting("clearAllApps_dontKillNavigationAppEnabled", true, &M::clearAllApps_dontKillNavigationAppEnabled),

    integerSetting("disableHomeGesture_activationMethod", 0, &M::disableHomeGesture_activationMethod, 0, 3),
    boolSetting("showVolumeHUD", true, &M::showVolumeHUD),
    boolSetting("showBrightnessHUD", false, &M::showBrightnessHUD),
    boolSetting("brightnessAnimated", true, &M::brightnessAnimated),
    boolSetting("hideTessraMenu", false, &M::hideTessraMenu),
    boolSetting("volumeChangeConfirmationAlertEnabled", false, &M::volumeChangeConfirmationAlertEnabled),
    boolSetting("volumeChangeConfirmationAlertOnlyIfMediaPlaying", true,
                &M::volumeChangeConfirmationAlertOnlyIfMediaPlaying),
    boolSetting("debugInformationEnabled", false, &M::debugInformationEnabled),
}};

}  // namespace

int64_t SettingDescription::valueIn(const TessraStorageManager& manager) const {
  if (type == SettingType::Bool) return (manager.*boolField) ? 1 : 0;
  return manager.*integerField;
}

int64_t SettingDescription::valueFor(const platform::plist::Value& stored) const {
  if (!stored.isNumber()) return defaultValue;
  if (type == SettingType::Bool) return stored.boolValue() ? 1 : 0;
  return stored.integerValue();
}

platform::plist::Value SettingDescription::storedValue(int64_t value) const {
  if (type == SettingType::Bool) return platform::plist::Value(value != 0);
  return platform::plist::Value(value);
}

std::span<const SettingDescription> TessraSettings::all() { return kSettings; }

const SettingDescription* TessraSettings::find(std::string_view key) {
  for (const auto& setting : kSettings)
    if (setting.key == key) return &setting;
  return nullptr;
}
