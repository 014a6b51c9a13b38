// The page machinery: a table's geometry and the cells it makes only for
// rows on screen, rows read from a page list, and starting a device program
// only from inside the device.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "platform/foundation/DeviceInfo.h"
#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/preferences/NSTask.h"
#include "platform/preferences/PSSpecifier.h"
#include "platform/preferences/UINavigationController.h"
#include "platform/preferences/UITableView.h"
#include "platform/preferences/UITableViewCell.h"

namespace platform {
namespace {

// Sections of `rows` rows of 44 points, the second with a header text.
class Rows : public UITableViewDataSource {
 public:
  explicit Rows(long rows) : rows_(rows) {}
  long numberOfSectionsInTableView(UITableView&) override { return 2; }
  long numberOfRowsInSection(UITableView&, long) override { return rows_; }
  std::shared_ptr<UITableViewCell> cellForRowAtIndexPath(UITableView&, NSIndexPath) override {
    ++made;
    return std::make_shared<UITableViewCell>(UITableViewCellStyle::Default, "Row");
  }
  std::string titleForHeaderInSection(UITableView&, long section) override { return section == 1 ? "Second" : ""; }
  void didSelectRowAtIndexPath(UITableView&, NSIndexPath path) override { selected.push_back(path); }
  int made = 0;
  std::vector<NSIndexPath> selected;

 private:
  long rows_;
};

TEST(PageMachineryTest, ATableLaysOutSectionsAndMakesCellsOnlyForRowsOnScreen) {
  ManualTaskEnvironment env;
  Rows rows(50);
  UITableView table(CGRectMake(0, 0, 320, 480));
  table.setDataSource(&rows);
  EXPECT_EQ(table.rectForRowAtIndexPath({0, 0}), CGRectMake(0, 18, 320, 44));
  EXPECT_EQ(table.rectForHeaderInSection(1).size.height, 38);
  EXPECT_EQ(table.rectForRowAtIndexPath({1, 0}).origin.y, 18 + 50 * 44 + 10 + 38);
  EXPECT_EQ(rows.made, 11);  // rows 0 to 10 reach into the first 480 points
  EXPECT_EQ(table.cellForRowAtIndexPath({0, 30}), nullptr);
  table.scrollToRowAtIndexPath({1, 3});
  ASSERT_NE(table.cellForRowAtIndexPath({1, 3}), nullptr);
  EXPECT_EQ(table.cellForRowAtIndexPath({0, 0}), nullptr);
  table.selectRowAsUser({1, 3});
  table.selectRowAsUser({7, 0});
  ASSERT_EQ(rows.selected.size(), 1u);
  EXPECT_EQ(rows.selected[0], (NSIndexPath{1, 3}));
  EXPECT_EQ(table.rectForRowAtIndexPath({0, 99}), CGRectZero);
}

TEST(PageMachineryTest, CellKindsAreKnownByTheirPlatformNames) {
  EXPECT_EQ(PSSpecifier::cellTypeNamed("PSGroupCell"), PSCellType::Group);
  EXPECT_EQ(static_cast<int>(*PSSpecifier::cellTypeNamed("PSSwitchCell")), 6);
  EXPECT_EQ(PSSpecifier::cellTypeNamed("PSSwitch"), std::nullopt);
  auto row = PSSpecifier::preferenceSpecifierNamed("Row", nullptr, true, PSCellType::Switch);
  row->setProperty(42, "key");
  EXPECT_EQ(row->key(), "");  // a key that is not text is no key
  EXPECT_EQ(row->identifier(), "Row");
  row->setProperty("enabled", "key");
  EXPECT_EQ(row->identifier(), "enabled");
}

TEST(PageMachineryTest, TheNavigationBarSitsBelowTheDevicesStatusBar) {
  ManualTaskEnvironment env;
  EXPECT_EQ(UINavigationController::barHeight(), 64);  // no device: a status bar of 20 points
  FixedDeviceInfo notched;
  notched.statusBar = 44;
  const DeviceInfo* previous = DeviceInfo::install(&notched);
  EXPECT_EQ(UINavigationController::barHeight(), 88);
  FixedDeviceInfo tablet;
  tablet.statusBar = 24;
  DeviceInfo::install(&tablet);
  EXPECT_EQ(UINavigationController::barHeight(), 68);
  DeviceInfo::install(previous);
}

class DeviceProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/nstask-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    root_ = pattern;
    outside_ = root_.string() + "-outside";
    std::filesystem::create_directories(root_ / "usr/bin");
    std::filesystem::create_directories(outside_);
    DevicePaths::setRoot(root_);
    previous_ = Log::setSink([this](const std::string& line) { log_.push_back(line); });
  }
  void TearDown() override {
    Log::setSink(previous_);
    std::filesystem::remove_all(root_);
    std::filesystem::remove_all(outside_);
  }
  void program(const std::filesystem::path& path, mode_t mode) {
    std::ofstream(path) << "#!/bin/sh\ntouch \"$0.ran\"\n";
    ::chmod(path.c_str(), mode);
  }
  std::filesystem::path root_, outside_;
  std::vector<std::string> log_;
  Log::Sink previous_;
};

TEST_F(DeviceProgramTest, OnlyAProgramInsideTheDeviceIsStarted) {
  EXPECT_FALSE(NSTask::launchedTaskWithLaunchPath("/usr/bin/killall", {"backboardd"}));  // missing
  program(root_ / "usr/bin/plain", 0644);
  EXPECT_FALSE(NSTask::launchedTaskWithLaunchPath("/usr/bin/plain", {}));  // not executable
  program(outside_ / "elsewhere", 0755);
  std::filesystem::create_symlink(outside_ / "elsewhere", root_ / "usr/bin/killall");
  EXPECT_FALSE(NSTask::launchedTaskWithLaunchPath("/usr/bin/killall", {"backboardd"}));  // leads out
  EXPECT_FALSE(NSTask::launchedTaskWithLaunchPath("/../../bin/sh", {}));
  EXPECT_FALSE(NSTask::launchedTaskWithLaunchPath("usr/bin/plain", {}));
  EXPECT_EQ(log_.size(), 5u);
  EXPECT_FALSE(std::filesystem::exists(outside_ / "elsewhere.ran"));
}

}  // namespace
}  // namespace platform
