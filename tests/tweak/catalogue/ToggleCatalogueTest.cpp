// The toggle catalogue: names, readable names, type lookups, the state cycles
// and the bottom texts, and how the model objects read and write the store.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/tweak/store/StoreTestEnvironment.h"
#include "tweak/catalogue/Tessra2Action.h"
#include "tweak/catalogue/Tessra2OneStateToggle.h"
#include "tweak/catalogue/Tessra2Slider.h"
#include "tweak/catalogue/Tessra2Toggle.h"
#include "tweak/store/TessraStorageManager.h"

namespace {

using platform::plist::Dictionary;
using platform::plist::Value;

struct Row {
  ToggleType type;
  const char* name;
  const char* readableName;
};

// The catalogue as the store's keys and the panel's texts use it.
const std::vector<Row> kCatalogue = {
    {0, "orientationLock", "Orientation Lock"},
    {1, "bluetooth", "Bluetooth"},
    {2, "cellular", "Cellular Data"},
    {3, "wifi", "Wi-Fi"},
    {4, "airplane", "Airplane Mode"},
    {5, "dnd", "Do Not Disturb"},
    {6, "location", "Location"},
    {7, "autoBrightness", "Auto Brightness"},
    {8, "autoLock", "Auto Lock"},
    {9, "lowPower", "Low Power Mode"},
    {10, "nightShift", "Night Shift"},
    {11, "vpn", "VPN"},
    {12, "ringer", "Ringer"},
    {13, "darkMode", "Dark Mode"},
    {14, "reduceWhitePoint", "Reduce White Point"},
    {15, "smartInvertColors", "Smart Invert Colors"},
    {16, "classicInvertColors", "Classic Invert Colors"},
    {17, "assistiveTouch", "Assistive Touch"},
    {19, "action_disableNC", "Disable Notification Center"},
    {20, "action_disableCC", "Disable Control Center"},
    {21, "action_disableHomeGesture", "Disable Home Gesture"},
    {22, "action_disableReachability", "Disable Reachability"},
    {23, "action_disableActivator", "Disable Activator"},
    {24, "action_hideNotificationBanners", "Hide Notification Banners"},
    {25, "action_hideStockAlerts", "Hide Stock Alerts"},
    {26, "action_hideHomeBar", "Hide Home Bar Grabber"},
    {27, "action_clearAppSwitcher", "Kill All Running Apps"},
    {28, "action_playMusic", "Play Music"},
    {29, "action_pauseMusic", "Pause Music"},
};

constexpr const char* kMaps = "com.apple.Maps";

class ToggleCatalogueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    store().bindSettings();
    store().loadDictionaryFromStorage();
    store().setCurrentBundleId(std::string(kMaps));
    store().setCurrentAppName(std::string("Maps"));
  }
  TessraStorageManager& store() { return TessraStorageManager::sharedInstance(); }
  Value storedToggles() { return env.storedApps()[kMaps]["toggles"]; }

  StoreTestEnvironment env;
};

// --- Names and lookups ---

TEST_F(ToggleCatalogueTest, EveryTypeHasItsNameAndReadableName) {
  for (const Row& row : kCatalogue) {
    EXPECT_EQ(Tessra2Toggle::getNameForToggleType(row.type), row.name);
    EXPECT_EQ(Tessra2Toggle::getReadableNameForToggleType(row.type), row.readableName);
    EXPECT_EQ(Tessra2Toggle::getToggleTypeFromName(row.name), row.type);
    bool isAction = row.type > 18;
    EXPECT_EQ(std::string(row.name).starts_with("action_"), isAction) << row.name;
    // The behaviours' own lookups know only the behaviours.
    EXPECT_EQ(Tessra2Action::getNameForToggleType(row.type).has_value(), isAction) << row.name;
    EXPECT_EQ(Tessra2Action::getToggleTypeFromName(row.name), isAction ? row.type : 30) << row.name;
    EXPECT_EQ(Tessra2Action::getReadableNameForToggleType(row.type).has_value(), isAction) << row.name;
  }
}

TEST_F(ToggleCatalogueTest, TypesOutsideTheTableHaveNoName) {
  for (ToggleType type : {-1, 18, 30, 31}) {
    EXPECT_FALSE(Tessra2Toggle::getNameForToggleType(type).has_value()) << type;
    EXPECT_FALSE(Tessra2Toggle::getReadableNameForToggleType(type).has_value()) << type;
  }
}

TEST_F(ToggleCatalogueTest, NameLookupIsExactAndCaseSensitive) {
  for (const char* name : {"Wifi", "WIFI", "wifi ", "", "action_", "Action_playMusic", "volume"})
    EXPECT_EQ(Tessra2Toggle::getToggleTypeFromName(name), 30) << name;
}

TEST_F(ToggleCatalogueTest, EveryTypeAbove18CountsAsAnAction) {
  EXPECT_FALSE(Tessra2Toggle::toggleTypeIsAction(0));
  EXPECT_FALSE(Tessra2Toggle::toggleTypeIsAction(17));
  EXPECT_FALSE(Tessra2Toggle::toggleTypeIsAction(18));
  EXPECT_FALSE(Tessra2Toggle::toggleTypeIsAction(-1));
  EXPECT_TRUE(Tessra2Toggle::toggleTypeIsAction(19));
  EXPECT_TRUE(Tessra2Toggle::toggleTypeIsAction(30));
}

// --- The lists the panel builds its rings from ---

TEST_F(ToggleCatalogueTest, AnAppWithoutEntryGetsEveryToggleUncustomizedAndSilent) {
  auto toggles = Tessra2Toggle::getAllToggles();
  ASSERT_EQ(toggles.size(), 18u);
  for (size_t i = 0; i < toggles.size(); ++i) {
    EXPECT_EQ(toggles[i]->toggleType(), static_cast<ToggleType>(i));
    EXPECT_EQ(toggles[i]->toggleName(), kCatalogue[i].name);
    EXPECT_EQ(toggles[i]->state(), -1);
    EXPECT_TRUE(toggles[i]->hasToBeShown());
    EXPECT_EQ(toggles[i]->getBottomTextForCurrentState(), "");
  }
  auto actions = Tessra2Action::getAllActions();
  ASSERT_EQ(actions.size(), 11u);
  for (size_t i = 0; i < actions.size(); ++i) {
    EXPECT_EQ(actions[i]->toggleType(), static_cast<ToggleType>(19 + i));
    EXPECT_EQ(actions[i]->state(), -1);
    EXPECT_EQ(actions[i]->getBottomTextForCurrentState(), "");
  }
}

TEST_F(ToggleCatalogueTest, ListsCarryStoredStatesAndVisibility) {
  store().setState(1, ToggleTypeWifi);
  store().setState(0, ToggleTypeBluetooth);
  store().setState(1, ToggleTypePlayMusic);
  store().showWifiToggle = false;
  store().showPauseMusicToggleAction = false;
  env.device.version = "12.4";

  auto toggles = Tessra2Toggle::getAllToggles();
  EXPECT_EQ(toggles[ToggleTypeWifi]->state(), 1);
  EXPECT_EQ(toggles[ToggleTypeBluetooth]->state(), 0);
  EXPECT_FALSE(toggles[ToggleTypeWifi]->hasToBeShown());
  EXPECT_FALSE(toggles[ToggleTypeDarkMode]->hasToBeShown());
  EXPECT_TRUE(toggles[ToggleTypeBluetooth]->hasToBeShown());

  auto actions = Tessra2Action::getAllActions();
  EXPECT_EQ(actions[ToggleTypePlayMusic - 19]->state(), 1);
  EXPECT_FALSE(actions[ToggleTypePauseMusic - 19]->hasToBeShown());
  EXPECT_TRUE(actions[ToggleTypePlayMusic - 19]->hasToBeShown());
}

// --- State cycles ---

TEST_F(ToggleCatalogueTest, ThreeTapsOnASwitchGoRoundAndClearTheStoredState) {
  Tessra2Toggle wifi(ToggleTypeWifi, -1, true);
  EXPECT_EQ(wifi.setNextState(), 1);
  wifi.saveValue();
  EXPECT_EQ(storedToggles(), Value(Dictionary{{"wifi", 1}}));
  EXPECT_EQ(wifi.getBottomTextForCurrentState(), "Enable Wi-Fi when opening Maps");

  EXPECT_EQ(wifi.setNextState(), 0);
  wifi.saveValue();
  EXPECT_EQ(storedToggles(), Value(Dictionary{{"wifi", 0}}));
  EXPECT_EQ(wifi.getBottomTextForCurrentState(), "Disable Wi-Fi when opening Maps");

  EXPECT_EQ(wifi.setNextState(), -1);
  wifi.saveValue();
  EXPECT_EQ(storedToggles(), Value(Dictionary{}));
  EXPECT_EQ(wifi.getBottomTextForCurrentState(), "");
  EXPECT_EQ(env.reloadPosts, 3);
}

TEST_F(ToggleCatalogueTest, SwitchStatesOutsideTheCycleStay) {
  Tessra2Toggle odd(ToggleTypeDnd, 5, true);
  EXPECT_EQ(odd.setNextState(), 5);
  EXPECT_EQ(odd.getBottomTextForCurrentState(), "Disable Do Not Disturb when opening Maps");
  Tessra2Toggle negative(ToggleTypeDnd, -2, true);
  EXPECT_EQ(negative.setNextState(), -2);
}

TEST_F(ToggleCatalogueTest, TwoTapsOnABehaviourGoOnAndOff) {
  Tessra2Action alerts(ToggleTypeHideStockAlerts, -1, true);
  EXPECT_EQ(alerts.setNextState(), 1);
  alerts.saveValue();
  EXPECT_EQ(storedToggles(), Value(Dictionary{{"action_hideStockAlerts", 1}}));
  EXPECT_EQ(alerts.setNextState(), -1);
  alerts.saveValue();
  EXPECT_EQ(storedToggles(), Value(Dictionary{}));
}

TEST_F(ToggleCatalogueTest, ABehaviourStoredAsZeroStaysZero) {
  store().setState(0, ToggleTypeDisableCC);
  auto actions = Tessra2Action::getAllActions();
  auto& disableCC = actions[ToggleTypeDisableCC - 19];
  ASSERT_EQ(disableCC->state(), 0);
  EXPECT_EQ(disableCC->setNextState(), 0);
  EXPECT_EQ(disableCC->getBottomTextForCurrentState(), "Disable Control Center while using Maps");
}

// --- Bottom texts ---

TEST_F(ToggleCatalogueTest, BehavioursSayWhileUsingOrWhenOpening) {
  auto textFor = [](ToggleType type) { return Tessra2Action(type, 1, true).getBottomTextForCurrentState(); };
  EXPECT_EQ(textFor(ToggleTypeDisableNC), "Disable Notification Center while using Maps");
  EXPECT_EQ(textFor(ToggleTypeHideStockAlerts), "Hide Stock Alerts while using Maps");
  EXPECT_EQ(textFor(ToggleTypeHideHomeBar), "Hide Home Bar Grabber while using Maps");
  EXPECT_EQ(textFor(ToggleTypeClearAppSwitcher), "Kill All Running Apps when opening Maps");
  EXPECT_EQ(textFor(ToggleTypePlayMusic), "Play Music when opening Maps");
  EXPECT_EQ(textFor(ToggleTypePauseMusic), "Pause Music when opening Maps");
  EXPECT_EQ(textFor(ToggleTypeWifi), "");
  EXPECT_EQ(textFor(ToggleTypeUnknown), "");
}

TEST_F(ToggleCatalogueTest, OneStateTogglesSayWhenUsing) {
  Tessra2OneStateToggle lowPower(ToggleTypeLowPower, 1, true);
  EXPECT_EQ(lowPower.getBottomTextForCurrentState(), "Low Power Mode when using Maps");
  EXPECT_EQ(lowPower.setNextState(), -1);
  EXPECT_EQ(lowPower.getBottomTextForCurrentState(), "");
}

TEST_F(ToggleCatalogueTest, TextsFollowTheCurrentAppName) {
  Tessra2Toggle ringer(ToggleTypeRinger, 1, true);
  store().setCurrentAppName(std::string("Notes"));
  EXPECT_EQ(ringer.getBottomTextForCurrentState(), "Enable Ringer when opening Notes");
}

// --- Sliders ---

TEST_F(ToggleCatalogueTest, SlidersSaveTheirPercentAsAFraction) {
  Tessra2Slider volume(Tessra2Slider::SliderTypeVolume);
  EXPECT_EQ(volume.percentValue(), 0);
  volume.setPercentValue(40);
  volume.saveValue();
  Tessra2Slider brightness(Tessra2Slider::SliderTypeBrightness);
  brightness.setPercentValue(100);
  brightness.saveValue();
  Value entry = env.storedApps()[kMaps];
  EXPECT_EQ(entry["volume"], Value(0.4));
  EXPECT_EQ(entry["brightness"], Value(1.0));

  volume.setPercentValue(-1);
  volume.saveValue();
  EXPECT_FALSE(env.storedApps()[kMaps].dictionary().contains("volume"));
}

TEST_F(ToggleCatalogueTest, ASliderOfAnotherTypeSavesNothing) {
  Tessra2Slider other(2);
  other.setPercentValue(50);
  other.saveValue();
  EXPECT_EQ(env.reloadPosts, 0);
  EXPECT_EQ(store().wholeStorageDictionary(), Value(Dictionary{}));
}

}  // namespace
