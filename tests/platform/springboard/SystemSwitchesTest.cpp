#include <gtest/gtest.h>

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/AXSettings.h"
#include "platform/springboard/BluetoothManager.h"
#include "platform/springboard/CFPreferences.h"
#include "platform/springboard/FSSwitchPanel.h"
#include "platform/springboard/GraphicsServices.h"
#include "platform/springboard/SBMainWorkspace.h"
#include "platform/springboard/SBRingerControl.h"
#include "platform/springboard/UIUserInterfaceStyleArbiter.h"
#include "tests/platform/springboard/DeviceFixture.h"

namespace platform {
namespace {

using springboard::AppPreferencesState;
using springboard::SwitchesState;

class SystemSwitchesTest : public test::DeviceFixture {
 protected:
  FSSwitchPanel& panel() { return *FSSwitchPanel::sharedPanel(); }
};

TEST_F(SystemSwitchesTest, FlipswitchReadsAndSetsSwitchesByFullIdentifier) {
  EXPECT_EQ(panel().stateForSwitchIdentifier("com.a3tweaks.switch.wifi"), FSSwitchState::On);
  EXPECT_EQ(panel().stateForSwitchIdentifier("com.a3tweaks.switch.airplane-mode"), FSSwitchState::Off);

  panel().setState(FSSwitchState::Off, "com.a3tweaks.switch.wifi");
  EXPECT_EQ(device().state().switches().state(SwitchesState::fullIdentifier("wifi")), FSSwitchState::Off);
  EXPECT_EQ(panel().stateForSwitchIdentifier("com.a3tweaks.switch.wifi"), FSSwitchState::Off);
  EXPECT_EQ(log().texts(), (std::vector<std::string>{"wifi -> off"}));

  // The device can hold a switch in between (the panel reads it as such).
  device().state().switches().setState("com.a3tweaks.switch.vpn", FSSwitchState::Indeterminate);
  EXPECT_EQ(panel().stateForSwitchIdentifier("com.a3tweaks.switch.vpn"), FSSwitchState::Indeterminate);
}

TEST_F(SystemSwitchesTest, EverySwitchOfTheCatalogueIsKnown) {
  for (const char* id : {"rotation-lock", "bluetooth", "cellular-data", "wifi", "airplane-mode", "do-not-disturb",
                         "location", "auto-brightness", "autolock", "low-power", "night-shift", "vpn", "ringer"}) {
    EXPECT_NE(panel().stateForSwitchIdentifier(SwitchesState::fullIdentifier(id)), FSSwitchState::Indeterminate) << id;
  }
}

TEST_F(SystemSwitchesTest, AnUnknownSwitchReadsIndeterminateAndCannotBeSet) {
  EXPECT_EQ(panel().stateForSwitchIdentifier("com.a3tweaks.switch.teleport"), FSSwitchState::Indeterminate);
  EXPECT_EQ(panel().stateForSwitchIdentifier("wifi"), FSSwitchState::Indeterminate);  // short identifier
  panel().setState(FSSwitchState::On, "com.a3tweaks.switch.teleport");
  EXPECT_EQ(panel().stateForSwitchIdentifier("com.a3tweaks.switch.teleport"), FSSwitchState::Indeterminate);
  EXPECT_EQ(log().size(), 0u);
}

TEST_F(SystemSwitchesTest, BluetoothIsOneStateForItsManagerAndItsSwitch) {
  BluetoothManager* bluetooth = BluetoothManager::sharedInstance();
  ASSERT_NE(bluetooth, nullptr);
  EXPECT_TRUE(bluetooth->enabled());
  bluetooth->setEnabled(false);
  EXPECT_EQ(panel().stateForSwitchIdentifier("com.a3tweaks.switch.bluetooth"), FSSwitchState::Off);
  panel().setState(FSSwitchState::On, "com.a3tweaks.switch.bluetooth");
  EXPECT_TRUE(bluetooth->enabled());
  // Every call reaches the device, even one that changes nothing.
  bluetooth->setEnabled(true);
  EXPECT_EQ(log().count("bluetooth -> on"), 2u);
}

TEST_F(SystemSwitchesTest, TheRingerControlAndTheRingerSwitchShareTheMuteState) {
  auto* ringer = dynamic_cast<SBRingerControl*>(SBMainWorkspace::sharedInstance()->ringerControl());
  ASSERT_NE(ringer, nullptr);
  EXPECT_FALSE(ringer->isRingerMuted());
  ringer->setRingerMuted(true);
  EXPECT_TRUE(device().state().switches().ringerMuted());
  EXPECT_EQ(panel().stateForSwitchIdentifier("com.a3tweaks.switch.ringer"), FSSwitchState::Off);
  EXPECT_EQ(log().texts(), (std::vector<std::string>{"ringer -> off"}));

  // Below 13.0 the ringer is only a Flipswitch switch.
  configure("12.4");
  panel().setState(FSSwitchState::Off, "com.a3tweaks.switch.ringer");
  EXPECT_TRUE(device().state().switches().ringerMuted());
}

TEST_F(SystemSwitchesTest, TheStyleArbiterTogglesBetweenLightAndDark) {
  UIUserInterfaceStyleArbiter* arbiter = UIUserInterfaceStyleArbiter::sharedInstance();
  ASSERT_NE(arbiter, nullptr);
  EXPECT_EQ(arbiter->currentStyle(), UIUserInterfaceStyleArbiter::kStyleLight);
  arbiter->toggleCurrentStyle();
  EXPECT_EQ(arbiter->currentStyle(), UIUserInterfaceStyleArbiter::kStyleDark);
  arbiter->toggleCurrentStyle();
  EXPECT_EQ(arbiter->currentStyle(), UIUserInterfaceStyleArbiter::kStyleLight);
  EXPECT_EQ(log().texts(), (std::vector<std::string>{"dark mode -> on", "dark mode -> off"}));

  configure("12.4");
  EXPECT_EQ(UIUserInterfaceStyleArbiter::sharedInstance(), nullptr);
}

TEST_F(SystemSwitchesTest, AccessibilitySettingsSetTheirSwitches) {
  AXSettings* ax = AXSettings::sharedInstance();
  ASSERT_NE(ax, nullptr);
  ax->setReduceWhitePointEnabled(true);
  ax->setAssistiveTouchEnabled(true);
  EXPECT_TRUE(ax->reduceWhitePointEnabled());
  EXPECT_TRUE(device().state().switches().assistiveTouchEnabled());
  ax->setAssistiveTouchEnabled(false);
  EXPECT_FALSE(ax->assistiveTouchEnabled());
  EXPECT_EQ(log().texts(),
            (std::vector<std::string>{"reduce white point -> on", "assistive touch -> on", "assistive touch -> off"}));
}

class AccessibilityPreferencesTest : public test::DeviceFixture {
 protected:
  static constexpr std::string_view kDomain = AppPreferencesState::kAccessibilityDomain;
  static constexpr std::string_view kSmart = AppPreferencesState::kSmartInvertKey;
  static constexpr std::string_view kClassic = AppPreferencesState::kClassicInvertKey;
};

TEST_F(AccessibilityPreferencesTest, InvertColoursFollowOnlyAfterSynchronizeAndTheChangeNotification) {
  CFPreferencesSetAppValue(kSmart, plist::Value(int64_t{1}), kDomain);
  // The home screen reads its own change at once...
  EXPECT_TRUE(CFPreferencesGetAppBooleanValue(kSmart, kDomain));
  // ...but the store and the screen have not changed.
  EXPECT_TRUE(device().state().appPreferences().storedValue(kDomain, kSmart).isNull());
  EXPECT_FALSE(device().state().switches().smartInvertEnabled());

  // Told before synchronizing, the accessibility system reads the old stored value.
  GSSendAppPreferencesChanged(kDomain, kSmart);
  EXPECT_FALSE(device().state().switches().smartInvertEnabled());

  EXPECT_TRUE(CFPreferencesAppSynchronize(kDomain));
  EXPECT_EQ(device().state().appPreferences().storedValue(kDomain, kSmart).integerValue(), 1);
  EXPECT_FALSE(device().state().switches().smartInvertEnabled());
  GSSendAppPreferencesChanged(kDomain, kSmart);
  EXPECT_TRUE(device().state().switches().smartInvertEnabled());
  EXPECT_FALSE(device().state().switches().classicInvertEnabled());
}

TEST_F(AccessibilityPreferencesTest, SettingClassicInvertOffWritesZeroAndIsPickedUp) {
  device().state().appPreferences().setStoredValue(kDomain, kClassic, plist::Value(int64_t{1}));
  GSSendAppPreferencesChanged(kDomain, kClassic);
  ASSERT_TRUE(device().state().switches().classicInvertEnabled());
  size_t mark = log().size();

  CFPreferencesSetAppValue(kClassic, plist::Value(int64_t{0}), kDomain);
  CFPreferencesAppSynchronize(kDomain);
  GSSendAppPreferencesChanged(kDomain, kClassic);
  EXPECT_FALSE(device().state().switches().classicInvertEnabled());
  plist::Value stored = device().state().appPreferences().storedValue(kDomain, kClassic);
  EXPECT_TRUE(stored.isInteger());
  EXPECT_EQ(stored.integerValue(), 0);
  EXPECT_EQ(log().textsSince(mark),
            (std::vector<std::string>{"preference com.apple.Accessibility AXSClassicInvertColorsPreference = 0",
                                      "synchronize com.apple.Accessibility",
                                      "preferences changed com.apple.Accessibility AXSClassicInvertColorsPreference",
                                      "classic invert -> off"}));
}

TEST_F(AccessibilityPreferencesTest, BooleanReadsOfMissingOrOddValues) {
  bool valid = true;
  EXPECT_FALSE(CFPreferencesGetAppBooleanValue(kSmart, kDomain, &valid));
  EXPECT_FALSE(valid);
  CFPreferencesSetAppValue(kSmart, plist::Value("YES"), kDomain);
  EXPECT_TRUE(CFPreferencesGetAppBooleanValue(kSmart, kDomain, &valid));
  EXPECT_TRUE(valid);
  CFPreferencesSetAppValue(kSmart, plist::Value(plist::Array{}), kDomain);
  EXPECT_FALSE(CFPreferencesGetAppBooleanValue(kSmart, kDomain, &valid));
  EXPECT_FALSE(valid);
  // Removing a key: the removal reaches the store on synchronize.
  device().state().appPreferences().setStoredValue(kDomain, kClassic, plist::Value(true));
  CFPreferencesSetAppValue(kClassic, plist::Value(), kDomain);
  EXPECT_TRUE(CFPreferencesCopyAppValue(kClassic, kDomain).isNull());
  CFPreferencesAppSynchronize(kDomain);
  EXPECT_TRUE(device().state().appPreferences().storedValue(kDomain, kClassic).isNull());
}

}  // namespace
}  // namespace platform
