// `tessra device create`: the device root it lays out, and what it refuses.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "tests/tools/device/DeviceProcessRunner.h"
#include "tools/SpringBoard/core/DeviceFiles.h"

namespace tessra::device {
namespace {

namespace fs = std::filesystem;
using testing::DeviceProcessRunner;
using testing::ProcessResult;

class DeviceCreateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int counter = 0;
    scratch_ = fs::temp_directory_path() / ("tcreate-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
    fs::remove_all(scratch_);
    fs::create_directories(scratch_);
  }
  void TearDown() override { fs::remove_all(scratch_); }
  ProcessResult tessra(const std::vector<std::string>& args) {
    return DeviceProcessRunner::run(fs::path(TESSRA_BIN_DIR) / "tessra", args, scratch_);
  }
  fs::path scratch_;
};

TEST_F(DeviceCreateTest, LaysOutTheDeviceWithItsLibrariesAppsAndKind) {
  fs::path root = scratch_ / "tablet";
  ProcessResult created = tessra({"device", "create", root.string(), "--version", "12.4", "--kind", "tablet"});
  ASSERT_EQ(created.status, 0) << created.err;
  EXPECT_EQ(created.out, "created a tablet with system 12.4 at " + root.string() + "\n");
  EXPECT_TRUE(fs::exists(root / "Library/MobileSubstrate/DynamicLibraries/KLDebugServer.dylib"));
  EXPECT_TRUE(fs::exists(root / "usr/lib/KLDebugClient.dylib"));
  EXPECT_TRUE(fs::is_directory(root / "var/mobile/Library/Preferences"));
  EXPECT_NE(fs::status(root / "usr/bin/killall").permissions() & fs::perms::owner_exec, fs::perms::none);
  DeviceFiles::Loaded device = DeviceFiles::load(root);
  ASSERT_TRUE(device.ok) << device.error;
  EXPECT_EQ(device.systemVersion, "12.4");
  EXPECT_EQ(device.kind, platform::springboard::DeviceKind::Tablet);
  EXPECT_EQ(device.installedApps.size(), DeviceFiles::defaultApps().size());
}

TEST_F(DeviceCreateTest, RefusesToOverwriteAFolderOrToMakeAnUnknownDevice) {
  fs::path used = scratch_ / "used";
  fs::create_directories(used);
  std::ofstream(used / "keep.txt") << "mine";
  ProcessResult overwrite = tessra({"device", "create", used.string()});
  EXPECT_EQ(overwrite.status, 1);
  EXPECT_EQ(overwrite.err,
            "tessra device create: " + used.string() + " exists and is not an empty folder; nothing was changed\n");
  EXPECT_EQ(std::vector<fs::path>(fs::directory_iterator(used), fs::directory_iterator()),
            std::vector<fs::path>{used / "keep.txt"});

  ProcessResult version = tessra({"device", "create", (scratch_ / "v").string(), "--version", "14.0"});
  EXPECT_EQ(version.status, 1);
  EXPECT_EQ(version.err, "tessra device create: unsupported system version '14.0' (11.x, 12.x or 13.x)\n");
  EXPECT_FALSE(fs::exists(scratch_ / "v"));
  EXPECT_EQ(tessra({"device", "create", (scratch_ / "k").string(), "--kind", "watch"}).status, 2);
  EXPECT_EQ(tessra({"device", "create"}).status, 2);
}

TEST_F(DeviceCreateTest, StateAndRunNeedAStartedDevice) {
  fs::path root = scratch_ / "idle";
  ASSERT_EQ(tessra({"device", "create", root.string()}).status, 0);
  ProcessResult state = tessra({"device", "state", root.string()});
  EXPECT_EQ(state.status, 1);
  EXPECT_FALSE(state.err.empty());
  std::ofstream(scratch_ / "s.txt") << "home\n";
  ProcessResult run = tessra({"device", "run", (scratch_ / "s.txt").string(), "--root", root.string()});
  EXPECT_EQ(run.status, 3);
  EXPECT_NE(run.err.find("tessra device run: "), std::string::npos) << run.err;
  ProcessResult log = tessra({"device", "log", root.string()});
  EXPECT_EQ(log.status, 0);
  EXPECT_NE(log.err.find("no debug line has been written yet"), std::string::npos) << log.err;
}

}  // namespace
}  // namespace tessra::device
