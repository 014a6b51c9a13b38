// Dry runs of the behaviours through the built `tessra` command: the real
// plug-in decides what the home screen lets through, and its toasts show in the trace.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "tests/tools/script/dryrun/DryRunFixture.h"

namespace tessra::device {
namespace {

namespace fs = std::filesystem;
using testing::DryRunFixture;
using testing::ProcessResult;

class BehavioursDryRunTest : public DryRunFixture {
 protected:
  BehavioursDryRunTest() : DryRunFixture("tessra-behaviours") {}

  static bool has(const ProcessResult& run, const std::string& line) {
    return run.out.find(line + "\n") != std::string::npos;
  }
};

TEST_F(BehavioursDryRunTest, TheAppInFrontBlocksPullDownsAndTurnsBannersAndAlertsIntoToasts) {
  ProcessResult run = dryRun(
      "activator installed\n"
      "customize com.apple.Maps action_disableCC on action_disableActivator on action_hideNotificationBanners on "
      "action_hideStockAlerts on\n"
      "open com.apple.Maps\n"
      "controlcenter\n"
      "expect controlcenter blocked\n"
      "activator libactivator.statusbar.tap.double\n"
      "banner com.apple.MobileSMS \"Alice\" \"Lunch?\" \"Re: plans\"\n"
      "expect banner hidden\n"
      "expect toast \"Alice - Re: plans\" \"Lunch?\"\n"
      "systemalert SBLowPowerAlertItem \"Low Battery\" nil\n"
      "expect systemalert hidden\n"
      "wait 1.5\n"
      "expect toasts 2\n"
      "wait 8\n"
      "expect toast none\n"
      "home\n"
      "controlcenter\n"
      "expect controlcenter opened\n"
      "activator libactivator.statusbar.tap.double\n");
  ASSERT_EQ(run.status, 0) << run.err << run.out;
  EXPECT_TRUE(has(run, "[     0.000] event: control center: suppressesControlCenter -> YES, blocked")) << run.out;
  EXPECT_TRUE(has(run, "[     0.000] event: toast \"Alice - Re: plans\" \"Lunch?\" 3.0s")) << run.out;
  // The alert's toast waits for the banner's: 0.2 s in, 3 s shown, 0.2 s out.
  EXPECT_TRUE(has(run, "[     3.400] event: toast \"Alice - Re: plans\" \"Lunch?\" 3.0s")) << run.out;
  EXPECT_TRUE(has(run, "[     3.400] event: toast nil \"Low Battery\" 3.0s")) << run.out;
  EXPECT_EQ(run.out.find("activator listener received"), run.out.rfind("activator listener received"));
  EXPECT_TRUE(has(run, "[     9.500] event: activator listener received libactivator.statusbar.tap.double"));
}

TEST_F(BehavioursDryRunTest, TheSideButtonReplacesTheHomeGesture) {
  ProcessResult run = dryRun(
      "customize com.apple.Maps action_disableHomeGesture on\n"
      "setting disableHomeGesture_activationMethod 2\n"
      "open com.apple.Maps\n"
      "button side down\nbutton side up\nwait 0.4\nbutton side down\nbutton side up\n"
      "expect home pressed 1\n"
      "open com.apple.Maps\n"
      "buttons volumeup+volumedown down\n"
      "expect home pressed 1\n");
  ASSERT_EQ(run.status, 0) << run.err << run.out;
  EXPECT_TRUE(has(run, "[     0.400] event: home button")) << run.out;
  EXPECT_EQ(run.out.find("event: lock"), std::string::npos) << run.out;
}

TEST_F(BehavioursDryRunTest, WithoutActivatorItsEventsAreRefusedAndFailedExpectationsSaySo) {
  ProcessResult absent = dryRun("activator libactivator.statusbar.tap.double\n");
  EXPECT_EQ(absent.status, 2);
  EXPECT_NE(absent.err.find(":1: activator: Activator is not installed on this device"), std::string::npos)
      << absent.err;

  ProcessResult wrong = dryRun(
      "customize com.apple.Maps action_disableReachability on\nopen com.apple.Maps\n"
      "reachability\nexpect reachability opened\n");
  EXPECT_EQ(wrong.status, 1);
  EXPECT_NE(wrong.err.find(":4: expect failed: expected reachability opened, found it blocked"), std::string::npos)
      << wrong.err;
}

}  // namespace
}  // namespace tessra::device
