#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/ui/Animator.h"
#include "tests/tweak/controls/ControlsTestDevice.h"
#include "tweak/engine/ActionsHelper.h"

using platform::springboard::AppKind;
using platform::springboard::InstalledApp;

namespace {

constexpr const char* kFront = "com.example.front";
constexpr const char* kPlayer = "com.spotify.client";
constexpr const char* kOther = "com.example.other";
constexpr const char* kNotes = "com.apple.mobilenotes";

platform::springboard::DeviceConfiguration withApps() {
  platform::springboard::DeviceConfiguration config;
  config.installedApps = {
      {kFront, "Front", AppKind::User, ""},
      {kPlayer, "Player", AppKind::User, ""},
      {kOther, "Other", AppKind::User, ""},
      {kNotes, "Notes", AppKind::System, ""},
      {"com.apple.Maps", "Maps", AppKind::System, ""},
      {"com.google.Maps", "Google Maps", AppKind::User, ""},
      {"com.waze.iphone", "Waze", AppKind::User, ""},
  };
  return config;
}

// The grabber takes the duration of the animation block it is changed in
// from [UIView inheritedAnimationDuration]. Where the device does not answer
// that yet, answer it from the UI layer's current animation block.
void bridgeAnimationDurationToTheRuntime() {
  platform::Class* view = platform::objc_getClass("UIView");
  if (!view) {
    view = platform::Runtime::allocateClass("UIView", platform::Runtime::rootClass());
    platform::Runtime::registerClass(view);
  }
  if (platform::respondsToSelector(view, SELECTOR("inheritedAnimationDuration"))) return;
  platform::class_addMethod(
      view->metaclass(), SELECTOR("inheritedAnimationDuration"), +[](platform::id, platform::SEL) {
        const auto* block = platform::Animator::shared().currentContext();
        return block ? block->duration : 0.0;
      });
}

std::vector<std::string> sorted(std::vector<std::string> names) {
  std::ranges::sort(names);
  return names;
}

// A device of one system version with seven running apps: a player that is
// playing, the three navigation apps, two others, and the front app last.
class ActionsHelperTest : public ::testing::TestWithParam<const char*> {
 protected:
  ActionsHelperTest() : device_(GetParam(), withApps()) {
    for (const char* app : {kPlayer, "com.apple.Maps", kOther, "com.google.Maps", kNotes, "com.waze.iphone", kFront})
      model().openApp(app);
    model().startPlaying(kPlayer);
    ControlsTestDevice::settings().setCurrentForegroundAppBundleId(std::string(kFront));
    EXPECT_TRUE(ActionsHelper::installClearAllAppsMethod());
  }

  static platform::springboard::DeviceModel& model() { return ControlsTestDevice::model(); }
  static std::vector<std::string> running() { return sorted(model().state().apps().runningApps()); }

  ControlsTestDevice device_;
};

// --- Kill all running apps

TEST_P(ActionsHelperTest, KillAllSparesTheFrontTheNowPlayingAndTheNavigationApps) {
  ControlsTestDevice::settings().clearAllApps_dontKillNowPlayingAppEnabled = true;
  ControlsTestDevice::settings().clearAllApps_dontKillNavigationAppEnabled = true;
  ActionsHelper::performAction(ToggleTypeClearAppSwitcher);
  EXPECT_EQ(running(), sorted({kFront, kPlayer, "com.apple.Maps", "com.google.Maps", "com.waze.iphone"}));
}

TEST_P(ActionsHelperTest, WithBothSkipSettingsOffOnlyTheFrontAppSurvives) {
  ActionsHelper::clearAppSwitcher();
  EXPECT_EQ(running(), std::vector<std::string>{kFront});
}

TEST_P(ActionsHelperTest, EachSkipSettingSparesOnlyItsOwnApps) {
  ControlsTestDevice::settings().clearAllApps_dontKillNavigationAppEnabled = true;
  ActionsHelper::clearAppSwitcher();
  EXPECT_EQ(running(), sorted({kFront, "com.apple.Maps", "com.google.Maps", "com.waze.iphone"}));
}

TEST_P(ActionsHelperTest, WithoutAFrontAppEveryAppIsQuit) {
  ControlsTestDevice::settings().setCurrentForegroundAppBundleId(std::nullopt);
  ActionsHelper::clearAppSwitcher();
  EXPECT_TRUE(running().empty());
}

TEST_P(ActionsHelperTest, AnItemIsMatchedByItsDisplayIdentifierWhenItAnswersOne) {
  // Give every item a second name that matches nothing; where items answer
  // displayIdentifier, that one must decide.
  platform::Class* itemClass = platform::objc_getClass("SBDisplayItem");
  ASSERT_NE(itemClass, nullptr);
  if (!platform::class_respondsToSelector(itemClass, SELECTOR("displayIdentifier")))
    GTEST_SKIP() << "items name their app by bundleIdentifier alone on this version";
  auto wrongName = +[](platform::id, platform::SEL) { return std::string("com.example.wrong"); };
  ASSERT_TRUE(platform::class_addMethod(itemClass, SELECTOR("bundleIdentifier"), wrongName));
  ActionsHelper::clearAppSwitcher();
  EXPECT_EQ(running(), std::vector<std::string>{kFront});
}

TEST_P(ActionsHelperTest, NothingHappensWithoutTheSwitcherClass) {
  const auto before = running();
  platform::Runtime::unregisterClass("SBMainSwitcherViewController");
  ActionsHelper::clearAppSwitcher();
  EXPECT_EQ(running(), before);
}

// --- Other actions

TEST_P(ActionsHelperTest, RuleTypesAndUnknownTypesDoNothing) {
  const size_t entries = model().state().eventLog().size();
  for (ToggleType type : {-1, 0, 17, 18, 19, 20, 21, 22, 23, 24, 25, 30}) ActionsHelper::performAction(type);
  device_.tasks.fastForwardUntilNoTasksRemain();
  EXPECT_EQ(model().state().eventLog().size(), entries);
  EXPECT_EQ(running().size(), 7u);
}

TEST_P(ActionsHelperTest, PlayAndPauseSendTheirMediaRemoteCommands) {
  ActionsHelper::performAction(ToggleTypePauseMusic);
  ActionsHelper::performAction(ToggleTypePlayMusic);
  EXPECT_EQ(model().state().audio().mediaRemoteCommands(), (std::vector<int>{1, 0}));
}

TEST_P(ActionsHelperTest, TheHomeBarFadesOutOverATwoTenthsAnimationAndStaysHidden) {
  bridgeAnimationDurationToTheRuntime();
  ActionsHelper::performAction(ToggleTypeHideHomeBar);
  EXPECT_EQ(model().state().display().homeGrabberAlpha(), 0.0);
  EXPECT_DOUBLE_EQ(model().state().display().homeGrabberAnimationDuration(), 0.2);
  device_.tasks.fastForwardUntilNoTasksRemain();
  model().goHome();
  device_.tasks.fastForwardUntilNoTasksRemain();
  EXPECT_EQ(model().state().display().homeGrabberAlpha(), 0.0);
}

// Each version answers another layout list, item name, role map and quitting method.
INSTANTIATE_TEST_SUITE_P(SystemVersions, ActionsHelperTest, ::testing::Values("11.4", "12.4", "13.3"),
                         [](const auto& info) { return std::string("iOS") + std::string(info.param).substr(0, 2); });

TEST(ActionsHelperInstallTest, TheKillAllMethodIsAddedOnceWithItsTypes) {
  ControlsTestDevice device("13.3", withApps());
  ControlsTestDevice::model().openApp(kOther);
  // Before the method is added, asking the switcher to clear itself does nothing.
  ActionsHelper::clearAppSwitcher();
  EXPECT_EQ(ControlsTestDevice::model().state().apps().runningApps(), std::vector<std::string>{kOther});

  EXPECT_TRUE(ActionsHelper::installClearAllAppsMethod());
  EXPECT_FALSE(ActionsHelper::installClearAllAppsMethod());
  platform::Method* method = platform::class_getInstanceMethod(platform::objc_getClass("SBMainSwitcherViewController"),
                                                               SELECTOR("tessra_clearAllApps"));
  ASSERT_NE(method, nullptr);
  EXPECT_EQ(method->typeEncoding(), "v@:");

  platform::Runtime::unregisterClass("SBMainSwitcherViewController");
  EXPECT_FALSE(ActionsHelper::installClearAllAppsMethod());
}

}  // namespace
