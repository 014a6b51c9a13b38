// Scripts that touch the screen, run dry through the built `tessra` command with the real plug-in.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "tests/tools/script/dryrun/DryRunFixture.h"

namespace tessra::device {
namespace {

namespace fs = std::filesystem;
using testing::DryRunFixture;
using testing::ProcessResult;

class ScreenScriptTest : public DryRunFixture {
 protected:
  ScreenScriptTest() : DryRunFixture("tessra-screen") {}
  void SetUp() override {
    DryRunFixture::SetUp();
    std::filesystem::create_directories(scratch_ / "shots");
  }
  // Runs from another folder: a relative snapshot still goes beside the script.
  ProcessResult dryRun(const std::string& text) { return DryRunFixture::dryRun(text, fs::temp_directory_path()); }
  static bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
  }
};

TEST_F(ScreenScriptTest, EveryScreenCommandRunsAndTracesWhatItReached) {
  ProcessResult run = dryRun(
      "tap icon com.apple.Maps\n"
      "expect text \"com.apple.Maps\"\n"
      "swipe home\n"
      "expect no text \"com.apple.Maps\"\n"
      "press icon com.apple.Maps\n"
      "expect menu \"Mark My Location\" \"Send My Location\" \"Share App\" \"Edit Home Screen\" \"Tessra\"\n"
      "snapshot shots/menu.png --scale 1\n"
      "tap \"Send My Location\"\n"
      "expect menu none\n"
      "swipe home\n"
      "longpress 140 88 0.6\n"
      "expect menu \"Mark My Location\" \"Send My Location\" \"Share App\" \"Edit Home Screen\" \"Tessra\"\n"
      "tap 300 750\n"
      "expect menu none\n"
      "drag 60 5 60 400\n"
      "expect text \"Notification Center\"\n"
      "swipe home\n"
      "swipe controlcenter\n"
      "tap \"Wi-Fi\"\n"
      "expect wifi off\n"
      "tap 187 700\n"
      "swipe notifications\n"
      "expect text \"No Older Notifications\"\n"
      "snapshot shots/home.png\n");
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_TRUE(contains(run.out, "event: tap SBIconView com.apple.Maps\n[     0.000] event: open com.apple.Maps"))
      << run.out;
  EXPECT_TRUE(contains(run.out, "event: longpress SBIconView com.apple.Maps")) << run.out;
  EXPECT_TRUE(contains(run.out, "event: tap _UIContextMenuActionView \"Send My Location\"")) << run.out;
  EXPECT_TRUE(contains(run.out, "event: drag SBEdgeGestureView bottom")) << run.out;
  EXPECT_TRUE(contains(run.out, "event: tap CCUIToggleView wifi\n")) << run.out;
  EXPECT_TRUE(contains(run.out, "event: notification center: opened over the home screen")) << run.out;
  EXPECT_TRUE(fs::is_regular_file(scratch_ / "shots/menu.png"));
  EXPECT_TRUE(fs::is_regular_file(scratch_ / "shots/home.png"));
}

TEST_F(ScreenScriptTest, AFailedExpectationNamesWhatIsOnScreen) {
  ProcessResult run = dryRun("press icon com.apple.Maps\nexpect menu \"Share App\"\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(contains(run.err,
                       "script.txt:2: expect failed: expected the menu \"Share App\", found \"Mark My "
                       "Location\" \"Send My Location\" \"Share App\" \"Edit Home Screen\""))
      << run.err;
  run = dryRun("expect text \"Nowhere\"\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(contains(run.err, "script.txt:1: expect failed: expected \"Nowhere\" on the screen")) << run.err;
}

TEST_F(ScreenScriptTest, BadLinesAreRefusedWithTheirLineAndChangeNothing) {
  // Refused before anything runs.
  ProcessResult run = dryRun("tap icon com.apple.Maps\ntap 9999 1\n");
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(contains(run.err, "script.txt:2: tap: (9999, 1) is outside every screen")) << run.err;
  EXPECT_FALSE(contains(run.out, "open com.apple.Maps"));

  // Refused when the line runs: outside this phone's screen, no such text, no such folder.
  for (const auto& [line, message] : std::vector<std::pair<std::string, std::string>>{
           {"tap 500 10", "script.txt:2: tap: (500, 10) is outside the screen (375 x 812 points)"},
           {"tap \"No such text\"", "script.txt:2: tap: no visible \"No such text\" on the screen"},
           {"snapshot missing/home.png", "script.txt:2: snapshot: the folder "},
           {"tap icon com.apple.Maps", "script.txt:2: tap icon: the icon of com.apple.Maps cannot be seen now"}}) {
    run = dryRun("lock\n" + line + "\nunlock\n");
    EXPECT_EQ(run.status, 2) << line;
    EXPECT_TRUE(contains(run.err, message)) << line << ": " << run.err;
    EXPECT_FALSE(contains(run.out, "event: tap")) << line;
    EXPECT_FALSE(contains(run.out, "event: unlock")) << line;
  }
  EXPECT_FALSE(fs::exists(scratch_ / "missing"));
}

// The panel's segmented control reached with touches: a tap on a segment, and a drag of its selector.
TEST_F(ScreenScriptTest, ThePanelsSegmentedControlIsTappedAndDragged) {
  ProcessResult run = dryRun(
      "press icon com.apple.Maps\n"
      "tap \"Tessra\"\n"
      "wait 1\n"
      "expect ring toggles\n"
      "panel segment Behaviors\n"
      "wait 0.6\n"
      "expect ring behaviors\n"
      "panel segment Toggles\n"
      "wait 0.6\n"
      "expect ring toggles\n"
      "panel scroll 1\n"
      "wait 1\n"
      "expect ring behaviors\n"
      "panel scroll 0.3\n"
      "wait 1\n"
      "expect ring toggles\n"
      "panel scroll 0.7\n"
      "wait 1\n"
      "expect ring behaviors\n");
  ASSERT_EQ(run.status, 0) << run.out << run.err;
}

TEST_F(ScreenScriptTest, TabletsAndOlderSystemsHaveTheirOwnMenus) {
  ProcessResult run = dryRun(
      "version 12.4\n"
      "kind tablet\n"
      "press icon com.apple.Maps\n"
      "expect menu \"Mark My Location\" \"Send My Location\" \"Share App\" \"Edit Home Screen\" \"Tessra\"\n"
      "tap \"Share App\"\n"
      "expect menu none\n"
      "tap 1000 1300\n");
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_TRUE(contains(run.out, "event: tap SBUIActionView \"Share App\"")) << run.out;
}

}  // namespace
}  // namespace tessra::device
