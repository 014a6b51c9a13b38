// The screen's script lines carried out in process on a device with its screen: what they touch,
// and that a refused line changes nothing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/springboard/DeviceModel.h"
#include "platform/springboard/screen/DeviceScreen.h"
#include "platform/springboard/screen/HomeScreenView.h"
#include "platform/springboard/screen/IconPagesView.h"
#include "platform/springboard/screen/QuickActionMenu.h"
#include "tools/SpringBoard/core/ScriptParser.h"
#include "tools/SpringBoard/core/TweakVocabulary.h"
#include "tools/SpringBoard/host/ScreenCommands.h"

namespace tessra::device {
namespace {

namespace fs = std::filesystem;
using platform::springboard::DeviceModel;

class ScreenCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::springboard::DeviceConfiguration config;
    for (int i = 0; i < 30; ++i)
      config.installedApps.push_back({"com.example.app" + std::to_string(i), "App " + std::to_string(i),
                                      platform::springboard::AppKind::User, ""});
    model().configure(config);
    screen_ = std::make_unique<platform::springboard::DeviceScreen>(model());
    folder_ = fs::temp_directory_path() / ("tessra-screen-commands-" + std::to_string(getpid()));
    fs::create_directories(folder_);
    commands_ = std::make_unique<ScreenCommands>(
        *screen_, [this](platform::Duration d) { env_.fastForwardBy(d); }, folder_);
  }
  void TearDown() override {
    commands_.reset();
    screen_.reset();
    fs::remove_all(folder_);
  }

  DeviceModel& model() { return DeviceModel::shared(); }
  ScriptOutcome run(std::string_view line) {
    auto parsed = parser_.parseLine(line, 1);
    EXPECT_TRUE(parsed.error.empty()) << parsed.error;
    ScriptOutcome outcome = commands_->execute(*parsed.command);
    env_.runUntilIdle();
    return outcome;
  }

  platform::ManualTaskEnvironment env_;
  ScriptVocabulary vocabulary_ = tweakVocabulary();
  ScriptParser parser_{vocabulary_};
  std::unique_ptr<platform::springboard::DeviceScreen> screen_;
  std::unique_ptr<ScreenCommands> commands_;
  fs::path folder_;
};

TEST_F(ScreenCommandsTest, AnIconOnAnotherPageIsBroughtIntoViewBeforeTheTap) {
  EXPECT_TRUE(run("tap icon com.example.app29").ok());
  EXPECT_EQ(model().state().apps().frontApp(), "com.example.app29");
  EXPECT_EQ(screen_->home().pages().currentPage(), 1);
}

TEST_F(ScreenCommandsTest, AnIconThatCannotBeSeenIsRefusedAndThePageStays) {
  model().lock();
  ScriptOutcome outcome = run("tap icon com.example.app29");
  EXPECT_EQ(outcome.status, ScriptOutcome::Status::Refused);
  EXPECT_EQ(outcome.output, "tap icon: the icon of com.example.app29 cannot be seen now");
  EXPECT_EQ(screen_->home().pages().currentPage(), 0);
  EXPECT_EQ(run("press icon com.nowhere").output, "press icon: 'com.nowhere' has no icon on the home screen");
}

TEST_F(ScreenCommandsTest, APressHoldsForASecondAndOpensTheMenu) {
  platform::TimePoint before = env_.now();
  EXPECT_TRUE(run("press icon com.apple.Maps").ok());
  EXPECT_EQ(env_.now() - before, platform::seconds(1));
  EXPECT_TRUE(screen_->home().menu().isOpen());
  EXPECT_EQ(run("expect menu none").status, ScriptOutcome::Status::ExpectFailed);
  // A tap on the bottom edge is no gesture: the menu stays.
  EXPECT_TRUE(run("tap 300 790").ok());
  EXPECT_TRUE(run("expect text \"Share App\"").ok());
  EXPECT_TRUE(run("swipe home").ok());
  EXPECT_TRUE(run("expect menu none").ok());
}

TEST_F(ScreenCommandsTest, SnapshotsGoBesideTheScriptAndNeverThroughALink) {
  EXPECT_TRUE(run("snapshot home.png --scale 1").ok());
  EXPECT_TRUE(fs::is_regular_file(folder_ / "home.png"));
  fs::path outside = folder_ / "elsewhere.png";
  fs::create_symlink(outside, folder_ / "link.png");
  ScriptOutcome outcome = run("snapshot link.png");
  EXPECT_EQ(outcome.status, ScriptOutcome::Status::Refused);
  EXPECT_FALSE(fs::exists(outside));
  EXPECT_EQ(run("snapshot nowhere/home.png").output,
            "snapshot: the folder " + (folder_ / "nowhere").string() + " does not exist");
}

}  // namespace
}  // namespace tessra::device
