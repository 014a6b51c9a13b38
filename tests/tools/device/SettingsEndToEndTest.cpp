// End-to-end: the Settings app as a process of its own beside the home
// screen, in a dry run (stepped together on one clock) and on a started
// device: its pages change the running plug-in, its reset empties the
// plug-in's store, and "Respring" restarts the home screen with every setting.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <future>
#include <sstream>
#include <thread>

#include "platform/bus/BusConnection.h"
#include "platform/bus/BusControlClient.h"
#include "platform/bus/BusNotificationTransport.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/ui/UIImage.h"
#include "tests/tools/device/StartedDeviceTest.h"
#include "tools/SpringBoard/core/HostFiles.h"

namespace tessra::device {
namespace {

namespace fs = std::filesystem;
using testing::contains;
using testing::DeviceProcessRunner;
using testing::ProcessResult;

class SettingsEndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int counter = 0;
    scratch_ = fs::temp_directory_path() / ("tse2e-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
    fs::remove_all(scratch_);
    fs::create_directories(scratch_);
    root_ = scratch_ / "device";
    if (!fs::exists(fs::path(TESSRA_BIN_DIR) / "Preferences")) GTEST_SKIP() << "the Preferences host is not built";
  }
  void TearDown() override {
    if (started_) tessra({"device", "stop", root_.string()});
    fs::remove_all(scratch_);
  }
  ProcessResult tessra(const std::vector<std::string>& args) {
    return DeviceProcessRunner::run(fs::path(TESSRA_BIN_DIR) / "tessra", args, scratch_);
  }
  fs::path script(const std::string& text) {
    fs::path path = scratch_ / ("script" + std::to_string(++scripts_) + ".txt");
    std::ofstream(path) << text;
    return path;
  }
  void startDevice() {
    ASSERT_EQ(tessra({"device", "create", root_.string()}).status, 0);
    if (!fs::exists(root_ / "Library/PreferenceBundles/Tessra2Prefs.bundle/Tessra2Prefs"))
      GTEST_SKIP() << "the settings bundle is not built";
    ProcessResult started = tessra({"device", "start", root_.string()});
    ASSERT_EQ(started.status, 0) << started.err;
    started_ = true;
  }
  // Asks the plug-in to open its panel, as the apps page does, from this process.
  void requestPanel(const std::string& bundleId) {
    platform::BusConnection bus(root_);
    platform::BusNotificationTransport transport(
        bus, {[](const std::string&) {}, [](const std::string&, const platform::plist::Value&) {}});
    bus.start();
    ASSERT_TRUE(bus.waitFor(platform::BusConnection::State::Connected, platform::seconds(10)));
    transport.sendDistributed("tessra2.showTessraInterfaceWithBundleId",
                              platform::plist::Dictionary{{"bundleId", bundleId}});
    std::promise<void> sent;
    bus.post([&sent](sdbus::IConnection*) { sent.set_value(); });
    ASSERT_EQ(sent.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
    bus.stop();
  }
  std::string log(const char* file) {
    std::ifstream in(root_ / "var/log" / file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  fs::path scratch_;
  fs::path root_;
  bool started_ = false;
  int scripts_ = 0;
};

TEST_F(SettingsEndToEndTest, ADryRunKeepsTheSettingsAppApartAndCrossesItsNotifications) {
  // The home screen's write reaches the Settings app's store; the Settings app's reset reaches the plug-in's.
  ProcessResult run = tessra({"device", "run",
                              script("customize com.waze.iphone volume 40\n"
                                     "settings\n"
                                     "expect page \"Tessra 2\"\n"
                                     "settings tap \"Customize Apps\"\n"
                                     "expect rows \"Customized Apps\" \"Waze\"\n"
                                     "settings tap \"Reset\"\n"
                                     "wait 0.5\n"
                                     "answer \"Reset\"\n"
                                     "wait 0.5\n"
                                     "answer \"Reset\"\n"
                                     "wait 0.5\n"
                                     "expect rows \"Customized Apps\" \"No customized apps yet...\"\n"
                                     "open com.waze.iphone\n"
                                     "wait 1\n"
                                     "expect volume 0.5\n")
                                  .string()});
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_TRUE(contains(run.out, "] > expect rows \"Customized Apps\" \"No customized apps yet...\"")) << run.out;
  EXPECT_FALSE(contains(run.out, "Set volume")) << run.out;
}

TEST_F(SettingsEndToEndTest, ADryRunReportsWhatTheSettingsAppRefuses) {
  ProcessResult notOpen = tessra({"device", "run", script("settings tap \"Customize Apps\"\n").string()});
  EXPECT_EQ(notOpen.status, 2);
  EXPECT_TRUE(contains(notOpen.err, "settings tap: the Settings app is not in front")) << notOpen.err;
  ProcessResult disabled = tessra({"device", "run",
                                   script("settings\nsettings switch \"Enabled\" off\n"
                                          "expect row \"Debug Toasts\" disabled\n"
                                          "settings switch \"Debug Toasts\" on\n")
                                       .string()});
  EXPECT_EQ(disabled.status, 2);
  EXPECT_TRUE(contains(disabled.err, ":4: settings switch: the row \"Debug Toasts\" is disabled")) << disabled.err;
  ProcessResult wrong = tessra({"device", "run", script("settings\nexpect page \"General\"\n").string()});
  EXPECT_EQ(wrong.status, 1);
  EXPECT_TRUE(contains(wrong.err, "page is \"Tessra 2\"")) << wrong.err;
}

TEST_F(SettingsEndToEndTest, QuittingTheSettingsAppEndsItsProcessDryAndLive) {
  const std::string lines =
      "settings\n"
      "settings tap \"Customize Apps\"\n"
      "quit com.apple.Preferences\n"
      "settings tap \"Reset\"\n";
  ProcessResult dry = tessra({"device", "run", script(lines).string()});
  EXPECT_EQ(dry.status, 2);
  EXPECT_TRUE(contains(dry.err, ":4: settings tap: the Settings app is not in front")) << dry.out << dry.err;
  ProcessResult again = tessra({"device", "run",
                                script("settings\nquit com.apple.Preferences\nsettings\n"
                                       "settings switch \"Show Volume Indicator\" off\n"
                                       "expect setting showVolumeHUD off\n")
                                    .string()});
  EXPECT_EQ(again.status, 0) << again.out << again.err;

  startDevice();
  ProcessResult live = tessra({"device", "run", script(lines).string(), "--root", root_.string()});
  EXPECT_EQ(live.status, 2) << live.out << live.err;
  EXPECT_TRUE(contains(live.err, ":4: settings tap: the Settings app is not in front")) << live.out << live.err;
  EXPECT_FALSE(
      platform::BusControlClient::call(root_, "page", {}, platform::seconds(1), "org.tessra.Preferences").answered());
  EXPECT_TRUE(contains(log("Preferences.log"), "Preferences: leaving")) << log("Preferences.log");
  ProcessResult reopened =
      tessra({"device", "run", script("settings\nexpect page \"Tessra 2\"\n").string(), "--root", root_.string()});
  EXPECT_EQ(reopened.status, 0) << reopened.err;
  EXPECT_TRUE(
      platform::BusControlClient::call(root_, "page", {}, platform::seconds(5), "org.tessra.Preferences").answered());
}

// Pixels of `a` and `b` in the rows from `top` to `bottom` that differ by more than a little in some channel.
size_t differingPixels(const platform::UIImage& a, const platform::UIImage& b, int top, int bottom) {
  size_t differing = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = 0; x < a.pixelWidth(); ++x) {
      const uint32_t p = a.pixelAt(x, y), q = b.pixelAt(x, y);
      for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(static_cast<int>((p >> shift) & 0xff) - static_cast<int>((q >> shift) & 0xff)) > 2) {
          ++differing;
          break;
        }
    }
  return differing;
}

TEST_F(SettingsEndToEndTest, InADryRunTheSettingsAppsSceneIsItsOwnScreenAndTakesTouches) {
  ProcessResult run = tessra({"device", "run",
                              script("settings\nsnapshot first.png\ntap 100 451\nwait 0.5\n"
                                     "expect page \"Customize Apps\"\nsnapshot apps.png\nhome\nsnapshot home.png\n")
                                  .string()});
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  auto first = platform::UIImage::imageWithContentsOfFile((scratch_ / "first.png").string());
  auto apps = platform::UIImage::imageWithContentsOfFile((scratch_ / "apps.png").string());
  auto home = platform::UIImage::imageWithContentsOfFile((scratch_ / "home.png").string());
  ASSERT_TRUE(first && apps && home);
  fs::copy_file(scratch_ / "apps.png", fs::temp_directory_path() / "tessra-settings-dry.png",
                fs::copy_options::overwrite_existing);
  // Another page is another picture: the plain scene would not change.
  const int bottom = first->pixelHeight() - 34 * 3;
  EXPECT_GT(differingPixels(*first, *apps, 44 * 3, bottom), 1000u);
  EXPECT_GT(differingPixels(*apps, *home, 44 * 3, bottom), 100000u);
}

TEST_F(SettingsEndToEndTest, WhileTheSettingsAppIsInFrontTheDeviceShowsItsScreenAsItsProcessDrawsIt) {
  startDevice();
  ProcessResult run =
      tessra({"device", "run", script("settings\nexpect page \"Tessra 2\"\n").string(), "--root", root_.string()});
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  // The Settings app's own picture of its page, at the device's size and scale.
  auto own = platform::BusControlClient::call(root_, "frame", {"/var/run/own.png", "375", "812", "3"},
                                              platform::seconds(10), "org.tessra.Preferences");
  ASSERT_TRUE(own.answered() && own.status == 0) << own.error << own.output;
  auto drawn = platform::UIImage::imageWithContentsOfFile((root_ / "var/run/own.png").string());
  ASSERT_TRUE(drawn);
  ASSERT_EQ(drawn->pixelWidth(), 1125);
  // Below the status bar (44 points), the device's screen holds those very pixels once the frame has come over.
  const fs::path png = scratch_ / "device.png";
  size_t differing = 0;
  for (int attempt = 0; attempt < 50; ++attempt) {
    ProcessResult snap = tessra({"device", "snapshot", root_.string(), png.string()});
    ASSERT_EQ(snap.status, 0) << snap.err;
    auto device = platform::UIImage::imageWithContentsOfFile(png.string());
    ASSERT_TRUE(device);
    ASSERT_EQ(device->pixelWidth(), drawn->pixelWidth());
    differing = differingPixels(*device, *drawn, 44 * 3, drawn->pixelHeight() - 34 * 3);
    if (differing == 0) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_EQ(differing, 0u) << log("SpringBoard.log");
  fs::copy_file(png, fs::temp_directory_path() / "tessra-settings-scene.png", fs::copy_options::overwrite_existing);

  // A finger on the device's screen reaches the Settings app (here the "Customize Apps" row), and the page it
  // opens is on the device's screen too; at home, the screen is the home screen's again.
  ProcessResult tapped =
      tessra({"device", "run", script("tap 100 451\nwait 0.8\nexpect page \"Customize Apps\"\n").string(), "--root",
              root_.string()});
  ASSERT_EQ(tapped.status, 0) << tapped.out << tapped.err << log("SpringBoard.log") << log("Preferences.log");
  ProcessResult snap = tessra({"device", "snapshot", root_.string(), png.string()});
  ASSERT_EQ(snap.status, 0) << snap.err;
  auto apps = platform::UIImage::imageWithContentsOfFile(png.string());
  ASSERT_TRUE(apps);
  EXPECT_GT(differingPixels(*apps, *drawn, 44 * 3, drawn->pixelHeight() - 34 * 3), 1000u);
  ASSERT_EQ(tessra({"device", "run", script("home\n").string(), "--root", root_.string()}).status, 0);
  ASSERT_EQ(tessra({"device", "snapshot", root_.string(), png.string()}).status, 0);
  auto home = platform::UIImage::imageWithContentsOfFile(png.string());
  ASSERT_TRUE(home);
  EXPECT_GT(differingPixels(*home, *drawn, 44 * 3, drawn->pixelHeight() - 34 * 3), 100000u);
}

TEST_F(SettingsEndToEndTest, APanelRequestOpensNothingUntilTheSettingsAppWasInFront) {
  startDevice();
  requestPanel("com.waze.iphone");
  // A round trip through the home screen: the request has been handled (or ignored) by then.
  ProcessResult before = tessra({"device", "run", script("expect panel closed\n").string(), "--root", root_.string()});
  EXPECT_EQ(before.status, 0) << before.out << before.err;
  ProcessResult run = tessra({"device", "run",
                              script("settings\nsettings tap \"Customize Apps\"\nwait 0.3\n"
                                     "settings tap \"Waze\"\nwait 0.5\nexpect panel open\n")
                                  .string(),
                              "--root", root_.string()});
  EXPECT_EQ(run.status, 0) << run.out << run.err << log("SpringBoard.log");
}

TEST_F(SettingsEndToEndTest, ALiveSettingTakesEffectInTheRunningPlugInAndRespringKeepsEverySetting) {
  startDevice();
  ProcessResult run = tessra({"device", "run",
                              script("customize com.waze.iphone wifi off\n"
                                     "settings\n"
                                     "settings tap \"Restore Previous Values\"\n"
                                     "settings switch \"Restore Wi-Fi\" off\n"
                                     "expect setting restorePreviousWifiOnAppExit off\n"
                                     "open com.waze.iphone\n"
                                     "wait 0.5\n"
                                     "expect wifi off\n"
                                     "home\n"
                                     "wait 0.5\n"
                                     "expect wifi off\n")
                                  .string(),
                              "--root", root_.string()});
  ASSERT_EQ(run.status, 0) << run.out << run.err << log("SpringBoard.log") << log("Preferences.log");

  ProcessResult reset = tessra({"device", "run",
                                script("settings\nsettings tap \"Customize Apps\"\nwait 0.3\n"
                                       "settings tap \"Reset\"\nwait 0.5\nanswer \"Reset\"\nwait 0.5\n"
                                       "answer \"Reset\"\nwait 0.5\nswitch wifi on\nopen com.waze.iphone\nwait 0.5\n"
                                       "expect wifi on\nhome\n")
                                    .string(),
                                "--root", root_.string()});
  ASSERT_EQ(reset.status, 0) << reset.out << reset.err;
  EXPECT_TRUE(contains(tessra({"apps", "--root", root_.string()}).out, "No app is customized.")) << reset.out;

  auto before = HostFiles::runningPid(root_);
  ASSERT_TRUE(before);
  ProcessResult respring = tessra({"device", "run",
                                   script("settings\nsettings switch \"Show Volume Indicator\" off\n"
                                          "settings switch \"Enabled\" off\n"
                                          "settings switch \"Enabled\" on\n"
                                          "settings tap \"Respring\"\n")
                                       .string(),
                                   "--root", root_.string()});
  ASSERT_EQ(respring.status, 0) << respring.out << respring.err;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (std::chrono::steady_clock::now() < deadline) {
    auto now = HostFiles::runningPid(root_);
    if (now && *now != *before && platform::BusControlClient::call(root_, "ping", {}, platform::seconds(1)).answered())
      break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_NE(HostFiles::runningPid(root_), before) << log("SpringBoard.log");
  std::string settings = tessra({"settings", "--root", root_.string()}).out;
  EXPECT_TRUE(contains(settings, "* showVolumeHUD")) << settings;
  EXPECT_TRUE(contains(settings, "* restorePreviousWifiOnAppExit")) << settings;
  ProcessResult after =
      tessra({"device", "run", script("settings\nexpect page \"Tessra 2\"\n").string(), "--root", root_.string()});
  EXPECT_EQ(after.status, 0) << after.err;
}

}  // namespace
}  // namespace tessra::device
