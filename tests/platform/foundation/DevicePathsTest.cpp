#include <gtest/gtest.h>

#include "platform/foundation/DeviceInfo.h"
#include "platform/foundation/DevicePaths.h"

namespace platform {
namespace {

TEST(DevicePathsTest, ResolvesSystemPathsInsideTheRoot) {
  DevicePaths::setRoot("/tmp/device-x");
  EXPECT_EQ(DevicePaths::resolve("/Library/Application Support/Tessra2Bundle.bundle"),
            std::filesystem::path("/tmp/device-x/Library/Application Support/Tessra2Bundle.bundle"));
  EXPECT_EQ(DevicePaths::preferencesFile("com.kelvane.tessra2"),
            std::filesystem::path("/tmp/device-x/var/mobile/Library/Preferences/com.kelvane.tessra2.plist"));
}

TEST(DevicePathsTest, RefusesPathsThatLeaveTheRootOrAreRelative) {
  DevicePaths::setRoot("/tmp/device-x");
  EXPECT_FALSE(DevicePaths::resolve("/../etc/passwd").has_value());
  EXPECT_FALSE(DevicePaths::resolve("/usr/../../etc").has_value());
  EXPECT_FALSE(DevicePaths::resolve("usr/bin/killall").has_value());
  EXPECT_FALSE(DevicePaths::resolve("").has_value());
  // Going up and down again inside the root is fine.
  EXPECT_EQ(DevicePaths::resolve("/usr/lib/../bin/killall"), std::filesystem::path("/tmp/device-x/usr/bin/killall"));
}

TEST(DeviceInfoTest, VersionReadsAsItsLeadingNumber) {
  FixedDeviceInfo info;
  const DeviceInfo* previous = DeviceInfo::install(&info);
  info.version = "13.3.1";
  EXPECT_DOUBLE_EQ(DeviceInfo::current().systemVersionNumber(), 13.3);
  info.version = "12.4";
  EXPECT_DOUBLE_EQ(DeviceInfo::current().systemVersionNumber(), 12.4);
  info.version = "garbage";
  EXPECT_DOUBLE_EQ(DeviceInfo::current().systemVersionNumber(), 0.0);
  DeviceInfo::install(previous);
}

}  // namespace
}  // namespace platform
