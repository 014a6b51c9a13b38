#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "tools/SpringBoard/core/DeviceFiles.h"
#include "tools/SpringBoard/core/TraceReply.h"

namespace tessra::device {
namespace {

using platform::springboard::AppKind;
using platform::springboard::DeviceKind;
using platform::springboard::InstalledApp;

class DeviceFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::filesystem::temp_directory_path() / ("device-files-" + std::to_string(getpid()) + "-" +
                                                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(root_);
  }
  void TearDown() override { std::filesystem::remove_all(root_); }

  void writeText(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << text;
  }
  void writeGoodDevice() {
    ASSERT_TRUE(DeviceFiles::writeConfiguration(root_, "12.4", DeviceKind::Tablet));
    ASSERT_TRUE(DeviceFiles::writeApps(root_, {{"com.apple.Maps", "Maps", AppKind::System, "AppIcon60x60"},
                                               {"com.waze.iphone", "Waze", AppKind::User, ""}}));
  }

  std::filesystem::path root_;
};

TEST_F(DeviceFilesTest, WrittenFilesReadBack) {
  writeGoodDevice();
  auto loaded = DeviceFiles::load(root_);
  ASSERT_TRUE(loaded.ok) << loaded.error;
  EXPECT_EQ(loaded.systemVersion, "12.4");
  EXPECT_EQ(loaded.kind, DeviceKind::Tablet);
  ASSERT_EQ(loaded.installedApps.size(), 2u);
  const InstalledApp& maps = loaded.installedApps[0];
  EXPECT_EQ(maps.bundleIdentifier, "com.apple.Maps");
  EXPECT_EQ(maps.displayName, "Maps");
  EXPECT_EQ(maps.kind, AppKind::System);
  EXPECT_EQ(maps.icon, "AppIcon60x60");
  EXPECT_EQ(loaded.installedApps[1].kind, AppKind::User);
  EXPECT_EQ(loaded.installedApps[1].icon, "");
}

TEST_F(DeviceFilesTest, DefaultAppsHoldTheRoleAppsAndSomeTheSettingsPageHides) {
  auto apps = DeviceFiles::defaultApps();
  auto find = [&](std::string_view id) -> const InstalledApp* {
    for (const auto& app : apps)
      if (app.bundleIdentifier == id) return &app;
    return nullptr;
  };
  for (const char* id : {"com.apple.siri", "com.apple.Spotlight", "com.apple.Preferences", "com.apple.Maps"}) {
    ASSERT_NE(find(id), nullptr) << id;
    EXPECT_EQ(find(id)->kind, AppKind::System) << id;
  }
  for (const char* id : {"com.waze.iphone", "com.google.Maps", "com.spotify.client"}) {
    ASSERT_NE(find(id), nullptr) << id;
    EXPECT_EQ(find(id)->kind, AppKind::User) << id;
  }
  // Hidden by the settings page: listed identifiers and a "service" helper.
  EXPECT_NE(find("com.apple.purplebuddy"), nullptr);
  EXPECT_NE(find("com.merovald.cydown"), nullptr);
  EXPECT_NE(find("com.apple.ios.StoreKitUIService"), nullptr);
}

TEST_F(DeviceFilesTest, AMissingDeviceIsRefused) {
  auto loaded = DeviceFiles::load(root_);
  EXPECT_FALSE(loaded.ok);
  EXPECT_NE(loaded.error.find("device.plist"), std::string::npos) << loaded.error;
}

TEST_F(DeviceFilesTest, DamagedFilesAreRefusedWithTheirName) {
  writeGoodDevice();
  writeText(DeviceFiles::configurationFile(root_), "not a property list");
  EXPECT_FALSE(DeviceFiles::load(root_).ok);

  ASSERT_TRUE(DeviceFiles::writeConfiguration(root_, "15.0", DeviceKind::Phone));
  auto badVersion = DeviceFiles::load(root_);
  EXPECT_FALSE(badVersion.ok);
  EXPECT_NE(badVersion.error.find("unsupported system version \"15.0\""), std::string::npos) << badVersion.error;

  ASSERT_TRUE(DeviceFiles::writeConfiguration(root_, "13.3", DeviceKind::Phone));
  ASSERT_TRUE(DeviceFiles::writeApps(
      root_, {{"com.apple.Maps", "Maps", AppKind::System, ""}, {"com.apple.Maps", "Maps again", AppKind::User, ""}}));
  auto twice = DeviceFiles::load(root_);
  EXPECT_FALSE(twice.ok);
  EXPECT_NE(twice.error.find("listed twice"), std::string::npos) << twice.error;

  writeText(DeviceFiles::appsFile(root_),
            "<?xml version=\"1.0\"?><plist version=\"1.0\"><array><dict><key>bundleIdentifier</key>"
            "<string>bad id</string><key>displayName</key><string>X</string><key>type</key>"
            "<string>user</string></dict></array></plist>");
  auto badId = DeviceFiles::load(root_);
  EXPECT_FALSE(badId.ok);
  EXPECT_NE(badId.error.find("app 0"), std::string::npos) << badId.error;
}

TEST(TraceReplyTest, RoundTripsLinesAndMessage) {
  TraceReply reply;
  reply.cursor = 42;
  reply.lines = {"[     0.100] > open com.apple.Maps", "[     0.100] event: wifi -> off"};
  reply.message = "expected wifi on, found off";
  auto decoded = TraceReply::decode(reply.encode());
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(decoded->cursor, 42u);
  EXPECT_EQ(decoded->lines, reply.lines);
  EXPECT_EQ(decoded->message, reply.message);
}

TEST(TraceReplyTest, ALineBreakInsideALineCannotShiftTheCount) {
  TraceReply reply;
  reply.lines = {"one\ntwo", "three"};
  auto decoded = TraceReply::decode(reply.encode());
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(decoded->lines, (std::vector<std::string>{"one two", "three"}));
  EXPECT_EQ(decoded->message, "");
}

TEST(TraceReplyTest, AnswersWithoutHeaderOrWithTooFewLinesAreRefused) {
  EXPECT_FALSE(TraceReply::decode("quitting").has_value());
  EXPECT_FALSE(TraceReply::decode("cursor 1 lines 3\nonly one\n").has_value());
  EXPECT_FALSE(TraceReply::decode("cursor x lines 0\n").has_value());
}

}  // namespace
}  // namespace tessra::device
