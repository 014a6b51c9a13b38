// Dry runs through the built `tessra` command: each script runs on a fresh
// device with the real plug-in, on a manual clock, so the traces are exact.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "tests/tools/script/dryrun/DryRunFixture.h"

namespace tessra::device {
namespace {

namespace fs = std::filesystem;
using testing::DryRunFixture;
using testing::ProcessResult;

class DryRunTest : public DryRunFixture {
 protected:
  DryRunTest() : DryRunFixture("tessra-dry") {}
};

TEST_F(DryRunTest, AnAppIsAppliedOnOpeningAndRestoredOnTheWayHome) {
  ProcessResult run = dryRun(
      "customize com.apple.Maps volume 40 wifi off\n"
      "open com.apple.Maps\n"
      "wait 0.5\n"
      "expect volume 0.4\n"
      "expect wifi off\n"
      "home\n"
      "wait 0.5\n"
      "expect wifi on\n"
      "expect volume 0.5\n");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "[     0.000] > customize com.apple.Maps volume 40 wifi off\n"
            "[     0.000] > open com.apple.Maps\n"
            "[     0.000] event: open com.apple.Maps\n"
            "[     0.000] com.apple.Maps : Set volume 0.400000\n"
            "[     0.000] event: wifi -> off\n"
            "[     0.000] com.apple.Maps : Set toggle wifi to 0\n"
            "[     0.000] > wait 0.5\n"
            "[     0.300] event: volume -> 0.40 (hud)\n"
            "[     0.500] > expect volume 0.4\n"
            "[     0.500] > expect wifi off\n"
            "[     0.500] > home\n"
            "[     0.500] event: home\n"
            "[     0.500] com.apple.Maps : Restore volume 0.500000\n"
            "[     0.500] event: wifi -> on\n"
            "[     0.500] com.apple.Maps : Restore toggle wifi to 1\n"
            "[     0.500] > wait 0.5\n"
            "[     0.800] event: volume -> 0.50 (hud)\n"
            "[     1.000] > expect wifi on\n"
            "[     1.000] > expect volume 0.5\n");
  EXPECT_EQ(run.err, "");
}

TEST_F(DryRunTest, ADirectSwitchRestoresAtOnceAndAppliesTheNextAppATenthLater) {
  ProcessResult run = dryRun(
      "customize com.apple.Maps wifi off\n"
      "customize com.waze.iphone dnd on\n"
      "open com.apple.Maps\n"
      "open com.waze.iphone\n"
      "wait 0.2\n"
      "expect wifi on\n"
      "expect dnd on\n");
  ASSERT_EQ(run.status, 0) << run.err;
  std::string tail = run.out.substr(run.out.find("[     0.000] > open com.waze.iphone"));
  EXPECT_EQ(tail,
            "[     0.000] > open com.waze.iphone\n"
            "[     0.000] event: open com.waze.iphone\n"
            "[     0.000] event: wifi -> on\n"
            "[     0.000] com.apple.Maps : Restore toggle wifi to 1\n"
            "[     0.000] > wait 0.2\n"
            "[     0.100] event: do-not-disturb -> on\n"
            "[     0.100] com.waze.iphone : Set toggle dnd to 1\n"
            "[     0.200] > expect wifi on\n"
            "[     0.200] > expect dnd on\n");
}

TEST_F(DryRunTest, TheVolumeConfirmationIsShownAndAnswered) {
  ProcessResult run = dryRun(
      "setting volumeChangeConfirmationAlertEnabled on\n"
      "setting volumeChangeConfirmationAlertOnlyIfMediaPlaying off\n"
      "customize com.apple.Maps volume 55.5\n"
      "open com.apple.Maps\n"
      "expect alert \"Do you want Tessra to set volume to 56%?\"\n"
      "answer No\n"
      "wait 1\n"
      "expect alert none\n"
      "expect volume 0.5\n"
      "home\n"
      "open com.apple.Maps\n"
      "answer Yes\n"
      "wait 1\n"
      "expect volume 0.555\n");
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_EQ(run.out.find("Set volume 0.555000"), run.out.rfind("Set volume 0.555000")) << run.out;
  // "Yes" dismisses the alert with its animation, then the volume is set, and changes 0.3 s later.
  EXPECT_NE(run.out.find("[     1.000] > answer Yes\n"
                         "[     1.000] > wait 1\n"
                         "[     1.350] com.apple.Maps : Set volume 0.555000\n"
                         "[     1.650] event: volume -> 0.56 (hud)\n"),
            std::string::npos)
      << run.out;
}

TEST_F(DryRunTest, VersionKindAndAppLinesMakeTheDevice) {
  ProcessResult run = dryRun(
      "version 12.4\n"
      "kind tablet\n"
      "app com.example.game \"Space Game\" user\n"
      "open com.example.game\n"
      "state\n");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("device: tablet, system 12.4\nfront: com.example.game (Space Game)\n"), std::string::npos)
      << run.out;
}

TEST_F(DryRunTest, AFailedExpectationStopsTheRunAtItsLine) {
  ProcessResult run = dryRun("switch wifi off\nexpect wifi on\nhome\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, script_.string() + ":2: expect failed: expected wifi on, found off\n");
  EXPECT_EQ(run.out.find("> home"), std::string::npos) << run.out;
}

TEST_F(DryRunTest, ABadScriptRunsNothing) {
  ProcessResult run =
      dryRun("version 13.3\nopen com.apple.Maps\nkind tablet\nexpect alert\nsetting enabled sometimes\n");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  std::string s = script_.string();
  EXPECT_EQ(run.err, s + ":3: kind: must come before every other command\n" + s +
                         ":4: expect: expected 'expect NAME on|off', 'expect volume F', 'expect brightness F' or "
                         "'expect alert \"MESSAGE\"|none'\n" +
                         s +
                         ":5: setting: enabled expects on or off, got 'sometimes'\n"
                         "tessra device run: nothing was run\n");
}

TEST_F(DryRunTest, TheSameScriptGivesTheSameTrace) {
  const char* text =
      "customize com.apple.Maps volume 30 brightness 90 dnd on\n"
      "open com.apple.Maps\nwait 1\nlock\nwait 1\nunlock\nwait 1\nhome\nwait 1\n";
  ProcessResult first = dryRun(text);
  ProcessResult second = dryRun(text);
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.out, second.out);
  EXPECT_NE(first.out.find("com.apple.Maps : Set brightness 0.900000"), std::string::npos) << first.out;
}

}  // namespace
}  // namespace tessra::device
