#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/runtime/Runtime.h"
#include "platform/runtime/Substrate.h"
#include "tests/tweak/controls/ControlsTestDevice.h"
#include "tweak/controls/FlipswitchHelper.h"

using platform::FSSwitchState;
using platform::id;
using platform::SEL;

namespace {

// Calls that reach the platform, counted through hooks on the device's classes.
struct PlatformCalls {
  std::vector<std::string> panelSets;  // full identifiers passed to setState:forSwitchIdentifier:
  int bluetoothSets = 0;
  int styleToggles = 0;
  std::vector<std::string> volumeCategories;  // categories passed to setVolume:forCategory:
};
PlatformCalls gCalls;

void (*gPanelSetState)(id, SEL, FSSwitchState, std::string) = nullptr;
void recordPanelSetState(id self, SEL sel, FSSwitchState state, std::string identifier) {
  gCalls.panelSets.push_back(identifier);
  gPanelSetState(self, sel, state, std::move(identifier));
}

void (*gBluetoothSetEnabled)(id, SEL, bool) = nullptr;
void recordBluetoothSetEnabled(id self, SEL sel, bool enabled) {
  ++gCalls.bluetoothSets;
  gBluetoothSetEnabled(self, sel, enabled);
}

void (*gToggleCurrentStyle)(id, SEL) = nullptr;
void recordToggleCurrentStyle(id self, SEL sel) {
  ++gCalls.styleToggles;
  gToggleCurrentStyle(self, sel);
}

void (*gVolumeControlSetVolume)(id, SEL, float, std::string) = nullptr;
void recordVolumeControlSetVolume(id self, SEL sel, float volume, std::string category) {
  gCalls.volumeCategories.push_back(category);
  gVolumeControlSetVolume(self, sel, volume, std::move(category));
}

std::string full(std::string_view shortIdentifier) { return "com.a3tweaks.switch." + std::string(shortIdentifier); }

// A fresh device of one system version, with the platform calls recorded.
class FlipswitchHelperTest : public ::testing::TestWithParam<const char*> {
 protected:
  FlipswitchHelperTest() : device_(GetParam()) {}

  void SetUp() override {
    gCalls = {};
    ASSERT_TRUE(platform::MSHookMessageEx(platform::objc_getClass("FSSwitchPanel"),
                                          SELECTOR("setState:forSwitchIdentifier:"), &recordPanelSetState,
                                          &gPanelSetState));
    ASSERT_TRUE(platform::MSHookMessageEx(platform::objc_getClass("BluetoothManager"), SELECTOR("setEnabled:"),
                                          &recordBluetoothSetEnabled, &gBluetoothSetEnabled));
    if (auto* arbiter = platform::objc_getClass("UIUserInterfaceStyleArbiter")) {
      ASSERT_TRUE(platform::MSHookMessageEx(arbiter, SELECTOR("toggleCurrentStyle"), &recordToggleCurrentStyle,
                                            &gToggleCurrentStyle));
    }
    if (auto* volumeControl = platform::objc_getClass("SBVolumeControl")) {
      ASSERT_TRUE(platform::MSHookMessageEx(volumeControl, SELECTOR("setVolume:forCategory:"),
                                            &recordVolumeControlSetVolume, &gVolumeControlSetVolume));
    }
  }

  bool from13() const { return std::string(GetParam()) >= "13"; }
  platform::springboard::SwitchesState& switches() { return ControlsTestDevice::model().state().switches(); }

  ControlsTestDevice device_;
};

// --- Switches behind the Flipswitch panel

TEST_P(FlipswitchHelperTest, PanelSwitchesAreSetAndReadByTheirFullIdentifier) {
  const std::vector<std::pair<ToggleType, std::string_view>> panelSwitches = {
      {ToggleTypeOrientationLock, "rotation-lock"},
      {ToggleTypeCellular, "cellular-data"},
      {ToggleTypeWifi, "wifi"},
      {ToggleTypeAirplane, "airplane-mode"},
      {ToggleTypeDnd, "do-not-disturb"},
      {ToggleTypeLocation, "location"},
      {ToggleTypeAutoBrightness, "auto-brightness"},
      {ToggleTypeAutoLock, "autolock"},
      {ToggleTypeLowPower, "low-power"},
      {ToggleTypeNightShift, "night-shift"},
      {ToggleTypeVpn, "vpn"},
  };
  for (auto [type, shortIdentifier] : panelSwitches) {
    SCOPED_TRACE(shortIdentifier);
    FlipswitchHelper::setToggle(type, true);
    EXPECT_EQ(switches().state(full(shortIdentifier)), FSSwitchState::On);
    EXPECT_TRUE(FlipswitchHelper::isToggleEnabled(type));
    FlipswitchHelper::setToggle(type, false);
    EXPECT_EQ(switches().state(full(shortIdentifier)), FSSwitchState::Off);
    EXPECT_FALSE(FlipswitchHelper::isToggleEnabled(type));
    EXPECT_EQ(FlipswitchHelper::getFlipswitchIdentifierForToggleType(type), shortIdentifier);
  }
}

TEST_P(FlipswitchHelperTest, NamedPairsReachTheSameSwitches) {
  FlipswitchHelper::setWifiEnabled(false);
  FlipswitchHelper::setAirplaneEnabled(true);
  FlipswitchHelper::setDNDEnabled(true);
  EXPECT_EQ(switches().state(full("wifi")), FSSwitchState::Off);
  EXPECT_EQ(switches().state(full("airplane-mode")), FSSwitchState::On);
  EXPECT_EQ(switches().state(full("do-not-disturb")), FSSwitchState::On);
  EXPECT_FALSE(FlipswitchHelper::isWifiEnabled());
  EXPECT_TRUE(FlipswitchHelper::isAirplaneEnabled());
  EXPECT_TRUE(FlipswitchHelper::isDNDEnabled());
}

TEST_P(FlipswitchHelperTest, AnIndeterminateSwitchReadsOn) {
  switches().setState(full("vpn"), FSSwitchState::Indeterminate);
  EXPECT_TRUE(FlipswitchHelper::isToggleEnabled(ToggleTypeVpn));
  EXPECT_TRUE(FlipswitchHelper::getFlipswitchStateForIdentifier("vpn"));
}

TEST_P(FlipswitchHelperTest, BehavioursAndUnknownTypesReadOffAndSetNothing) {
  const size_t before = ControlsTestDevice::model().state().eventLog().size();
  for (ToggleType type : {-1, 18, 19, 24, 27, 29, 30, 1000}) {
    SCOPED_TRACE(type);
    FlipswitchHelper::setToggle(type, true);
    EXPECT_FALSE(FlipswitchHelper::isToggleEnabled(type));
    EXPECT_EQ(FlipswitchHelper::getFlipswitchIdentifierForToggleType(type), std::nullopt);
  }
  EXPECT_EQ(ControlsTestDevice::model().state().eventLog().size(), before);
  EXPECT_TRUE(gCalls.panelSets.empty());
}

// --- Bluetooth

TEST_P(FlipswitchHelperTest, BluetoothIsSetThroughItsManagerOnlyWhenItChanges) {
  switches().setBluetoothEnabled(true);
  FlipswitchHelper::setToggle(ToggleTypeBluetooth, true);
  EXPECT_EQ(gCalls.bluetoothSets, 0);

  FlipswitchHelper::setToggle(ToggleTypeBluetooth, false);
  EXPECT_EQ(gCalls.bluetoothSets, 1);
  EXPECT_FALSE(switches().bluetoothEnabled());
  EXPECT_FALSE(FlipswitchHelper::isToggleEnabled(ToggleTypeBluetooth));
  FlipswitchHelper::setBluetoothEnabled(false);
  EXPECT_EQ(gCalls.bluetoothSets, 1);
  EXPECT_TRUE(gCalls.panelSets.empty());
  // The identifier is known although the dispatch does not use it.
  EXPECT_EQ(FlipswitchHelper::getFlipswitchIdentifierForToggleType(ToggleTypeBluetooth), "bluetooth");
}

// --- Ringer and dark mode: version branches

TEST_P(FlipswitchHelperTest, TheRingerGoesThroughTheRingerControlFrom13AndFlipswitchBefore) {
  switches().setRingerMuted(false);
  FlipswitchHelper::setToggle(ToggleTypeRinger, false);
  EXPECT_TRUE(switches().ringerMuted());
  EXPECT_FALSE(FlipswitchHelper::isToggleEnabled(ToggleTypeRinger));
  FlipswitchHelper::setToggle(ToggleTypeRinger, true);
  EXPECT_FALSE(switches().ringerMuted());
  EXPECT_TRUE(FlipswitchHelper::isToggleEnabled(ToggleTypeRinger));

  if (from13()) {
    EXPECT_TRUE(gCalls.panelSets.empty());
    EXPECT_TRUE(FlipswitchHelper::isRingerEnablediOS13());
  } else {
    EXPECT_EQ(gCalls.panelSets, (std::vector<std::string>{full("ringer"), full("ringer")}));
    // The ringer control's own pair does nothing below 13.0.
    EXPECT_FALSE(FlipswitchHelper::isRingerEnablediOS13());
    FlipswitchHelper::setRingerEnablediOS13(false);
    EXPECT_FALSE(switches().ringerMuted());
  }
}

TEST_P(FlipswitchHelperTest, DarkModeTogglesTheStyleOnlyWhenItMustChange) {
  FlipswitchHelper::setToggle(ToggleTypeDarkMode, false);  // already light
  EXPECT_EQ(gCalls.styleToggles, 0);
  FlipswitchHelper::setToggle(ToggleTypeDarkMode, true);
  if (!from13()) {
    EXPECT_FALSE(FlipswitchHelper::isToggleEnabled(ToggleTypeDarkMode));
    EXPECT_EQ(switches().interfaceStyle(), 1);
    return;
  }
  EXPECT_EQ(gCalls.styleToggles, 1);
  EXPECT_EQ(switches().interfaceStyle(), 2);
  EXPECT_TRUE(FlipswitchHelper::isiOS13DarkModeEnabled());
  FlipswitchHelper::setToggle(ToggleTypeDarkMode, true);  // already dark
  EXPECT_EQ(gCalls.styleToggles, 1);
  FlipswitchHelper::setiOS13DarkModeEnabled(false);
  EXPECT_EQ(gCalls.styleToggles, 2);
  EXPECT_FALSE(FlipswitchHelper::isToggleEnabled(ToggleTypeDarkMode));
}

// --- Accessibility switches

TEST_P(FlipswitchHelperTest, ReduceWhitePointAndAssistiveTouchGoThroughTheAccessibilitySettings) {
  FlipswitchHelper::setToggle(ToggleTypeReduceWhitePoint, true);
  FlipswitchHelper::setToggle(ToggleTypeAssistiveTouch, true);
  EXPECT_TRUE(switches().reduceWhitePointEnabled());
  EXPECT_TRUE(switches().assistiveTouchEnabled());
  switches().setAssistiveTouchEnabled(false);
  EXPECT_TRUE(FlipswitchHelper::isToggleEnabled(ToggleTypeReduceWhitePoint));
  EXPECT_FALSE(FlipswitchHelper::isToggleEnabled(ToggleTypeAssistiveTouch));
}

TEST_P(FlipswitchHelperTest, InvertColoursAreWrittenAsOneByteNumbersAndAnnounced) {
  auto& preferences = ControlsTestDevice::model().state().appPreferences();
  FlipswitchHelper::setToggle(ToggleTypeClassicInvertColors, true);
  EXPECT_TRUE(switches().classicInvertEnabled());
  FlipswitchHelper::setClasicInvertColorsEnabled(false);
  const auto stored = preferences.storedValue("com.apple.Accessibility", "AXSClassicInvertColorsPreference");
  ASSERT_EQ(stored.type(), platform::plist::Type::Integer);
  EXPECT_EQ(stored.integerValue(), 0);
  // The accessibility system picked the change up, so it was announced for that key.
  EXPECT_FALSE(switches().classicInvertEnabled());
  EXPECT_FALSE(FlipswitchHelper::isClassicInvertColorsEnabled());

  FlipswitchHelper::setSmartInvertColorsEnabled(true);
  EXPECT_EQ(preferences.storedValue("com.apple.Accessibility", "InvertColorsEnabled").integerValue(), 1);
  EXPECT_TRUE(switches().smartInvertEnabled());
  EXPECT_FALSE(switches().classicInvertEnabled());
}

TEST_P(FlipswitchHelperTest, InvertColoursReadWhatAnotherProcessStored) {
  auto& preferences = ControlsTestDevice::model().state().appPreferences();
  preferences.setStoredValue("com.apple.Accessibility", "InvertColorsEnabled", platform::plist::Value(int64_t{1}));
  EXPECT_TRUE(FlipswitchHelper::isToggleEnabled(ToggleTypeSmartInvertColors));
  EXPECT_FALSE(FlipswitchHelper::isToggleEnabled(ToggleTypeClassicInvertColors));
}

// --- Volume, brightness and media

TEST_P(FlipswitchHelperTest, VolumeIsSetAndReadAsTheMediaVolume) {
  auto& audio = ControlsTestDevice::model().state().audio();
  FlipswitchHelper::setVolume(0.25);
  EXPECT_FLOAT_EQ(audio.volume(), 0.25f);
  // From 13.0 the volume control sets it in the media category; below, that class does not exist.
  EXPECT_EQ(gCalls.volumeCategories, from13() ? std::vector<std::string>{"Audio/Video"} : std::vector<std::string>{});
  EXPECT_DOUBLE_EQ(FlipswitchHelper::getVolume(), static_cast<double>(0.25f));
  FlipswitchHelper::changeVolumeBy(0.5);
  EXPECT_FLOAT_EQ(audio.volume(), 0.75f);
  EXPECT_FALSE(FlipswitchHelper::isMediaPlaying());
  ControlsTestDevice::model().startPlaying("com.apple.Music");
  EXPECT_TRUE(FlipswitchHelper::isMediaPlaying());
}

TEST_P(FlipswitchHelperTest, BrightnessIsSetWithTheIndicatorOnlyWhenTheSettingAsks) {
  auto& display = ControlsTestDevice::model().state().display();
  FlipswitchHelper::setBrightness(0.2);
  EXPECT_NEAR(display.brightness(), 0.2, 1e-6);
  EXPECT_NEAR(FlipswitchHelper::getBrightness(), 0.2, 1e-6);
  EXPECT_EQ(display.brightnessHudShows(), 0);
  ControlsTestDevice::settings().showBrightnessHUD = true;
  FlipswitchHelper::setBrightness(0.9);
  EXPECT_NEAR(display.brightness(), 0.9, 1e-6);
  EXPECT_EQ(display.brightnessHudShows(), 1);
}

// --- Classes missing from the device

TEST_P(FlipswitchHelperTest, MissingClassesMakeSettersDoNothingAndReadersAnswerNo) {
  switches().setState(full("wifi"), FSSwitchState::On);
  switches().setBluetoothEnabled(true);
  for (const char* name : {"FSSwitchPanel", "BluetoothManager", "AXSettings", "SBMediaController", "SBVolumeControl",
                           "SBDisplayBrightnessController", "SBBrightnessController", "PSBrightnessSettingsDetail"})
    platform::Runtime::unregisterClass(name);
  const size_t before = ControlsTestDevice::model().state().eventLog().size();

  EXPECT_FALSE(FlipswitchHelper::isWifiEnabled());
  EXPECT_FALSE(FlipswitchHelper::isBluetoothEnabled());
  EXPECT_FALSE(FlipswitchHelper::isAssistiveTouchEnabled());
  EXPECT_EQ(FlipswitchHelper::getVolume(), 0.0);
  EXPECT_EQ(FlipswitchHelper::getBrightness(), 0.0);
  FlipswitchHelper::setWifiEnabled(false);
  FlipswitchHelper::setBluetoothEnabled(false);
  FlipswitchHelper::setReduceWhitePointEnabled(true);
  FlipswitchHelper::setVolume(0.1);
  FlipswitchHelper::setBrightness(0.1);
  EXPECT_EQ(ControlsTestDevice::model().state().eventLog().size(), before);
}

// 13.0 is the first version of the 13 branches: the version string reads as the number 13.
INSTANTIATE_TEST_SUITE_P(SystemVersions, FlipswitchHelperTest, ::testing::Values("12.4", "13.0", "13.3"),
                         [](const auto& info) {
                           std::string name = std::string("iOS") + info.param;
                           std::replace(name.begin(), name.end(), '.', '_');
                           return name;
                         });

TEST(FlipswitchHelperIdentifierTest, FullIdentifiersCarryTheLibraryPrefix) {
  EXPECT_EQ(FlipswitchHelper::getFullFlipswitchIdentifierForIdentifier("night-shift"),
            "com.a3tweaks.switch.night-shift");
  for (ToggleType type = ToggleTypeDarkMode; type <= ToggleTypeAssistiveTouch; ++type)
    EXPECT_EQ(FlipswitchHelper::getFlipswitchIdentifierForToggleType(type), std::nullopt) << type;
}

}  // namespace
