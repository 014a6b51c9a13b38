#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/PropertyListFile.h"
#include "tests/tweak/engine/TestHomeScreen.h"
#include "tweak/engine/RestoreJournal.h"

namespace tessra::testing {
namespace {

using platform::seconds;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Everything the engine does after a change of front application has
// happened 0.1 s (delayed apply) + 0.3 s (volume) + 0.3 s (indicator) later.
constexpr double kSettle = 1.0;

class AppSwitchEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home.device().state().audio().setVolume(0.2f);
    home.device().state().display().setBrightness(0.3, false);
    home.setSetting("brightnessAnimated", platform::plist::Value(false));
  }
  void settle(double s = kSettle) { home.env.fastForwardBy(seconds(s)); }

  TestHomeScreen home;
};

TEST_F(AppSwitchEngineTest, OpeningAnAppRecordsAndAppliesAndLeavingRestores) {
  home.customize("com.test.a", {.volume = 0.5, .brightness = 0.8, .toggles = {{"wifi", 0}, {"dnd", 1}}});
  home.setSwitch("wifi", true);
  home.start();

  home.device().openApp("com.test.a");
  EXPECT_FALSE(home.switchOn("wifi"));  // switches change at once
  EXPECT_TRUE(home.switchOn("do-not-disturb"));
  EXPECT_FLOAT_EQ(home.brightness(), 0.8);
  EXPECT_FLOAT_EQ(home.volume(), 0.2f);  // the volume follows 0.3 s later
  settle();
  EXPECT_FLOAT_EQ(home.volume(), 0.5f);
  EXPECT_THAT(home.debugLines, ElementsAre("com.test.a : Set volume 0.500000", "com.test.a : Set brightness 0.800000",
                                           "com.test.a : Set toggle wifi to 0", "com.test.a : Set toggle dnd to 1"));

  home.debugLines.clear();
  home.device().goHome();
  settle();
  EXPECT_TRUE(home.switchOn("wifi"));
  EXPECT_FALSE(home.switchOn("do-not-disturb"));
  EXPECT_FLOAT_EQ(home.volume(), 0.2f);
  EXPECT_FLOAT_EQ(home.brightness(), 0.3);
  EXPECT_THAT(home.debugLines,
              ElementsAre("com.test.a : Restore volume 0.200000", "com.test.a : Restore brightness 0.300000",
                          "com.test.a : Restore toggle wifi to 1", "com.test.a : Restore toggle dnd to 0"));
}

TEST_F(AppSwitchEngineTest, RepeatedChecksWithTheSameAppChangeNothing) {
  home.customize("com.test.a", {.toggles = {{"wifi", 0}}});
  home.setSwitch("wifi", true);
  home.start();
  home.device().openApp("com.test.a");
  settle();
  home.debugLines.clear();
  home.setSwitch("wifi", true);  // the user turns Wi-Fi back on while the app is in front

  for (int i = 0; i < 5; ++i) home.device().openApp("com.test.a");
  home.device().openControlCenter();
  settle();
  EXPECT_THAT(home.debugLines, IsEmpty());
  EXPECT_TRUE(home.switchOn("wifi"));
}

TEST_F(AppSwitchEngineTest, DirectSwitchRestoresAtOnceAndAppliesTheArrivingAppATenthOfASecondLater) {
  home.customize("com.test.a", {.toggles = {{"wifi", 0}}});
  home.customize("com.test.b", {.toggles = {{"bluetooth", 1}}});
  home.setSwitch("wifi", true);
  home.device().state().switches().setBluetoothEnabled(false);
  home.start();
  home.device().openApp("com.test.a");
  settle();

  home.device().openApp("com.test.b");
  EXPECT_TRUE(home.switchOn("wifi"));  // A restored at once
  EXPECT_FALSE(home.device().state().switches().bluetoothEnabled());
  home.env.fastForwardBy(seconds(0.099));
  EXPECT_FALSE(home.device().state().switches().bluetoothEnabled());
  home.env.fastForwardBy(seconds(0.002));
  EXPECT_TRUE(home.device().state().switches().bluetoothEnabled());
}

TEST_F(AppSwitchEngineTest, AnAppThatLeftBeforeItsDelayedApplyIsNeverApplied) {
  home.customize("com.test.b", {.toggles = {{"bluetooth", 1}}});
  home.customize("com.test.c", {.toggles = {{"dnd", 1}}});
  home.device().state().switches().setBluetoothEnabled(false);
  home.start();
  home.device().openApp("com.test.a");
  settle();

  home.device().openApp("com.test.b");
  home.env.fastForwardBy(seconds(0.05));
  home.device().openApp("com.test.c");
  settle();
  EXPECT_FALSE(home.device().state().switches().bluetoothEnabled());
  EXPECT_TRUE(home.switchOn("do-not-disturb"));
  EXPECT_THAT(home.debugLines, ElementsAre("com.test.c : Set toggle dnd to 1"));
}

TEST_F(AppSwitchEngineTest, DirectSwitchBetweenTwoVolumesKeepsTheArrivingVolumeAndTheTruePreviousOne) {
  home.customize("com.test.a", {.volume = 0.3});
  home.customize("com.test.b", {.volume = 0.8});
  home.start();
  home.device().openApp("com.test.a");
  settle();
  ASSERT_FLOAT_EQ(home.volume(), 0.3f);

  home.device().openApp("com.test.b");
  settle();
  EXPECT_FLOAT_EQ(home.volume(), 0.8f);

  home.device().goHome();
  settle();
  EXPECT_FLOAT_EQ(home.volume(), 0.2f);  // the volume before A, not A's
}

TEST_F(AppSwitchEngineTest, SiriOverAnAppRestoresItAndItIsAppliedAgainWhenSiriLeaves) {
  home.customize("com.test.a", {.toggles = {{"wifi", 0}}});
  home.setSwitch("wifi", true);
  home.start();
  home.device().openApp("com.test.a");
  settle();
  ASSERT_FALSE(home.switchOn("wifi"));

  home.device().showSiri();
  EXPECT_TRUE(home.switchOn("wifi"));
  settle();
  home.setSwitch("wifi", true);
  home.debugLines.clear();
  home.device().dismissSiri();
  home.env.fastForwardBy(seconds(0.05));
  EXPECT_TRUE(home.switchOn("wifi"));
  settle();
  EXPECT_FALSE(home.switchOn("wifi"));
  EXPECT_THAT(home.debugLines, ElementsAre("com.test.a : Set toggle wifi to 0"));
}

TEST_F(AppSwitchEngineTest, LockScreenRestoresTheFrontAppAndUnlockingAppliesItAgain) {
  home.customize("com.test.a", {.toggles = {{"wifi", 0}}});
  home.setSwitch("wifi", true);
  home.start();
  home.device().openApp("com.test.a");
  settle();

  home.device().lock();
  EXPECT_TRUE(home.switchOn("wifi"));
  home.device().unlock();
  settle();
  EXPECT_FALSE(home.switchOn("wifi"));
}

TEST_F(AppSwitchEngineTest, LockScreenRulesAreOffWhenTheSettingIsOff) {
  home.customize("com.test.a", {.toggles = {{"wifi", 0}}});
  home.setSetting("hasToRestoreValuesOnLockScreen", platform::plist::Value(false));
  home.setSwitch("wifi", true);
  home.start();
  home.device().openApp("com.test.a");
  settle();
  home.device().lock();
  settle();
  EXPECT_FALSE(home.switchOn("wifi"));
}

TEST_F(AppSwitchEngineTest, AVolumeRemovedWhileTheAppIsInFrontIsNotRestored) {
  home.customize("com.test.a", {.volume = 0.5});
  home.start();
  home.device().openApp("com.test.a");
  settle();
  home.customize("com.test.a", {});
  home.reloadStore();
  home.device().goHome();
  settle();
  EXPECT_FLOAT_EQ(home.volume(), 0.5f);
}

TEST_F(AppSwitchEngineTest, ASwitchWhoseRestoreSettingIsOffKeepsTheAppsValue) {
  home.customize("com.test.a", {.toggles = {{"wifi", 0}, {"bluetooth", 1}}});
  home.setSetting("restorePreviousWifiOnAppExit", platform::plist::Value(false));
  home.setSwitch("wifi", true);
  home.device().state().switches().setBluetoothEnabled(false);
  home.start();
  home.device().openApp("com.test.a");
  settle();
  ASSERT_TRUE(home.device().state().switches().bluetoothEnabled());
  home.device().goHome();
  settle();
  EXPECT_FALSE(home.switchOn("wifi"));                        // kept as the app set it
  EXPECT_FALSE(home.device().state().switches().bluetoothEnabled());  // restored
}

TEST_F(AppSwitchEngineTest, RestoreSettingChangedByAnotherProcessTakesEffectAtTheNextExit) {
  home.customize("com.test.a", {.toggles = {{"wifi", 0}}});
  home.setSwitch("wifi", true);
  home.start();
  home.device().openApp("com.test.a");
  settle();
  home.setSetting("restorePreviousWifiOnAppExit", platform::plist::Value(false));
  home.reloadSettings();
  home.device().goHome();
  settle();
  EXPECT_FALSE(home.switchOn("wifi"));
}

TEST_F(AppSwitchEngineTest, AnAppWithNothingStoredIsLeftUntouched) {
  home.customize("com.test.a", {});
  home.setSwitch("wifi", true);
  home.start();
  size_t events = home.device().state().eventLog().size();
  home.device().openApp("com.test.a");
  home.device().openApp("com.test.b");
  home.device().goHome();
  settle();
  EXPECT_THAT(home.debugLines, IsEmpty());
  // Only the app changes themselves were logged by the device.
  for (const auto& text : home.device().state().eventLog().textsSince(events))
    EXPECT_THAT(text, ::testing::Not(::testing::HasSubstr("->"))) << text;
}

TEST_F(AppSwitchEngineTest, UnknownToggleNamesCountAsActionsThatDoNothing) {
  home.customize("com.test.a", {.toggles = {{"teleport", 1}}});
  home.start();
  home.device().openApp("com.test.a");
  settle();
  EXPECT_THAT(home.debugLines, ElementsAre("com.test.a : Set toggle teleport to 1"));
}

TEST_F(AppSwitchEngineTest, ReduceWhitePointWithoutConditionsIsApplied) {
  home.customize("com.test.a", {.toggles = {{"reduceWhitePoint", 1}}});
  home.start();
  home.device().openApp("com.test.a");
  EXPECT_TRUE(home.device().state().switches().reduceWhitePointEnabled());
}

TEST_F(AppSwitchEngineTest, InvertColoursWaitForNightShiftWhenAskedTo) {
  home.customize("com.test.a", {.toggles = {{"smartInvertColors", 1}}});
  home.setSetting("invertColors_onlyWithNightShiftEnabled", platform::plist::Value(true));
  home.start();
  home.device().openApp("com.test.a");
  settle();
  EXPECT_FALSE(home.device().state().switches().smartInvertEnabled());
  EXPECT_THAT(home.debugLines, IsEmpty());

  home.device().goHome();
  home.setSwitch("night-shift", true);
  home.device().openApp("com.test.a");
  settle();
  EXPECT_TRUE(home.device().state().switches().smartInvertEnabled());
}

class VolumeConfirmationTest : public AppSwitchEngineTest {
 protected:
  void SetUp() override {
    AppSwitchEngineTest::SetUp();
    home.setSetting("volumeChangeConfirmationAlertEnabled", platform::plist::Value(true));
  }
};

TEST_F(VolumeConfirmationTest, NothingPlayingMeansNoQuestionWhenOnlyAskingDuringMedia) {
  home.customize("com.test.a", {.volume = 0.5});
  home.start();
  home.device().openApp("com.test.a");
  settle();
  EXPECT_EQ(home.visibleAlert(), nullptr);
  EXPECT_FLOAT_EQ(home.volume(), 0.5f);
}

TEST_F(VolumeConfirmationTest, AskedWithTheRoundedPercentageAndYesSetsTheVolume) {
  home.customize("com.test.a", {.volume = 0.555});
  home.device().startPlaying("com.test.b");
  home.start();
  home.device().openApp("com.test.a");
  settle();
  auto alert = home.visibleAlert();
  ASSERT_NE(alert, nullptr);
  EXPECT_EQ(alert->title(), "Volume Confirmation");
  EXPECT_EQ(alert->message(), "Do you want Tessra to set volume to 56%?");
  EXPECT_FLOAT_EQ(home.volume(), 0.2f);

  ASSERT_TRUE(alert->tapActionWithTitle("Yes"));
  settle();
  EXPECT_NEAR(home.volume(), 0.555, 1e-6);
  home.device().goHome();
  settle();
  EXPECT_FLOAT_EQ(home.volume(), 0.2f);
}

TEST_F(VolumeConfirmationTest, NoLeavesTheVolumeAndRestoresNothing) {
  home.customize("com.test.a", {.volume = 0.5});
  home.setSetting("volumeChangeConfirmationAlertOnlyIfMediaPlaying", platform::plist::Value(false));
  home.start();
  home.device().openApp("com.test.a");
  settle();
  auto alert = home.visibleAlert();
  ASSERT_NE(alert, nullptr);
  ASSERT_TRUE(alert->tapActionWithTitle("No"));
  settle();
  home.device().state().audio().setVolume(0.7f);
  home.device().goHome();
  settle();
  EXPECT_FLOAT_EQ(home.volume(), 0.7f);
  EXPECT_THAT(home.debugLines, IsEmpty());
}

class OlderSystemEngineTest : public ::testing::Test {
 protected:
  TestHomeScreen home{"12.4"};
};

TEST_F(OlderSystemEngineTest, DarkModeConditionNeverHoldsBelowThirteen) {
  home.customize("com.test.a", {.toggles = {{"reduceWhitePoint", 1}}});
  home.setSetting("reduceWhitePoint_onlyWithDarkModeEnabled", platform::plist::Value(true));
  home.start();
  home.device().openApp("com.test.a");
  home.env.fastForwardBy(seconds(kSettle));
  EXPECT_FALSE(home.device().state().switches().reduceWhitePointEnabled());
}

}  // namespace
}  // namespace tessra::testing

namespace tessra::testing {
namespace {

// Brightness glides (the setting's default): what an arriving app records as the brightness before it is the
// value the device is about to have, never one half-way through a restore glide.
class BrightnessGlideEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home.device().state().display().setBrightness(0.5, false);
    home.setSetting("brightnessAnimated", platform::plist::Value(true));
    home.customize("com.test.a", {.brightness = 0.9});
    home.customize("com.test.b", {.brightness = 0.2});
    home.start();
  }
  void settle(double s = 3.0) { home.env.fastForwardBy(seconds(s)); }

  TestHomeScreen home;
};

TEST_F(BrightnessGlideEngineTest, ADirectSwitchMidGlideRestoresTheBrightnessBeforeTheFirstApp) {
  home.device().openApp("com.test.a");
  settle();
  ASSERT_FLOAT_EQ(home.brightness(), 0.9);
  home.device().openApp("com.test.b");  // A's restore glides down; B applies 0.1 s later, mid-glide
  settle();
  ASSERT_FLOAT_EQ(home.brightness(), 0.2);
  home.device().goHome();
  settle();
  EXPECT_FLOAT_EQ(home.brightness(), 0.5);
}

TEST_F(BrightnessGlideEngineTest, AQuickSiriOverAnAppRestoresTheBrightnessBeforeIt) {
  home.device().openApp("com.test.a");
  settle();
  home.device().showSiri();  // A's restore glide starts
  home.env.fastForwardBy(seconds(0.05));
  home.device().dismissSiri();  // A is applied again while that glide runs
  settle();
  ASSERT_FLOAT_EQ(home.brightness(), 0.9);
  home.device().goHome();
  settle();
  EXPECT_FLOAT_EQ(home.brightness(), 0.5);
}

// --- The timing windows of a direct switch ---

TEST_F(AppSwitchEngineTest, LockingWithinATenthOfASecondOfADirectSwitchHoldsTheApplyUntilUnlocked) {
  home.customize("com.test.a", {.toggles = {{"wifi", 0}}});
  home.customize("com.test.b", {.toggles = {{"bluetooth", 1}}});
  home.setSwitch("wifi", true);
  home.device().state().switches().setBluetoothEnabled(false);
  home.start();
  home.device().openApp("com.test.a");
  settle();

  home.device().openApp("com.test.b");
  home.env.fastForwardBy(seconds(0.05));
  home.device().lock();
  settle();
  EXPECT_FALSE(home.device().state().switches().bluetoothEnabled());  // never under the lock screen
  EXPECT_TRUE(home.switchOn("wifi"));
  home.device().unlock();
  settle();
  EXPECT_TRUE(home.device().state().switches().bluetoothEnabled());
}

TEST_F(AppSwitchEngineTest, AnArrivingAppThatLeavesBeforeItsApplyRestoresTheValueCarriedOverNotAnOldOne) {
  home.customize("com.test.a", {.brightness = 0.9});
  home.customize("com.test.b", {.brightness = 0.2});
  home.start();
  home.device().openApp("com.test.b");  // an earlier visit: B records 0.3
  settle();
  home.device().goHome();
  settle();
  home.device().state().display().setBrightness(0.6, false);  // the user changes it since

  home.device().openApp("com.test.a");
  settle();
  home.device().openApp("com.test.b");  // A restores 0.6, which B takes over as its own "before"
  home.env.fastForwardBy(seconds(0.05));
  home.device().goHome();  // B leaves before it was applied
  settle();
  EXPECT_FLOAT_EQ(home.brightness(), 0.6);
}

}  // namespace
}  // namespace tessra::testing

namespace tessra::testing {
namespace {

// --- The restore journal ---

class RestoreJournalTest : public AppSwitchEngineTest {
 protected:
  std::filesystem::path journal() { return *platform::DevicePaths::resolve(RestoreJournal::kPath); }
  std::string journalBytes() {
    std::ifstream in(journal(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
};

TEST_F(RestoreJournalTest, TheJournalIsWrittenBeforeTheAppIsAppliedAndClearedWhenItLeaves) {
  home.customize("com.test.a", {.volume = 0.6, .brightness = 0.9, .toggles = {{"wifi", 0}, {"action_hideHomeBar", 1}}});
  home.setSwitch("wifi", true);
  home.start();
  home.device().openApp("com.test.a");
  settle();
  // Written before the changes were made, with what leaving will put back.
  platform::plist::Value recorded = platform::plist::PropertyListFile::read(journal()).value;
  EXPECT_EQ(recorded["bundleId"].string(), "com.test.a");
  EXPECT_FLOAT_EQ(recorded["volume"].doubleValue(), 0.2f);
  EXPECT_FLOAT_EQ(recorded["brightness"].doubleValue(), 0.3);
  EXPECT_EQ(recorded["toggles"], platform::plist::Value(platform::plist::Dictionary{{"wifi", 1}}));

  // Leaving restores and clears it.
  home.device().goHome();
  settle();
  EXPECT_FALSE(std::filesystem::exists(journal()));
}

// The home screen died with A's values in force: the device kept them, the journal stayed.
TEST_F(RestoreJournalTest, AHomeScreenThatDiedWithAnAppInFrontPutsItsValuesBackAtTheNextStart) {
  std::filesystem::create_directories(journal().parent_path());
  ASSERT_TRUE(platform::plist::PropertyListFile::write(
      journal(), platform::plist::Value(platform::plist::Dictionary{
                     {"bundleId", platform::plist::Value("com.test.a")},
                     {"volume", platform::plist::Value(0.2)},
                     {"brightness", platform::plist::Value(0.3)},
                     {"toggles", platform::plist::Value(platform::plist::Dictionary{{"wifi", 1}})}})));
  home.setSwitch("wifi", false);
  home.device().state().audio().setVolume(0.6f);
  home.device().state().display().setBrightness(0.9, false);
  home.device().state().switches().setBluetoothEnabled(false);  // the user's own change, not the app's
  home.start();
  settle();
  EXPECT_TRUE(home.switchOn("wifi"));
  EXPECT_FLOAT_EQ(home.volume(), 0.2f);
  EXPECT_FLOAT_EQ(home.brightness(), 0.3);
  EXPECT_FALSE(home.device().state().switches().bluetoothEnabled());
  EXPECT_FALSE(std::filesystem::exists(journal()));
  EXPECT_THAT(home.debugLines,
              ElementsAre("com.test.a : Replay the restore journal left by the previous home screen",
                          "com.test.a : Restore volume 0.200000", "com.test.a : Restore brightness 0.300000",
                          "com.test.a : Restore toggle wifi to 1"));
}

TEST_F(RestoreJournalTest, TheReplayFollowsTheRestoreSettings) {
  home.setSetting("restorePreviousWifiOnAppExit", platform::plist::Value(false));
  home.setSetting("restorePreviousVolumeOnAppExit", platform::plist::Value(false));
  std::filesystem::create_directories(journal().parent_path());
  ASSERT_TRUE(platform::plist::PropertyListFile::write(
      journal(),
      platform::plist::Value(platform::plist::Dictionary{
          {"bundleId", platform::plist::Value("com.test.a")},
          {"volume", platform::plist::Value(0.7)},
          {"brightness", platform::plist::Value(0.8)},
          {"toggles", platform::plist::Value(platform::plist::Dictionary{{"wifi", 1}, {"bluetooth", 0}})}})));
  home.setSwitch("wifi", false);
  home.start();
  settle();
  EXPECT_FALSE(home.switchOn("wifi"));
  EXPECT_FALSE(home.device().state().switches().bluetoothEnabled());
  EXPECT_FLOAT_EQ(home.volume(), 0.2f);
  EXPECT_FLOAT_EQ(home.brightness(), 0.8);
}

// A journal that cannot be trusted is set aside and reported; nothing of it is replayed.
void expectSetAsideAndNotReplayed(TestHomeScreen& home, const std::filesystem::path& journal,
                                  const std::string& bytes) {
  std::filesystem::create_directories(journal.parent_path());
  std::ofstream(journal, std::ios::binary) << bytes;
  home.debugLines.clear();
  home.start();
  home.env.fastForwardBy(platform::seconds(1));
  EXPECT_FALSE(std::filesystem::exists(journal));
  EXPECT_FLOAT_EQ(home.volume(), 0.2f);
  ASSERT_EQ(home.debugLines.size(), 1u);
  EXPECT_NE(home.debugLines[0].find("cannot be trusted"), std::string::npos) << home.debugLines[0];
}

TEST_F(RestoreJournalTest, AJournalWithAValueOutOfRangeIsSetAsideReportedAndNotReplayed) {
  expectSetAsideAndNotReplayed(
      home, journal(),
      "<plist><dict><key>bundleId</key><string>com.test.a</string><key>volume</key><real>9</real></dict></plist>");
}

TEST_F(RestoreJournalTest, AJournalThatIsNotAPropertyListIsSetAsideReportedAndNotReplayed) {
  expectSetAsideAndNotReplayed(home, journal(), "\x01\x02 not a journal");
}

}  // namespace
}  // namespace tessra::testing

namespace tessra::testing {
namespace {

// --- The volume indicator ---

TEST_F(AppSwitchEngineTest, TheVolumeIndicatorStaysHiddenWhileOverlappingVolumeChangesRun) {
  home.setSetting("showVolumeHUD", platform::plist::Value(false));
  home.customize("com.test.a", {.volume = 0.3});
  home.customize("com.test.b", {.volume = 0.8});
  home.start();
  const int shownBefore = home.device().state().audio().volumeHudShows();
  home.device().openApp("com.test.a");
  settle();
  home.device().openApp("com.test.b");  // A's restore and B's volume overlap
  settle();
  ASSERT_FLOAT_EQ(home.volume(), 0.8f);
  home.device().openApp("com.test.a");
  home.env.fastForwardBy(seconds(0.35));
  home.device().goHome();  // within 0.3 s of A's volume being set
  settle();
  EXPECT_FLOAT_EQ(home.volume(), 0.2f);
  EXPECT_EQ(home.device().state().audio().volumeHudShows(), shownBefore);
  EXPECT_FALSE(home.device().state().audio().hudSuppressed());  // released once everything is done
}

}  // namespace
}  // namespace tessra::testing
