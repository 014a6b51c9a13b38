#include <gtest/gtest.h>

#include <ostream>

#include "platform/foundation/DeviceInfo.h"
#include "platform/runtime/KeyValue.h"
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/SBMainSwitcherViewController.h"
#include "platform/springboard/SBMainWorkspace.h"
#include "platform/springboard/SharedObjects.h"
#include "tests/platform/springboard/DeviceFixture.h"

namespace platform {
namespace {

using springboard::DeviceKind;

struct VersionCase {
  const char* version;
  bool from13;
  const char* quitSelector;
};

void PrintTo(const VersionCase& c, std::ostream* os) { *os << c.version; }

class VersionRulesTest : public test::DeviceFixture, public ::testing::WithParamInterface<VersionCase> {
 protected:
  void SetUp() override { configure(GetParam().version); }
};

TEST_P(VersionRulesTest, ClassesOfNewerSystemsExistOnlyFrom13) {
  bool from13 = GetParam().from13;
  EXPECT_EQ(objc_getClass("SBVolumeControl") != nullptr, from13);
  EXPECT_EQ(objc_getClass("UIUserInterfaceStyleArbiter") != nullptr, from13);
  EXPECT_EQ(objc_getClass("SBRingerControl") != nullptr, from13);
  EXPECT_EQ(objc_getClass("SBDisplayBrightnessController") != nullptr, from13);
  EXPECT_EQ(objc_getClass("SBBrightnessController") != nullptr, !from13);
  // Present on every version.
  for (const char* name :
       {"SpringBoard", "SBApplication", "SBMediaController", "SBMainWorkspace", "FSSwitchPanel", "BluetoothManager",
        "AXSettings", "PSBrightnessSettingsDetail", "SBMainSwitcherViewController", "SBIconController",
        "SBCoverSheetPresentationManager", "UIScreen", "UIDevice", "UIImpactFeedbackGenerator"}) {
    EXPECT_NE(objc_getClass(name), nullptr) << name;
  }
}

TEST_P(VersionRulesTest, TheWorkspaceAnswersRingerControlOnlyFrom13) {
  SBMainWorkspace* workspace = SBMainWorkspace::sharedInstance();
  ASSERT_NE(workspace, nullptr);
  EXPECT_EQ(respondsToSelector(workspace, SELECTOR("ringerControl")), GetParam().from13);
  EXPECT_EQ(workspace->ringerControl() != nullptr, GetParam().from13);
}

TEST_P(VersionRulesTest, TheSwitcherAnswersTheVersionsMethods) {
  device().openApp("com.apple.Maps");
  SBMainSwitcherViewController* switcher = SBMainSwitcherViewController::sharedInstance();
  ASSERT_NE(switcher, nullptr);
  bool from13 = GetParam().from13;
  EXPECT_EQ(respondsToSelector(switcher, SELECTOR("appLayouts")), from13);
  EXPECT_EQ(respondsToSelector(switcher, SELECTOR("recentAppLayouts")), !from13);

  // Exactly one of the three quitting methods.
  int answered = 0;
  for (const char* sel : {"_quitAppsRepresentedByAppLayout:forReason:", "_deleteAppLayout:forReason:",
                          "_deleteAppLayoutsMatchingBundleIdentifier:"}) {
    bool responds = respondsToSelector(switcher, sel_registerName(sel));
    answered += responds;
    EXPECT_EQ(responds, std::string(sel) == GetParam().quitSelector) << sel;
  }
  EXPECT_EQ(answered, 1);

  ObjectArray layouts = switcher->appLayouts();
  ASSERT_EQ(layouts.size(), 1u);
  EXPECT_EQ(respondsToSelector(layouts[0], SELECTOR("rolesToLayoutItemsMap")), from13);
  // The private field is there on every version.
  auto roles = valueForKey<std::map<long, Ref<Object>>>(layouts[0], "_rolesToLayoutItemsMap");
  ASSERT_EQ(roles.count(1), 1u);
  id item = roles[1];
  EXPECT_EQ(respondsToSelector(item, SELECTOR("bundleIdentifier")), from13);
  EXPECT_EQ(respondsToSelector(item, SELECTOR("displayIdentifier")), !from13);
  EXPECT_EQ(msgSend<std::string>(item, from13 ? SELECTOR("bundleIdentifier") : SELECTOR("displayIdentifier")),
            "com.apple.Maps");
}

TEST_P(VersionRulesTest, TheDeviceInfoReportsTheVersion) {
  EXPECT_EQ(DeviceInfo::current().systemVersion(), GetParam().version);
  EXPECT_EQ(msgSend<std::string>(msgSend<id>(objc_getClass("UIDevice"), SELECTOR("currentDevice")),
                                 SELECTOR("systemVersion")),
            GetParam().version);
}

INSTANTIATE_TEST_SUITE_P(Versions, VersionRulesTest,
                         ::testing::Values(VersionCase{"11.4", false, "_deleteAppLayout:forReason:"},
                                           VersionCase{"12.4.1", false, "_quitAppsRepresentedByAppLayout:forReason:"},
                                           VersionCase{"13.3", true, "_deleteAppLayoutsMatchingBundleIdentifier:"}),
                         [](const auto& info) { return std::string("iOS") + std::to_string(info.index); });

class DeviceKindTest : public test::DeviceFixture {};

TEST_F(DeviceKindTest, OnlyTabletsHaveAFloatingDock) {
  EXPECT_EQ(objc_getClass("SBFloatingDockView"), nullptr);
  configure("13.3", DeviceKind::Tablet);
  Class* dock = objc_getClass("SBFloatingDockView");
  ASSERT_NE(dock, nullptr);
  EXPECT_TRUE(class_respondsToSelector(dock, SELECTOR("layoutSubviews")));
  configure("12.4", DeviceKind::Phone);
  EXPECT_EQ(objc_getClass("SBFloatingDockView"), nullptr);
}

TEST_F(DeviceKindTest, ActivatorExistsOnlyWhenInstalled) {
  EXPECT_EQ(objc_getClass("_LAActivator"), nullptr);
  EXPECT_FALSE(device().sendActivatorEvent("libactivator.volume.both.press"));
  configure("13.3", DeviceKind::Phone, /*activator=*/true);
  EXPECT_NE(objc_getClass("_LAActivator"), nullptr);
  EXPECT_TRUE(device().sendActivatorEvent("libactivator.volume.both.press"));
  EXPECT_TRUE(log().contains("activator listener received libactivator.volume.both.press"));
}

TEST_F(DeviceKindTest, DarkModeIsReportedOnlyWhereTheSystemHasIt) {
  device().state().switches().setInterfaceStyle(2);
  EXPECT_TRUE(DeviceInfo::current().darkModeEnabled());
  configure("12.4");
  device().state().switches().setInterfaceStyle(2);
  EXPECT_FALSE(DeviceInfo::current().darkModeEnabled());
  EXPECT_DOUBLE_EQ(DeviceInfo::current().systemVersionNumber(), 12.4);
}

TEST_F(DeviceKindTest, ConfiguringAgainStartsFromAFreshDevice) {
  device().state().switches().setBluetoothEnabled(false);
  device().state().audio().setVolume(0.9f);
  device().openApp("com.apple.Maps");
  Class* oldMediaClass = objc_getClass("SBMediaController");
  configure("13.3");
  EXPECT_TRUE(device().state().switches().bluetoothEnabled());
  EXPECT_FLOAT_EQ(device().state().audio().volume(), 0.5f);
  EXPECT_TRUE(device().state().apps().frontApp().empty());
  EXPECT_TRUE(device().state().apps().runningApps().empty());
  EXPECT_EQ(log().size(), 0u);
  // New classes: hooks of the previous device are gone.
  EXPECT_NE(objc_getClass("SBMediaController"), oldMediaClass);
  EXPECT_EQ(object_getClass(platform::springboard::SharedObjects::shared().get("SBMediaController")),
            objc_getClass("SBMediaController"));
}

}  // namespace
}  // namespace platform
