// The Settings app driven by row titles, as scripts drive it: the first page,
// the Tessra 2 pages, switches, segments, sliders, expectations on pages,
// rows and sections, the apps page and its reset, and refused commands.
#include <gtest/gtest.h>

#include "platform/preferences/PSControlTableCell.h"
#include "platform/preferences/PSListController.h"
#include "platform/preferences/UINavigationController.h"
#include "platform/preferences/UISwitch.h"
#include "platform/preferences/UITableView.h"
#include "platform/preferences/UITableViewCell.h"
#include "platform/prefs/HBPreferences.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIWindow.h"
#include "tests/prefs/SettingsPagesFixture.h"
#include "tools/Preferences/SettingsAppDriver.h"

namespace tessra::preferences {
namespace {

using namespace platform;

class SettingsAppDriverTest : public prefs::testing::SettingsPagesTest {
 protected:
  void SetUp() override {
    SettingsPagesTest::SetUp();
    writeApps(plist::Array{
        plist::Dictionary{{"bundleIdentifier", "com.apple.Maps"},
                          {"displayName", "Maps"},
                          {"type", "system"},
                          {"icon", "AppIcon60x60"}},
        plist::Dictionary{{"bundleIdentifier", "com.waze.iphone"},
                          {"displayName", "Waze"},
                          {"type", "user"},
                          {"icon", "AppIcon60x60"}},
    });
    app_ = std::make_unique<SettingsAppDriver>(std::vector<std::filesystem::path>{bundle_}, 375, 667);
  }
  void TearDown() override {
    app_.reset();
    SettingsPagesTest::TearDown();
  }
  SettingsAppDriver::Result run(const std::string& verb, std::vector<std::string> args = {}) {
    auto result = app_->execute(verb, args);
    env_.runUntilIdle();
    return result;
  }
  std::unique_ptr<SettingsAppDriver> app_;
};

TEST_F(SettingsAppDriverTest, OpensTheTessraPageFromTheFirstPageAndGoesBack) {
  EXPECT_EQ(app_->pageTitle(), "Settings");
  EXPECT_EQ(run("expect-row", {"Tessra 2", "enabled"}).first, SettingsAppDriver::kDone);
  EXPECT_EQ(run("settings").first, SettingsAppDriver::kDone);
  EXPECT_EQ(run("expect-page", {"Tessra 2"}).first, SettingsAppDriver::kDone);
  EXPECT_EQ(run("tap", {"Restore Previous Values"}).first, SettingsAppDriver::kDone);
  EXPECT_EQ(app_->pageTitle(), "Restore Previous Values");
  EXPECT_EQ(run("expect-rows", {"Levels", "Restore Volume", "Restore Brightness"}).first, SettingsAppDriver::kDone);
  auto wrong = run("expect-rows", {"Levels", "Restore Brightness"});
  EXPECT_EQ(wrong, (SettingsAppDriver::Result{1, "rows of \"Levels\" are \"Restore Volume\", \"Restore Brightness\""}));
  EXPECT_EQ(run("back").first, SettingsAppDriver::kDone);
  EXPECT_EQ(app_->pageTitle(), "Tessra 2");
  run("back");
  app_->window().layoutIfNeeded();
  EXPECT_EQ(run("back"), (SettingsAppDriver::Result{2, "the first page has no way back"}));
}

TEST_F(SettingsAppDriverTest, ControlsWriteTheDomainAndRefuseWhatCannotBeDone) {
  run("settings");
  EXPECT_EQ(run("switch", {"Show Volume Indicator", "off"}).first, SettingsAppDriver::kDone);
  EXPECT_EQ(stored("showVolumeHUD"), plist::Value(false));
  EXPECT_EQ(run("segment", {"Panel Style", "Light"}).first, SettingsAppDriver::kDone);
  EXPECT_EQ(stored("interfaceColorStyle"), plist::Value(int64_t{1}));
  EXPECT_EQ(run("slider", {"Haptic Strength", "0.25"}).first, SettingsAppDriver::kDone);
  EXPECT_EQ(stored("hapticFeedbackStrength"), plist::Value(0.25));
  EXPECT_EQ(run("slider", {"Haptic Strength", "7"}).first, SettingsAppDriver::kRefused);
  EXPECT_EQ(run("slider", {"Haptic Strength", "x"}).first, SettingsAppDriver::kRefused);
  EXPECT_EQ(run("segment", {"Panel Style", "Purple"}).first, SettingsAppDriver::kRefused);
  EXPECT_EQ(run("switch", {"No Such Row", "on"}).first, SettingsAppDriver::kRefused);
  EXPECT_EQ(run("switch", {"Customize Apps", "on"}).first, SettingsAppDriver::kRefused);

  EXPECT_EQ(run("switch", {"Enabled", "off"}).first, SettingsAppDriver::kDone);
  EXPECT_EQ(run("expect-row", {"Debug Toasts", "disabled"}).first, SettingsAppDriver::kDone);
  EXPECT_EQ(run("switch", {"Debug Toasts", "on"}),
            (SettingsAppDriver::Result{2, "the row \"Debug Toasts\" is disabled"}));
  EXPECT_EQ(stored("debugInformationEnabled"), plist::Value());
  EXPECT_EQ(run("expect-row", {"Nothing", "absent"}).first, SettingsAppDriver::kDone);
  EXPECT_EQ(run("expect-row", {"Enabled", "disabled"}), (SettingsAppDriver::Result{1, "row \"Enabled\" is enabled"}));
  EXPECT_EQ(run("tap", {"Respring"}).first, SettingsAppDriver::kDone);  // the bar button, shown once enabled changed
}

TEST_F(SettingsAppDriverTest, TheAppsPageOpensThePanelAndResetsAfterTwoAnswers) {
  HBPreferences(kDomain).setObject(plist::Dictionary{{"com.waze.iphone", plist::Dictionary{{"volume", 0.5}}}},
                                   "customizedApps");
  run("settings");
  run("tap", {"Customize Apps"});
  EXPECT_EQ(run("expect-rows", {"Customized Apps", "Waze"}).first, SettingsAppDriver::kDone);
  EXPECT_EQ(run("tap", {"Maps"}).first, SettingsAppDriver::kDone);
  EXPECT_EQ(shown_, std::vector<std::string>{"com.apple.Maps"});
  EXPECT_EQ(run("tap", {"Reset"}).first, SettingsAppDriver::kDone);
  EXPECT_EQ(run("tap", {"Maps"}), (SettingsAppDriver::Result{2, "an alert is in front"}));
  EXPECT_EQ(run("answer", {"Reset"}).first, SettingsAppDriver::kDone);
  env_.fastForwardBy(seconds(1));
  EXPECT_EQ(run("answer", {"Reset"}).first, SettingsAppDriver::kDone);
  env_.fastForwardBy(seconds(1));
  EXPECT_EQ(run("expect-rows", {"Customized Apps", "No customized apps yet..."}).first, SettingsAppDriver::kDone);
  EXPECT_EQ(run("answer", {"Reset"}), (SettingsAppDriver::Result{2, "no alert is shown"}));
}

TEST_F(SettingsAppDriverTest, TheScreenIsWrittenAtTheSizeAndScaleAsked) {
  run("settings");
  std::filesystem::create_directories(root_ / "var/run");
  EXPECT_EQ(run("frame", {"/var/run/frame.png", "390", "844", "2"}).first, SettingsAppDriver::kDone);
  auto image = UIImage::imageWithContentsOfFile((root_ / "var/run/frame.png").string());
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->pixelWidth(), 780);
  EXPECT_EQ(image->pixelHeight(), 1688);
  EXPECT_EQ(run("frame", {"../../outside.png"}).first, SettingsAppDriver::kRefused);
  EXPECT_EQ(run("frame", {"/var/run/frame.png", "390", "844", "0"}).first, SettingsAppDriver::kRefused);
}

TEST_F(SettingsAppDriverTest, AFingerOnARowOpensItsPageAndOneOnASwitchFlipsIt) {
  // What a touch on the device's screen does once it reaches the Settings app.
  run("settings");
  auto* page = dynamic_cast<PSListController*>(app_->navigation().topViewController());
  ASSERT_NE(page, nullptr);
  auto centreOf = [&](UIView& view) {
    CGRect frame = view.convertRect(view.bounds(), nullptr);
    return CGPoint{CGRectGetMidX(frame), CGRectGetMidY(frame)};
  };
  auto touch = [&](CGPoint point) {
    UIApplication::sharedApplication().sendTouch(UITouchPhase::Began, point);
    env_.fastForwardBy(seconds(0.05));
    UIApplication::sharedApplication().sendTouch(UITouchPhase::Ended, point);
    env_.runUntilIdle();
    app_->window().layoutIfNeeded();
  };
  app_->window().layoutIfNeeded();
  UITableViewCell* cell = nullptr;
  for (auto path : page->table()->indexPathsForVisibleRows())
    if (page->specifierAtIndexPath(path)->name() == "Customize Apps") cell = page->table()->cellForRowAtIndexPath(path);
  ASSERT_NE(cell, nullptr);
  touch(centreOf(*cell->textLabel()));
  EXPECT_EQ(app_->pageTitle(), "Customize Apps");
  run("back");
  app_->window().layoutIfNeeded();
  cell = nullptr;
  for (auto path : page->table()->indexPathsForVisibleRows())
    if (page->specifierAtIndexPath(path)->name() == "Enabled") cell = page->table()->cellForRowAtIndexPath(path);
  auto* controlCell = dynamic_cast<PSControlTableCell*>(cell);
  ASSERT_NE(controlCell, nullptr);
  auto* control = dynamic_cast<UISwitch*>(controlCell->control());
  ASSERT_NE(control, nullptr);
  const bool before = control->isOn();
  touch(centreOf(*control));
  EXPECT_NE(control->isOn(), before);
  EXPECT_EQ(app_->pageTitle(), "Tessra 2");
  // The same finger as a command (how a dry run's home screen sends it); a wrong one changes nothing.
  const CGPoint row = centreOf(*control);
  EXPECT_EQ(run("touch", {"0", std::to_string(row.x), std::to_string(row.y)}), (SettingsAppDriver::Result{0, "taken"}));
  EXPECT_EQ(run("touch", {"3", std::to_string(row.x), std::to_string(row.y)}).first, SettingsAppDriver::kDone);
  EXPECT_EQ(control->isOn(), before);
  EXPECT_EQ(run("touch", {"7", "10", "10"}).first, SettingsAppDriver::kRefused);
  EXPECT_EQ(run("touch", {"0", "nan", "10"}).first, SettingsAppDriver::kRefused);
  EXPECT_EQ(run("touch", {"0", "10"}), (SettingsAppDriver::Result{2, "wrong number of arguments for touch"}));
  EXPECT_EQ(control->isOn(), before);
}

}  // namespace
}  // namespace tessra::preferences
