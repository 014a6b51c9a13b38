// End-to-end: the behaviours' script commands on a live device created with
// Activator; the plug-in loaded by the device's SpringBoard decides, and its
// toasts show in the trace when they appear and when they have faded out.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/tools/device/StartedDeviceTest.h"

namespace tessra::device {
namespace {

namespace fs = std::filesystem;
using testing::contains;
using testing::ProcessResult;
using testing::StartedDeviceTest;

class BehavioursEndToEndTest : public StartedDeviceTest {
 protected:
  BehavioursEndToEndTest() : StartedDeviceTest("tbe2e") {}
  void SetUp() override {
    StartedDeviceTest::SetUp();
    startDevice({"--activator"});
  }

  ProcessResult runLive(const std::string& name, const std::string& text) {
    fs::path path = scratch_ / name;
    std::ofstream(path) << text;
    return tessra({"device", "run", path.string(), "--root", root_.string()});
  }
  // How many trace lines end with `text`.
  static size_t linesEndingWith(const std::string& trace, const std::string& text) {
    size_t count = 0;
    for (size_t at = trace.find(text + "\n"); at != std::string::npos; at = trace.find(text + "\n", at + 1)) ++count;
    return count;
  }
};

TEST_F(BehavioursEndToEndTest, EveryBehaviourCommandRunsLiveAndToastsAreTracedComingAndGoing) {
  ProcessResult run =
      runLive("behaviours.txt",
              "customize com.apple.Maps action_disableCC on action_disableNC on action_disableReachability on "
              "action_disableActivator on action_hideNotificationBanners on action_hideStockAlerts on "
              "action_disableHomeGesture on\n"
              "open com.apple.Maps\n"
              "wait 0.3\n"
              "controlcenter\nexpect controlcenter blocked\n"
              "notificationcenter\nexpect notificationcenter blocked\n"
              "reachability\nexpect reachability blocked\n"
              "activator libactivator.statusbar.tap.double\n"
              "banner com.apple.MobileSMS \"Alice\" \"Lunch?\" \"Re: plans\"\n"
              "wait 0.2\n"
              "expect banner hidden\n"
              "expect toast \"Alice - Re: plans\" \"Lunch?\"\n"
              "systemalert SBLowPowerAlertItem \"Low Battery\" nil\n"
              "expect systemalert hidden\n"
              "systemalert SBUserNotificationAlert \"Allow?\" nil\n"
              "expect systemalert shown\n"
              "wait 1.2\n"
              "expect toasts 2\n"
              "button volumeup down\n"
              "button volumeup up\n"
              "buttons volumeup+volumedown down\n"
              "buttons volumeup+volumedown up\n"
              "expect home pressed 1\n"
              "wait 2.5\n"
              "controlcenter\nexpect controlcenter opened\n");
  ASSERT_EQ(run.status, 0) << run.out << run.err << hostLog();
  for (const char* line :
       {"event: control center: suppressesControlCenter -> YES, blocked",
        "event: notification center: suppressesCoverSheetGesture -> YES, blocked",
        "event: reachability: canActivateReachability -> NO, blocked",
        "event: activator: sendEventToListener: libactivator.statusbar.tap.double", "event: buttons 102 down 103 down",
        "event: home button", "event: buttons: _handlePhysicalButtonEvent: -> YES",
        "event: control center: opened over the home screen"})
    EXPECT_TRUE(contains(run.out, line)) << line << "\n" << run.out;
  EXPECT_FALSE(contains(run.out, "activator listener received")) << run.out;
  // The banner's toast appeared and, 3.4 s later, faded out: the same line twice.
  EXPECT_EQ(linesEndingWith(run.out, "event: toast \"Alice - Re: plans\" \"Lunch?\" 3.0s"), 2u) << run.out;
  EXPECT_EQ(linesEndingWith(run.out, "event: toast nil \"Low Battery\" 3.0s"), 1u) << run.out;

  // What a script counts starts again with the next script.
  ProcessResult again = runLive("again.txt",
                                "expect home pressed 0\n"
                                "open com.apple.Maps\nwait 0.3\n"
                                "buttons volumeup+volumedown down\n"
                                "expect home pressed 1\n");
  EXPECT_EQ(again.status, 0) << again.out << again.err;
  ProcessResult never = runLive("never.txt", "expect controlcenter opened\n");
  EXPECT_EQ(never.status, 1);
  EXPECT_TRUE(contains(never.err, ":1: expect failed: expected controlcenter opened, but it was never pulled down"))
      << never.err;
}

TEST_F(BehavioursEndToEndTest, BadBehaviourLinesAreRefusedWholeAndChangeNothing) {
  ProcessResult bad = runLive("bad.txt",
                              "activator absent\n"
                              "open com.apple.Maps\n"
                              "button home down\n"
                              "banner com.example.missing \"T\" \"M\"\n"
                              "expect toasts many\n");
  EXPECT_EQ(bad.status, 2);
  for (const char* message :
       {":1: activator: Activator is installed on the device",
        ":3: button: unknown button 'home' (volumeup, volumedown or side)",
        ":4: no app 'com.example.missing' is installed on the device",
        ":5: expect toasts: expected 'expect toasts N' with N a whole number from 0 to 1000", "nothing was run"})
    EXPECT_TRUE(contains(bad.err, message)) << message << "\n" << bad.err;
  ProcessResult state = tessra({"device", "state", root_.string()});
  EXPECT_TRUE(contains(state.out, "front: home screen\n")) << state.out;
}

}  // namespace
}  // namespace tessra::device
