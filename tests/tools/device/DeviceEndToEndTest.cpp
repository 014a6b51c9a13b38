// End-to-end: a device created and started by the `tessra` command (its bus
// and its SpringBoard host with the real plug-in), driven by scripts, by other
// processes' settings and notifications, and by losing its bus.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <future>
#include <sstream>
#include <thread>

#include "platform/bus/BusConnection.h"
#include "platform/bus/BusControlClient.h"
#include "platform/bus/BusDaemon.h"
#include "platform/bus/BusNotificationTransport.h"
#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/ProcessState.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/prefs/HBPreferences.h"
#include "tests/tools/device/StartedDeviceTest.h"
#include "tools/SpringBoard/core/HostFiles.h"

namespace tessra::device {
namespace {

namespace fs = std::filesystem;
using testing::contains;
using testing::DeviceProcessRunner;
using testing::ProcessResult;
using testing::readFile;
using testing::StartedDeviceTest;
using Clock = std::chrono::steady_clock;

// Waits for `condition` until `timeout`; whether it came true.
template <class F>
bool eventually(F condition, std::chrono::seconds timeout = std::chrono::seconds(20)) {
  auto deadline = Clock::now() + timeout;
  while (!condition()) {
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  return true;
}

class DeviceEndToEndTest : public StartedDeviceTest {
 protected:
  DeviceEndToEndTest() : StartedDeviceTest("te2e") {}
  void SetUp() override {
    StartedDeviceTest::SetUp();
    startDevice();
  }

  fs::path script(const std::string& name, const std::string& text) {
    fs::path path = scratch_ / name;
    std::ofstream(path) << text;
    return path;
  }
  ProcessResult runLive(const std::string& name, const std::string& text) {
    return tessra({"device", "run", script(name, text).string(), "--root", root_.string()});
  }
  bool hostAnswers() { return platform::BusControlClient::call(root_, "ping", {}, platform::seconds(1)).answered(); }
};

TEST_F(DeviceEndToEndTest, ALiveScriptAppliesAnAppAndRestoresItOnTheWayHome) {
  ProcessResult run = runLive("maps.txt",
                              "customize com.apple.Maps volume 40 wifi off action_disableCC on\n"
                              "open com.apple.Maps\n"
                              "wait 1\n"
                              "expect volume 0.4\n"
                              "expect wifi off\n"
                              "home\n"
                              "wait 1\n"
                              "expect volume 0.5\n"
                              "expect wifi on\n");
  ASSERT_EQ(run.status, 0) << run.out << run.err << hostLog();
  for (const char* line : {"] > open com.apple.Maps", "] > wait 1", "] com.apple.Maps : Set volume 0.400000",
                           "] com.apple.Maps : Set toggle wifi to 0", "] event: wifi -> off",
                           "] com.apple.Maps : Restore volume 0.500000", "] com.apple.Maps : Restore toggle wifi to 1"})
    EXPECT_TRUE(contains(run.out, line)) << line << "\n" << run.out;

  ProcessResult log = tessra({"device", "log", root_.string()});
  EXPECT_EQ(log.status, 0);
  EXPECT_TRUE(contains(log.out, "com.apple.Maps : Set volume 0.400000")) << log.out;
  ProcessResult state = tessra({"device", "state", root_.string()});
  EXPECT_EQ(state.status, 0) << state.err;
  EXPECT_TRUE(contains(state.out, "front: home screen\n")) << state.out;
  EXPECT_TRUE(contains(state.out, " wifi=on ")) << state.out;
}

TEST_F(DeviceEndToEndTest, ASettingWrittenByAnotherProcessReachesTheRunningPlugin) {
  ProcessResult set = tessra({"set", "restorePreviousVolumeOnAppExit", "off", "--root", root_.string()});
  ASSERT_EQ(set.status, 0) << set.err;
  ProcessResult run = runLive("norestore.txt",
                              "customize com.apple.Maps volume 40\n"
                              "open com.apple.Maps\n"
                              "wait 1\n"
                              "expect volume 0.4\n"
                              "home\n"
                              "wait 1\n"
                              "expect volume 0.4\n");
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_FALSE(contains(run.out, "Restore volume")) << run.out;
}

TEST_F(DeviceEndToEndTest, ClearingTheCustomizationsMakesThePluginReloadItsStore) {
  ProcessResult customize = runLive("customize.txt", "customize com.apple.Maps volume 40\n");
  ASSERT_EQ(customize.status, 0) << customize.err;

  // The settings page's reset: an empty store, then the notification.
  platform::DevicePaths::setRoot(root_);
  platform::HBPreferences::reloadDomain("com.kelvane.tessra2");
  platform::HBPreferences preferences("com.kelvane.tessra2");
  ASSERT_TRUE(preferences.setObject(platform::plist::Value(platform::plist::Dictionary{}), "customizedApps"));
  postToDevice(
      [](platform::BusNotificationTransport& t) { t.sendDarwin("com.kelvane.tessra2/ClearAppCustomizationCache"); });

  ProcessResult run = runLive("open.txt", "open com.apple.Maps\nwait 1\nexpect volume 0.5\n");
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_FALSE(contains(run.out, "Set volume")) << run.out;
}

TEST_F(DeviceEndToEndTest, BadScriptsAreRefusedWholeAndChangeNothing) {
  ProcessResult bad = runLive("bad.txt",
                              "customize com.apple.Maps volume 40\n"
                              "switch wifi off\n"
                              "opne com.apple.Maps\n"
                              "volume 2\n"
                              "open com.example.missing\n");
  EXPECT_EQ(bad.status, 2);
  EXPECT_TRUE(contains(bad.err, "bad.txt:3: unknown command 'opne'\n")) << bad.err;
  EXPECT_TRUE(contains(bad.err, "bad.txt:4: volume: expected a number from 0 to 1, got '2'\n")) << bad.err;
  EXPECT_TRUE(contains(bad.err, "bad.txt:5: no app 'com.example.missing' is installed on the device\n")) << bad.err;
  EXPECT_TRUE(contains(bad.err, "nothing was run")) << bad.err;
  EXPECT_EQ(bad.out, "");

  ProcessResult state = tessra({"device", "state", root_.string()});
  EXPECT_TRUE(contains(state.out, " wifi=on ")) << state.out;
  auto domain =
      platform::plist::PropertyListFile::read(root_ / "var/mobile/Library/Preferences/com.kelvane.tessra2.plist");
  EXPECT_FALSE(domain.ok() && domain.value["customizedApps"].find("com.apple.Maps")) << domain.value.describe();

  // A line the running device refuses stops the run at that line.
  ProcessResult locked = runLive("locked.txt", "lock\nopen com.apple.Maps\nunlock\n");
  EXPECT_EQ(locked.status, 2);
  EXPECT_EQ(locked.err, (scratch_ / "locked.txt").string() + ":2: open: the device is locked; unlock it first\n");
  EXPECT_TRUE(contains(tessra({"device", "state", root_.string()}).out, "locked: yes"));
}

TEST_F(DeviceEndToEndTest, RequestsWithoutAUsableBundleIdCrashNothing) {
  // The plug-in listens for the settings page's requests once the Settings app was in front.
  ASSERT_EQ(runLive("settings.txt", "open com.apple.Preferences\n").status, 0);
  auto pid = HostFiles::runningPid(root_);
  ASSERT_TRUE(pid.has_value());
  postToDevice([](platform::BusNotificationTransport& t) {
    t.sendDistributed("tessra2.showTessraInterfaceWithBundleId", platform::plist::Value(platform::plist::Dictionary{}));
    t.sendDistributed("tessra2.showTessraInterfaceWithBundleId",
                      platform::plist::Value(platform::plist::Dictionary{{"bundleId", platform::plist::Value(42)}}));
  });
  EXPECT_TRUE(eventually([&] {
    std::string log = hostLog();
    return contains(log, "\"bundleId\" is missing") && contains(log, "\"bundleId\" is not a string");
  })) << hostLog();
  EXPECT_TRUE(hostAnswers());
  EXPECT_EQ(HostFiles::runningPid(root_), pid);
  ProcessResult state = tessra({"device", "state", root_.string()});
  EXPECT_TRUE(contains(state.out, "front: com.apple.Preferences (Settings)\n")) << state.out;
}

TEST_F(DeviceEndToEndTest, TheDeviceSurvivesLosingItsBusAndCatchesUpAfterwards) {
  ASSERT_EQ(runLive("customize.txt", "customize com.apple.Maps volume 40\n").status, 0);
  auto host = HostFiles::runningPid(root_);
  auto bus = platform::BusDaemon::runningPid(root_);
  ASSERT_TRUE(host && bus);
  ASSERT_EQ(kill(*bus, SIGKILL), 0);
  ASSERT_TRUE(eventually([&] { return kill(*bus, 0) != 0; }));

  // Written while the bus is away: the notification is lost, the file is not.
  ProcessResult set = tessra({"set", "restorePreviousVolumeOnAppExit", "off", "--root", root_.string()});
  ASSERT_EQ(set.status, 0) << set.err;
  EXPECT_EQ(HostFiles::runningPid(root_), host);

  auto restarted = platform::BusDaemon::start(root_);
  ASSERT_TRUE(restarted.ok) << restarted.error;
  ASSERT_TRUE(eventually([&] { return hostAnswers(); })) << hostLog();
  EXPECT_EQ(HostFiles::runningPid(root_), host);

  ProcessResult run = runLive("after.txt",
                              "open com.apple.Maps\n"
                              "wait 1\n"
                              "expect volume 0.4\n"
                              "home\n"
                              "wait 1\n"
                              "expect volume 0.4\n");
  EXPECT_EQ(run.status, 0) << run.out << run.err << hostLog();
}

TEST_F(DeviceEndToEndTest, AfterItsBusDiedTheDeviceSaysWhatRunsAndStartRestartsOnlyTheBus) {
  auto host = HostFiles::runningPid(root_);
  auto bus = platform::BusDaemon::runningPid(root_);
  ASSERT_TRUE(host && bus);
  ASSERT_EQ(kill(*bus, SIGKILL), 0);
  ASSERT_TRUE(eventually([&] { return kill(*bus, 0) != 0; }));

  ProcessResult state = tessra({"device", "state", root_.string()});
  EXPECT_EQ(state.status, 1);
  EXPECT_TRUE(contains(state.err, "SpringBoard runs (pid " + std::to_string(*host) +
                                      ") but the device bus is not running, so its state cannot be read"))
      << state.err;
  EXPECT_FALSE(contains(state.err, "device at")) << state.err;

  ProcessResult start = tessra({"device", "start", root_.string()});
  ASSERT_EQ(start.status, 0) << start.out << start.err << hostLog();
  auto newBus = platform::BusDaemon::runningPid(root_);
  ASSERT_TRUE(newBus.has_value());
  EXPECT_NE(*newBus, *bus);
  EXPECT_EQ(start.out, "device bus was not running: started it again (pid " + std::to_string(*newBus) +
                           ")\nSpringBoard was already running (pid " + std::to_string(*host) +
                           ") and is connected to the bus again\n");
  EXPECT_EQ(HostFiles::runningPid(root_), host);
  ProcessResult after = tessra({"device", "state", root_.string()});
  EXPECT_EQ(after.status, 0) << after.err;
}

TEST_F(DeviceEndToEndTest, TheDevicesKillallRestartsItsOwnSpringBoard) {
  ASSERT_EQ(runLive("customize.txt", "customize com.apple.Maps volume 40\n").status, 0);
  auto before = HostFiles::runningPid(root_);
  ASSERT_TRUE(before.has_value());
  fs::path killall = root_ / "usr/bin/killall";
  ProcessResult unknown = DeviceProcessRunner::run(killall, {"-9", "Finder"}, scratch_);
  EXPECT_EQ(unknown.status, 1);
  EXPECT_EQ(unknown.err, "killall: no process named Finder on this device\n");
  EXPECT_EQ(HostFiles::runningPid(root_), before);

  ProcessResult restart = DeviceProcessRunner::run(killall, {"-9", "backboardd"}, scratch_);
  ASSERT_EQ(restart.status, 0) << restart.out << restart.err;
  auto after = HostFiles::runningPid(root_);
  ASSERT_TRUE(after.has_value());
  EXPECT_NE(after, before);
  EXPECT_FALSE(platform::ProcessState::isRunning(*before));  // ended (its adopter may reap it later)
  // The new SpringBoard loaded the plug-in again, with the stored customization.
  ProcessResult run = runLive("after.txt", "open com.apple.Maps\nwait 1\nexpect volume 0.4\n");
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_EQ(tessra({"device", "start", root_.string()}).out,
            "SpringBoard already runs (pid " + std::to_string(*after) + ")\n");
}

// The screen of a live device: touches from a script, a long press held in real time, a snapshot beside the script.
TEST_F(DeviceEndToEndTest, ALiveScriptTouchesTheScreen) {
  ProcessResult run =
      runLive("touch.txt",
              "press icon com.apple.Maps\n"
              "expect menu \"Mark My Location\" \"Send My Location\" \"Share App\" \"Edit Home Screen\" \"Tessra\"\n"
              "tap \"Send My Location\"\n"
              "expect text \"com.apple.Maps\"\n"
              "swipe home\n"
              "expect no text \"com.apple.Maps\"\n"
              "snapshot live.png --scale 1\n");
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_NE(run.out.find("event: longpress SBIconView com.apple.Maps"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("event: open com.apple.Maps"), std::string::npos) << run.out;
  EXPECT_TRUE(std::filesystem::is_regular_file(scratch_ / "live.png"));
}

TEST_F(DeviceEndToEndTest, ASecondScriptWhileOneRunsIsRefusedAndSaysWhy) {
  auto first = std::async(std::launch::async, [&] { return runLive("slow.txt", "wait 2\nexpect wifi on\n"); });
  ASSERT_TRUE(eventually([&] { return fs::exists(root_ / "var/run/tessra-run.lock"); }));
  std::this_thread::sleep_for(std::chrono::milliseconds(500));  // the first one is inside its wait
  ProcessResult second = runLive("second.txt", "switch wifi off\n");
  EXPECT_EQ(second.status, 2);
  EXPECT_TRUE(contains(second.err, "another script is running on this device")) << second.err;
  EXPECT_EQ(first.get().status, 0);
  EXPECT_EQ(runLive("after.txt", "expect wifi on\n").status, 0);
}

TEST_F(DeviceEndToEndTest, TheDevicesOwnStateSurvivesAStopAndStart) {
  ASSERT_EQ(runLive("set.txt", "switch wifi off\nvolume 0.3\nbrightness 0.7\n").status, 0);
  ASSERT_EQ(tessra({"device", "stop", root_.string()}).status, 0);
  ASSERT_EQ(tessra({"device", "start", root_.string()}).status, 0);
  ProcessResult run = runLive("check.txt", "expect wifi off\nexpect volume 0.3\nexpect brightness 0.7\n");
  EXPECT_EQ(run.status, 0) << run.out << run.err;
}

TEST_F(DeviceEndToEndTest, AHostKilledWithAnAppInFrontLeavesNoSwitchStranded) {
  ASSERT_EQ(runLive("app.txt",
                    "switch bluetooth on\nvolume 0.3\nbrightness 0.4\n"
                    "customize com.apple.Maps volume 80 brightness 90 wifi off\n"
                    "open com.apple.Maps\nwait 1\nexpect wifi off\nexpect volume 0.8\n"
                    // The state is saved once the main loop has run the change's turn.
                    "switch bluetooth off\nwait 0.1\n")
                .status,
            0);
  auto host = HostFiles::runningPid(root_);
  ASSERT_TRUE(host.has_value());
  ASSERT_EQ(kill(*host, SIGKILL), 0);
  ASSERT_TRUE(eventually([&] { return !HostFiles::runningPid(root_).has_value(); }));
  // A dead host is dead at once: start brings up a new one.
  ProcessResult started = tessra({"device", "start", root_.string()});
  ASSERT_EQ(started.status, 0) << started.err;
  EXPECT_FALSE(contains(started.out, "already runs")) << started.out;
  ProcessResult run = runLive("check.txt",
                              "wait 1\nexpect wifi on\nexpect volume 0.3\nexpect brightness 0.4\n"
                              "expect bluetooth off\n");
  EXPECT_EQ(run.status, 0) << run.out << run.err << readFile(root_ / "var/log/KLDebug/com.kelvane.tessra2.log");
  EXPECT_TRUE(contains(readFile(root_ / "var/log/KLDebug/com.kelvane.tessra2.log"), "Replay the restore journal"));
}

}  // namespace
}  // namespace tessra::device
