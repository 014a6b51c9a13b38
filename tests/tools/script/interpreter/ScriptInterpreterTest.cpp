#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "platform/foundation/DarwinNotificationCenter.h"
#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/prefs/HBPreferences.h"
#include "platform/springboard/DeviceModel.h"
#include "tools/SpringBoard/core/ScriptParser.h"
#include "tools/SpringBoard/core/TweakVocabulary.h"
#include "tools/SpringBoard/host/AlertScreen.h"
#include "tools/SpringBoard/host/DeviceTrace.h"
#include "tools/SpringBoard/host/ScriptInterpreter.h"
#include "tools/SpringBoard/host/ScriptRunner.h"
#include "tweak/store/TessraKeys.h"

namespace tessra::device {
namespace {

using platform::plist::Value;
using platform::springboard::DeviceModel;
using Status = ScriptOutcome::Status;

// An alert that a test puts on screen; tapping a button takes it away.
class FakeAlertScreen final : public AlertScreen {
 public:
  std::optional<VisibleAlert> alert;
  std::vector<std::string> tapped;
  std::optional<VisibleAlert> visibleAlert() override { return alert; }
  bool tapButton(const std::string& title) override {
    if (!alert) return false;
    for (const auto& button : alert->buttons)
      if (button == title) {
        tapped.push_back(title);
        alert.reset();
        return true;
      }
    return false;
  }
};

class ScriptInterpreterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::filesystem::temp_directory_path() / ("interpreter-" + std::to_string(getpid()) + "-" +
                                                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_ / "var/mobile/Library/Preferences");
    platform::DevicePaths::setRoot(root_);
    platform::HBPreferences::reloadDomain(kPreferencesDomain);
    model().configure({});
    for (const char* name : {"com.kelvane.tessra2/ReloadPrefs", "com.kelvane.tessra2/ClearAppCustomizationCache"})
      observers_.push_back(platform::DarwinNotificationCenter::shared().addObserver(
          name, [this](const std::string& posted) { posted_.push_back(posted); }));
  }
  void TearDown() override {
    for (auto token : observers_) platform::DarwinNotificationCenter::shared().removeObserver(token);
    std::filesystem::remove_all(root_);
  }

  DeviceModel& model() { return DeviceModel::shared(); }

  ScriptOutcome run(std::string_view line) {
    auto parsed = parser_.parseLine(line, 1);
    EXPECT_TRUE(parsed.command.has_value()) << line << ": " << parsed.error;
    if (!parsed.command) return {Status::Refused, parsed.error};
    ScriptOutcome outcome = interpreter_.execute(*parsed.command);
    env_.runUntilIdle();
    return outcome;
  }
  void runOk(std::string_view line) {
    ScriptOutcome outcome = run(line);
    EXPECT_EQ(outcome.status, Status::Done) << line << ": " << outcome.output;
  }
  // The domain as another process reads it from disk.
  Value storedDomain() {
    return platform::plist::PropertyListFile::read(platform::DevicePaths::preferencesFile(kPreferencesDomain)).value;
  }

  platform::ManualTaskEnvironment env_;
  std::filesystem::path root_;
  ScriptVocabulary vocabulary_ = tweakVocabulary();
  ScriptParser parser_{vocabulary_};
  FakeAlertScreen alerts_;
  ScriptInterpreter interpreter_{DeviceModel::shared(), vocabulary_, &alerts_,
                                 [this](platform::Duration d) { env_.fastForwardBy(d); }};
  std::vector<uint64_t> observers_;
  std::vector<std::string> posted_;
};

TEST_F(ScriptInterpreterTest, CustomizeWritesTheStoreFormatAndAsksThePluginToReload) {
  runOk("customize com.apple.Maps volume 40 brightness 80 wifi off action_disableCC on");
  Value maps = storedDomain()["customizedApps"]["com.apple.Maps"];
  ASSERT_TRUE(maps.isDictionary()) << storedDomain().describe();
  EXPECT_TRUE(maps["volume"].isReal());
  EXPECT_DOUBLE_EQ(maps["volume"].doubleValue(), 0.4);
  EXPECT_DOUBLE_EQ(maps["brightness"].doubleValue(), 0.8);
  EXPECT_TRUE(maps["toggles"]["wifi"].isInteger());
  EXPECT_EQ(maps["toggles"]["wifi"].integerValue(), 0);
  EXPECT_EQ(maps["toggles"]["action_disableCC"].integerValue(), 1);
  EXPECT_EQ(posted_, (std::vector<std::string>{"com.kelvane.tessra2/ClearAppCustomizationCache"}));

  // "none" removes what was there; the rest of the entry stays.
  runOk("customize com.apple.Maps volume none wifi none");
  maps = storedDomain()["customizedApps"]["com.apple.Maps"];
  EXPECT_FALSE(maps.find("volume"));
  EXPECT_DOUBLE_EQ(maps["brightness"].doubleValue(), 0.8);
  EXPECT_FALSE(maps["toggles"].find("wifi"));
  EXPECT_EQ(maps["toggles"]["action_disableCC"].integerValue(), 1);
}

TEST_F(ScriptInterpreterTest, RemovingFromAnAppWithoutEntryCreatesNoEntry) {
  runOk("customize com.waze.iphone volume none dnd none");
  Value apps = storedDomain()["customizedApps"];
  EXPECT_FALSE(apps.find("com.waze.iphone")) << storedDomain().describe();
  EXPECT_TRUE(posted_.empty());
}

TEST_F(ScriptInterpreterTest, CustomizeKeepsOtherAppsAndOtherKeys) {
  platform::HBPreferences preferences{std::string(kPreferencesDomain)};
  platform::plist::Dictionary other{{"com.spotify.client", Value(platform::plist::Dictionary{{"volume", Value(0.7)}})}};
  ASSERT_TRUE(preferences.setObject(Value(other), "customizedApps"));
  ASSERT_TRUE(preferences.setObject(Value(false), "restorePreviousWifiOnAppExit"));
  runOk("customize com.apple.Maps dnd on");
  Value domain = storedDomain();
  EXPECT_DOUBLE_EQ(domain["customizedApps"]["com.spotify.client"]["volume"].doubleValue(), 0.7);
  EXPECT_EQ(domain["customizedApps"]["com.apple.Maps"]["toggles"]["dnd"].integerValue(), 1);
  EXPECT_EQ(domain["restorePreviousWifiOnAppExit"], Value(false));
}

TEST_F(ScriptInterpreterTest, ADamagedStoreIsRefusedAndLeftAsItWas) {
  platform::HBPreferences preferences{std::string(kPreferencesDomain)};
  ASSERT_TRUE(preferences.setObject(Value("garbage"), "customizedApps"));
  ScriptOutcome outcome = run("customize com.apple.Maps volume 40");
  EXPECT_EQ(outcome.status, Status::Refused);
  EXPECT_EQ(outcome.output, "customize: the stored \"customizedApps\" is not a dictionary (" +
                                Value("garbage").describe() + "); nothing was changed");
  EXPECT_EQ(storedDomain()["customizedApps"], Value("garbage"));
  EXPECT_TRUE(posted_.empty());

  ASSERT_TRUE(
      preferences.setObject(Value(platform::plist::Dictionary{{"com.apple.Maps", Value(3)}}), "customizedApps"));
  EXPECT_EQ(run("customize com.apple.Maps volume 40").status, Status::Refused);
  EXPECT_EQ(storedDomain()["customizedApps"]["com.apple.Maps"], Value(3));
}

TEST_F(ScriptInterpreterTest, SettingsAreStoredWithTheirTypeAndAnnounced) {
  runOk("setting restorePreviousVolumeOnAppExit off");
  runOk("setting interfaceColorStyle 0");
  Value domain = storedDomain();
  EXPECT_EQ(domain["restorePreviousVolumeOnAppExit"], Value(false));
  EXPECT_EQ(domain["interfaceColorStyle"], Value(int64_t{0}));
  EXPECT_EQ(posted_, (std::vector<std::string>{"com.kelvane.tessra2/ReloadPrefs", "com.kelvane.tessra2/ReloadPrefs"}));
}

TEST_F(ScriptInterpreterTest, SwitchesLevelsAndMediaChangeTheDevice) {
  runOk("switch wifi off");
  runOk("switch bluetooth off");
  runOk("switch ringer off");
  runOk("switch smartInvertColors on");
  runOk("dark on");
  runOk("volume 0.3");
  runOk("brightness 0.9");
  runOk("media playing com.spotify.client");
  EXPECT_EQ(model().state().switches().state("com.a3tweaks.switch.wifi"), platform::FSSwitchState::Off);
  EXPECT_FALSE(model().state().switches().bluetoothEnabled());
  EXPECT_TRUE(model().state().switches().ringerMuted());
  EXPECT_TRUE(model().state().switches().smartInvertEnabled());
  EXPECT_EQ(model().state().switches().interfaceStyle(), 2);
  EXPECT_FLOAT_EQ(model().state().audio().volume(), 0.3f);
  EXPECT_DOUBLE_EQ(model().state().display().brightness(), 0.9);
  EXPECT_TRUE(model().state().audio().isPlaying());
  runOk("expect wifi off");
  runOk("expect darkMode on");
  runOk("expect volume 0.3");
  runOk("expect brightness 0.9");
  runOk("media stopped");
  EXPECT_FALSE(model().state().audio().isPlaying());
  runOk("battery 12 charging");
  EXPECT_EQ(model().state().battery().percent(), 12);
  EXPECT_TRUE(model().state().battery().isCharging());
  EXPECT_NE(run("state").output.find("battery: 12% charging\n"), std::string::npos);
  runOk("battery 80");
  EXPECT_EQ(model().state().battery().percent(), 80);
  EXPECT_FALSE(model().state().battery().isCharging());
}

TEST_F(ScriptInterpreterTest, IndeterminateOnlyForFlipswitchSwitches) {
  runOk("switch vpn indeterminate");
  EXPECT_EQ(model().state().switches().state("com.a3tweaks.switch.vpn"), platform::FSSwitchState::Indeterminate);
  ScriptOutcome expect = run("expect vpn on");
  EXPECT_EQ(expect.status, Status::ExpectFailed);
  EXPECT_EQ(expect.output, "expected vpn on, found indeterminate");
  ScriptOutcome outcome = run("switch bluetooth indeterminate");
  EXPECT_EQ(outcome.status, Status::Refused);
  EXPECT_EQ(outcome.output, "switch: bluetooth is either on or off");
}

TEST_F(ScriptInterpreterTest, FailedExpectationsSayWhatWasFound) {
  ScriptOutcome wifi = run("expect wifi off");
  EXPECT_EQ(wifi.status, Status::ExpectFailed);
  EXPECT_EQ(wifi.output, "expected wifi off, found on");
  ScriptOutcome volume = run("expect volume 0.4");
  EXPECT_EQ(volume.status, Status::ExpectFailed);
  EXPECT_EQ(volume.output, "expected volume 0.4, found 0.5");
  runOk("expect volume 0.504");  // within the tolerance
}

TEST_F(ScriptInterpreterTest, AppsOpenAndLeaveThroughTheHomeScreen) {
  runOk("open com.apple.Maps");
  EXPECT_EQ(model().state().apps().frontApp(), "com.apple.Maps");
  runOk("siri on");
  EXPECT_TRUE(model().state().apps().siriVisible());
  runOk("siri off");
  runOk("lock");
  EXPECT_TRUE(model().state().apps().locked());
  ScriptOutcome open = run("open com.waze.iphone");
  EXPECT_EQ(open.status, Status::Refused);
  EXPECT_EQ(open.output, "open: the device is locked; unlock it first");
  EXPECT_EQ(run("home").status, Status::Refused);
  runOk("unlock");
  runOk("home");
  EXPECT_EQ(model().state().apps().frontApp(), "");
  EXPECT_EQ(run("open com.example.absent").output, "open: no app 'com.example.absent' is installed");
  EXPECT_EQ(run("open com.apple.siri").status, Status::Refused);
}

TEST_F(ScriptInterpreterTest, QuitSwipesAnAppAwayInTheSwitcherOfEachSystemVersion) {
  // Each version quits through another switcher method; every one ends the app.
  for (const char* version : {"11.4", "12.4", "13.3"}) {
    SCOPED_TRACE(version);
    platform::springboard::DeviceConfiguration config;
    config.systemVersion = version;
    model().configure(config);
    runOk("open com.apple.Maps");
    runOk("open com.waze.iphone");
    runOk("quit com.apple.Maps");  // in the background: the app in front stays
    EXPECT_FALSE(model().state().apps().isRunning("com.apple.Maps"));
    EXPECT_EQ(model().state().apps().frontApp(), "com.waze.iphone");
    runOk("quit com.waze.iphone");  // in front: the home screen comes back
    EXPECT_FALSE(model().state().apps().isRunning("com.waze.iphone"));
    EXPECT_EQ(model().state().apps().frontApp(), "");
    EXPECT_TRUE(model().state().eventLog().contains("quit com.waze.iphone"));
    EXPECT_EQ(run("quit com.waze.iphone").output, "quit: com.waze.iphone is not running");
  }
  runOk("open com.apple.Maps");
  runOk("lock");
  EXPECT_EQ(run("quit com.apple.Maps").output, "quit: the device is locked; unlock it first");
  EXPECT_TRUE(model().state().apps().isRunning("com.apple.Maps"));
  EXPECT_EQ(run("quit com.example.absent").output, "quit: no app 'com.example.absent' is installed");
}

TEST_F(ScriptInterpreterTest, DeviceSetupLinesOnlyConfirmTheDevice) {
  runOk("version 13.3");
  runOk("kind phone");
  runOk("app com.apple.Maps \"Maps\" system");
  EXPECT_EQ(run("version 12.4").status, Status::Refused);
  EXPECT_EQ(run("kind tablet").status, Status::Refused);
  EXPECT_EQ(run("app com.example.new \"New\" user").status, Status::Refused);
}

TEST_F(ScriptInterpreterTest, AlertsAreReadAndAnswered) {
  runOk("expect alert none");
  EXPECT_EQ(run("answer Yes").output, "answer: no alert is shown");
  alerts_.alert = VisibleAlert{"Volume Confirmation", "Do you want Tessra to set volume to 40%?", {"No", "Yes"}};
  ScriptOutcome none = run("expect alert none");
  EXPECT_EQ(none.status, Status::ExpectFailed);
  EXPECT_EQ(none.output, "expected no alert, found \"Do you want Tessra to set volume to 40%?\"");
  runOk("expect alert \"Do you want Tessra to set volume to 40%?\"");
  ScriptOutcome wrong = run("answer Maybe");
  EXPECT_EQ(wrong.status, Status::Refused);
  EXPECT_EQ(wrong.output, "answer: the alert \"Volume Confirmation\" has no button \"Maybe\" (it has \"No\", \"Yes\")");
  runOk("answer Yes");
  EXPECT_EQ(alerts_.tapped, (std::vector<std::string>{"Yes"}));
  runOk("expect alert none");
}

TEST_F(ScriptInterpreterTest, StateDescribesTheDevice) {
  runOk("open com.apple.Maps");
  runOk("switch wifi off");
  ScriptOutcome state = run("state");
  EXPECT_EQ(state.status, Status::Done);
  EXPECT_NE(state.output.find("front: com.apple.Maps (Maps)\n"), std::string::npos) << state.output;
  EXPECT_NE(state.output.find("locked: no, siri: no, spotlight: no\n"), std::string::npos) << state.output;
  EXPECT_NE(state.output.find(" wifi=off "), std::string::npos) << state.output;
  EXPECT_NE(state.output.find("volume: 0.50, brightness: 0.50\n"), std::string::npos) << state.output;
  EXPECT_NE(state.output.find("alert: none\n"), std::string::npos) << state.output;
}

TEST_F(ScriptInterpreterTest, WaitLetsTheDeviceClockRun) {
  bool ran = false;
  env_.mainLoop().postDelayed(platform::seconds(0.3), [&ran] { ran = true; });
  runOk("wait 0.2");
  EXPECT_FALSE(ran);
  runOk("wait 0.1");
  EXPECT_TRUE(ran);
}

TEST_F(ScriptInterpreterTest, TheRunnerTracesEventsAndDebugLinesInOrderAndStopsAtAFailure) {
  DeviceTrace trace(model().state().eventLog(), env_.clock(), platform::TimePoint{});
  env_.mainLoop().postDelayed(platform::seconds(0.25), [] {
    platform::NotificationCenter::defaultCenter().postNotification(
        DeviceTrace::kDebugLineNotification, nullptr,
        Value(platform::plist::Dictionary{{"message", Value("com.apple.Maps : Set volume 0.400000")}}));
  });
  auto parsed = parser_.parse("switch wifi off\nwait 0.5\nexpect wifi on\nhome\n");
  ASSERT_TRUE(parsed.ok());
  ScriptRunner runner(interpreter_, trace, [this] { env_.runUntilIdle(); });
  std::ostringstream out, err;
  EXPECT_EQ(runner.run(parsed.commands, "test.txt", out, err), 1);
  EXPECT_EQ(out.str(),
            "[     0.000] > switch wifi off\n"
            "[     0.000] event: wifi -> off\n"
            "[     0.000] > wait 0.5\n"
            "[     0.250] com.apple.Maps : Set volume 0.400000\n"
            "[     0.500] > expect wifi on\n");
  EXPECT_EQ(err.str(), "test.txt:3: expect failed: expected wifi on, found off\n");
}

}  // namespace
}  // namespace tessra::device
