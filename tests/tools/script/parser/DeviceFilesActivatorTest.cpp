#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "tools/SpringBoard/core/DeviceFiles.h"

namespace tessra::device {
namespace {

using platform::springboard::AppKind;
using platform::springboard::DeviceKind;

class DeviceFilesActivatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::filesystem::temp_directory_path() / ("device-activator-" + std::to_string(getpid()) + "-" +
                                                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(root_);
    ASSERT_TRUE(DeviceFiles::writeApps(root_, {{"com.apple.Maps", "Maps", AppKind::System, ""}}));
  }
  void TearDown() override { std::filesystem::remove_all(root_); }

  std::filesystem::path root_;
};

TEST_F(DeviceFilesActivatorTest, ActivatorIsAbsentUnlessTheDeviceFileSaysSo) {
  ASSERT_TRUE(DeviceFiles::writeConfiguration(root_, "13.3", DeviceKind::Phone));
  EXPECT_FALSE(DeviceFiles::load(root_).activator);
  ASSERT_TRUE(DeviceFiles::writeConfiguration(root_, "13.3", DeviceKind::Phone, nullptr, true));
  auto loaded = DeviceFiles::load(root_);
  ASSERT_TRUE(loaded.ok) << loaded.error;
  EXPECT_TRUE(loaded.activator);
}

TEST_F(DeviceFilesActivatorTest, AnActivatorEntryThatIsNotABooleanIsRefused) {
  std::ofstream(DeviceFiles::configurationFile(root_))
      << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
         "<key>systemVersion</key><string>13.3</string><key>kind</key><string>phone</string>"
         "<key>activator</key><string>yes</string></dict></plist>\n";
  auto loaded = DeviceFiles::load(root_);
  EXPECT_FALSE(loaded.ok);
  EXPECT_NE(loaded.error.find("\"activator\" must be true or false"), std::string::npos) << loaded.error;
}

}  // namespace
}  // namespace tessra::device
