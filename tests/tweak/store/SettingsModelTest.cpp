// The settings mirrored by TessraStorageManager: the seventy keys, their
// binding, and the three queries that interpret them.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/tweak/store/StoreTestEnvironment.h"
#include "tweak/store/TessraSettings.h"
#include "tweak/store/TessraStorageManager.h"

namespace {

using platform::plist::Value;

// Every key with its default, in binding order, as the settings bundle and the plug-in agree on them.
const std::vector<std::pair<std::string, int64_t>> kExpectedKeys = {
    {"enabled", 1},
    {"itemsBeforeStockItems", 0},
    {"interfaceColorStyle", 2},
    {"useCrossInsteadOfLongPressGestureForSliders", 1},
    {"showOrientationLockToggle", 1},
    {"showBluetoothToggle", 1},
    {"showCellularToggle", 1},
    {"showWifiToggle", 1},
    {"showAirplaneToggle", 1},
    {"showDndToggle", 1},
    {"showLocationToggle", 1},
    {"showAutoBrightnessToggle", 1},
    {"showAutoLockToggle", 1},
    {"showLowPowerToggle", 1},
    {"showNightShiftToggle", 1},
    {"showVpnToggle", 1},
    {"showRingerToggle", 1},
    {"showDarkModeToggle", 1},
    {"showReduceWhitePointToggle", 1},
    {"showSmartInvertColorsToggle", 1},
    {"showClassicInvertColorsToggle", 1},
    {"showAssistiveTouchToggle", 1},
    {"invertColors_onlyWithDarkModeEnabled", 0},
    {"invertColors_onlyWithNightShiftEnabled", 0},
    {"reduceWhitePoint_onlyWithDarkModeEnabled", 0},
    {"reduceWhitePoint_onlyWithNightShiftEnabled", 0},
    {"restorePreviousVolumeOnAppExit", 1},
    {"restorePreviousBrightnessOnAppExit", 1},
    {"restorePreviousOrientationLockOnAppExit", 1},
    {"restorePreviousCellularOnAppExit", 1},
    {"restorePreviousWifiOnAppExit", 1},
    {"restorePreviousBluetoothOnAppExit", 1},
    {"restorePreviousAirplaneOnAppExit", 1},
    {"restorePreviousDNDOnAppExit", 1},
    {"restorePreviousLocationOnAppExit", 1},
    {"restorePreviousAutoBrightnessOnAppExit", 1},
    {"restorePreviousAutoLockOnAppExit", 1},
    {"restorePreviousLowPowerOnAppExit", 1},
    {"restorePreviousNightShiftOnAppExit", 1},
    {"restorePreviousVPNOnAppExit", 1},
    {"restorePreviousRingerOnAppExit", 1},
    {"restorePreviousDarkModeOnAppExit", 1},
    {"restorePreviousReduceWhitePointOnAppExit", 1},
    {"restorePreviousSmartInvertColorsOnAppExit", 1},
    {"restorePreviousClassicInvertColorsOnAppExit", 1},
    {"restorePreviousAssistiveTouchOnAppExit", 1},
    {"hasToRestoreValuesOnLockScreen", 1},
    {"showDisableNCToggleAction", 1},
    {"showDisableCCToggleAction", 1},
    {"showDisableHomeGestureToggleAction", 1},
    {"showDisableReachabilityToggleAction", 1},
    {"showDisableActivatorToggleAction", 1},
    {"showHideNotificationBannersToggleAction", 1},
    {"showHideStockAlertsToggleAction", 1},
    {"showHideHomeBarToggleAction", 1},
    {"showClearAppSwitcherToggleAction", 1},
    {"showPlayMusicToggleAction", 1},
    {"showPauseMusicToggleAction", 1},
    {"hideNotificationBanners_showToastsEnabled", 1},
    {"hideStockAlerts_showToastsEnabled", 1},
    {"clearAllApps_dontKillNowPlayingAppEnabled", 1},
    {"clearAllApps_dontKillNavigationAppEnabled", 1},
    {"disableHomeGesture_activationMethod", 0},
    {"showVolumeHUD", 1},
    {"showBrightnessHUD", 0},
    {"brightnessAnimated", 1},
    {"hideTessraMenu", 0},
    {"volumeChangeConfirmationAlertEnabled", 0},
    {"volumeChangeConfirmationAlertOnlyIfMediaPlaying", 1},
    {"debugInformationEnabled", 0},
};

// Which setting offers each type in the panel, and which restores it (empty: none).
struct TypeKeys {
  ToggleType type;
  const char* show;
  const char* restore;
};
const std::vector<TypeKeys> kTypeKeys = {
    {0, "showOrientationLockToggle", "restorePreviousOrientationLockOnAppExit"},
    {1, "showBluetoothToggle", "restorePreviousBluetoothOnAppExit"},
    {2, "showCellularToggle", "restorePreviousCellularOnAppExit"},
    {3, "showWifiToggle", "restorePreviousWifiOnAppExit"},
    {4, "showAirplaneToggle", "restorePreviousAirplaneOnAppExit"},
    {5, "showDndToggle", "restorePreviousDNDOnAppExit"},
    {6, "showLocationToggle", "restorePreviousLocationOnAppExit"},
    {7, "showAutoBrightnessToggle", "restorePreviousAutoBrightnessOnAppExit"},
    {8, "showAutoLockToggle", "restorePreviousAutoLockOnAppExit"},
    {9, "showLowPowerToggle", "restorePreviousLowPowerOnAppExit"},
    {10, "showNightShiftToggle", "restorePreviousNightShiftOnAppExit"},
    {11, "showVpnToggle", "restorePreviousVPNOnAppExit"},
    {12, "showRingerToggle", "restorePreviousRingerOnAppExit"},
    {13, "showDarkModeToggle", "restorePreviousDarkModeOnAppExit"},
    {14, "showReduceWhitePointToggle", "restorePreviousReduceWhitePointOnAppExit"},
    {15, "showSmartInvertColorsToggle", "restorePreviousSmartInvertColorsOnAppExit"},
    {16, "showClassicInvertColorsToggle", "restorePreviousClassicInvertColorsOnAppExit"},
    {17, "showAssistiveTouchToggle", "restorePreviousAssistiveTouchOnAppExit"},
    {19, "showDisableNCToggleAction", ""},
    {20, "showDisableCCToggleAction", ""},
    {21, "showDisableHomeGestureToggleAction", ""},
    {22, "showDisableReachabilityToggleAction", ""},
    {23, "showDisableActivatorToggleAction", ""},
    {24, "showHideNotificationBannersToggleAction", ""},
    {25, "showHideStockAlertsToggleAction", ""},
    {26, "showHideHomeBarToggleAction", ""},
    {27, "showClearAppSwitcherToggleAction", ""},
    {28, "showPlayMusicToggleAction", ""},
    {29, "showPauseMusicToggleAction", ""},
};

class SettingsModelTest : public ::testing::Test {
 protected:
  TessraStorageManager& manager() { return TessraStorageManager::sharedInstance(); }
  bool& field(const std::string& key) { return manager().*(TessraSettings::find(key)->boolField); }
  void setAllBoolSettings(bool value) {
    for (const auto& setting : TessraSettings::all())
      if (setting.type == SettingType::Bool) manager().*setting.boolField = value;
  }

  StoreTestEnvironment env;
};

// --- The table and its binding ---

TEST_F(SettingsModelTest, TableHoldsTheSeventyKeysInBindingOrderWithTheirDefaults) {
  auto settings = TessraSettings::all();
  ASSERT_EQ(settings.size(), kExpectedKeys.size());
  size_t integers = 0;
  for (size_t i = 0; i < settings.size(); ++i) {
    EXPECT_EQ(settings[i].key, kExpectedKeys[i].first) << "position " << i;
    EXPECT_EQ(settings[i].defaultValue, kExpectedKeys[i].second) << settings[i].key;
    if (settings[i].type == SettingType::Integer) ++integers;
  }
  EXPECT_EQ(integers, 2u);
  EXPECT_EQ(TessraSettings::find("interfaceColorStyle")->type, SettingType::Integer);
  EXPECT_EQ(TessraSettings::find("disableHomeGesture_activationMethod")->type, SettingType::Integer);
  EXPECT_EQ(TessraSettings::find("showInformationTextOnBottom"), nullptr);
  EXPECT_EQ(TessraSettings::find("customizedApps"), nullptr);
  EXPECT_EQ(TessraSettings::find("Enabled"), nullptr);
}

TEST_F(SettingsModelTest, UnboundFieldsAreAllZeroAndTheQueriesAnswerFromThem) {
  // The settings bundle's process: nothing binds.
  for (const auto& setting : TessraSettings::all()) EXPECT_EQ(setting.valueIn(manager()), 0) << setting.key;
  EXPECT_FALSE(manager().showInformationTextOnBottom);
  for (ToggleType type = -1; type <= 31; ++type) {
    EXPECT_FALSE(TessraStorageManager::toggleHasToBeShown(type)) << type;
    EXPECT_FALSE(TessraStorageManager::previousValueHasToBeRestoredIfChangedForToggle(type)) << type;
  }
  EXPECT_EQ(manager().getInterfaceColorStyle(), 0);
}

TEST_F(SettingsModelTest, FreshDomainBindsEveryDefault) {
  manager().bindSettings();
  for (const auto& [key, def] : kExpectedKeys) EXPECT_EQ(TessraSettings::find(key)->valueIn(manager()), def) << key;
  EXPECT_TRUE(manager().showInformationTextOnBottom);
  ASSERT_NE(manager().preferences(), nullptr);

  env.device.darkMode = true;
  EXPECT_EQ(manager().getInterfaceColorStyle(), 0);
  env.device.darkMode = false;
  EXPECT_EQ(manager().getInterfaceColorStyle(), 1);
}

TEST_F(SettingsModelTest, StoredValuesWinOverDefaults) {
  env.writeDomain("enabled", Value(false));
  env.writeDomain("interfaceColorStyle", Value(int64_t{0}));
  env.writeDomain("disableHomeGesture_activationMethod", Value(int64_t{3}));
  env.writeDomain("showBrightnessHUD", Value(true));
  manager().bindSettings();
  EXPECT_FALSE(manager().enabled);
  EXPECT_EQ(manager().interfaceColorStyle, 0);
  EXPECT_EQ(manager().disableHomeGesture_activationMethod, 3);
  EXPECT_TRUE(manager().showBrightnessHUD);
  EXPECT_TRUE(manager().showWifiToggle);
}

TEST_F(SettingsModelTest, ReloadPrefsRefreshesBoundFieldsWithoutRestart) {
  manager().bindSettings();
  ASSERT_TRUE(TessraStorageManager::previousValueHasToBeRestoredIfChangedForToggle(ToggleTypeWifi));
  env.writeDomain("restorePreviousWifiOnAppExit", Value(false));
  platform::DarwinNotificationCenter::shared().postNotification(std::string(tessra::kReloadPrefsNotification));
  EXPECT_FALSE(manager().restorePreviousWifiOnAppExit);
  EXPECT_FALSE(TessraStorageManager::previousValueHasToBeRestoredIfChangedForToggle(ToggleTypeWifi));
  EXPECT_TRUE(TessraStorageManager::previousValueHasToBeRestoredIfChangedForToggle(ToggleTypeBluetooth));
}

TEST_F(SettingsModelTest, BindingTwiceKeepsTheFirstPreferencesObject) {
  manager().bindSettings();
  platform::HBPreferences* first = manager().preferences();
  manager().bindSettings();
  EXPECT_EQ(manager().preferences(), first);
}

// --- toggleHasToBeShown ---

TEST_F(SettingsModelTest, EachTypeIsOfferedByItsOwnSetting) {
  for (const auto& expected : kTypeKeys) {
    setAllBoolSettings(true);
    field(expected.show) = false;
    for (const auto& other : kTypeKeys)
      EXPECT_EQ(TessraStorageManager::toggleHasToBeShown(other.type), other.type != expected.type)
          << expected.show << " turned off, asking type " << other.type;
  }
}

TEST_F(SettingsModelTest, TypesWithoutMeaningAreNeverOffered) {
  setAllBoolSettings(true);
  for (ToggleType type : {-1, 18, 30, 31, 1000}) EXPECT_FALSE(TessraStorageManager::toggleHasToBeShown(type)) << type;
}

TEST_F(SettingsModelTest, DarkModeIsOfferedOnlyFromSystem13) {
  manager().showDarkModeToggle = true;
  env.device.version = "12.4";
  EXPECT_FALSE(TessraStorageManager::toggleHasToBeShown(ToggleTypeDarkMode));
  env.device.version = "12.99";
  EXPECT_FALSE(TessraStorageManager::toggleHasToBeShown(ToggleTypeDarkMode));
  env.device.version = "13.0";
  EXPECT_TRUE(TessraStorageManager::toggleHasToBeShown(ToggleTypeDarkMode));
  env.device.version = "13.3.1";
  EXPECT_TRUE(TessraStorageManager::toggleHasToBeShown(ToggleTypeDarkMode));
  manager().showDarkModeToggle = false;
  EXPECT_FALSE(TessraStorageManager::toggleHasToBeShown(ToggleTypeDarkMode));
}

// --- previousValueHasToBeRestoredIfChangedForToggle ---

TEST_F(SettingsModelTest, EachSwitchIsRestoredByItsOwnSetting) {
  for (const auto& expected : kTypeKeys) {
    if (!*expected.restore) continue;
    setAllBoolSettings(true);
    field(expected.restore) = false;
    for (ToggleType type = 0; type <= 17; ++type)
      EXPECT_EQ(TessraStorageManager::previousValueHasToBeRestoredIfChangedForToggle(type), type != expected.type)
          << expected.restore << " turned off, asking type " << type;
  }
}

TEST_F(SettingsModelTest, BehavioursAndUnknownTypesAreNeverRestored) {
  setAllBoolSettings(true);
  for (ToggleType type : {-1, 18, 19, 24, 29, 30, 31})
    EXPECT_FALSE(TessraStorageManager::previousValueHasToBeRestoredIfChangedForToggle(type)) << type;
}

// --- getInterfaceColorStyle ---

TEST_F(SettingsModelTest, FixedStylesIgnoreTheSystemAndOddValuesPassThrough) {
  env.device.darkMode = true;
  manager().interfaceColorStyle = 1;
  EXPECT_EQ(manager().getInterfaceColorStyle(), 1);
  env.device.darkMode = false;
  manager().interfaceColorStyle = 0;
  EXPECT_EQ(manager().getInterfaceColorStyle(), 0);
  manager().interfaceColorStyle = 7;
  EXPECT_EQ(manager().getInterfaceColorStyle(), 7);
  manager().interfaceColorStyle = -3;
  EXPECT_EQ(manager().getInterfaceColorStyle(), -3);
}

TEST_F(SettingsModelTest, PanelFromTheSettingsBundleIsAlwaysDark) {
  manager().interfaceColorStyle = 1;
  manager().setIsPresentingTessraFromSettings(true);
  EXPECT_EQ(manager().getInterfaceColorStyle(), 0);
  manager().interfaceColorStyle = 2;
  env.device.darkMode = false;
  EXPECT_EQ(manager().getInterfaceColorStyle(), 0);
  manager().setIsPresentingTessraFromSettings(false);
  EXPECT_EQ(manager().getInterfaceColorStyle(), 1);
}

}  // namespace
