// The SpringBoard host program on its own: which plug-ins it loads and in
// what order, when the home screen asks which app is in front, and how it
// refuses a bad device or a bad script. The device holds two copies of a test
// plug-in instead of the real one.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "tests/tools/device/DeviceProcessRunner.h"

namespace tessra::device {
namespace {

namespace fs = std::filesystem;
using testing::DeviceProcessRunner;
using testing::ProcessResult;

class SpringBoardHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch_ = fs::temp_directory_path() / ("tessra-host-" + std::to_string(getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(scratch_);
    fs::create_directories(scratch_);
    root_ = scratch_ / "device";
    ProcessResult created = run(fs::path(TESSRA_BIN_DIR) / "tessra", {"device", "create", root_.string()});
    ASSERT_EQ(created.status, 0) << created.err;
    fs::path plugins = root_ / "Library/MobileSubstrate/DynamicLibraries";
    fs::remove(plugins / "Tessra2.dylib");
    for (const char* name : {"ZLastTestPlugin.dylib", "AFirstTestPlugin.dylib"})
      fs::copy_file(fs::path(TESSRA_LIB_DIR) / name, plugins / name);
  }
  void TearDown() override { fs::remove_all(scratch_); }

  ProcessResult run(const fs::path& program, const std::vector<std::string>& args) {
    return DeviceProcessRunner::run(program, args, scratch_);
  }
  ProcessResult host(const std::string& scriptText) {
    fs::path script = scratch_ / "script.txt";
    std::ofstream(script) << scriptText;
    return run(fs::path(TESSRA_BIN_DIR) / "SpringBoard", {"--root", root_.string(), "--script", script.string()});
  }

  fs::path scratch_;
  fs::path root_;
};

TEST_F(SpringBoardHostTest, LoadsPluginsInNameOrderThenShowsTheHomeScreen) {
  ProcessResult result = host("open com.apple.Maps\nhome\n");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out.substr(0, result.out.find("> open")),
            "[     0.000] AFirstTestPlugin : loaded\n"
            "[     0.000] ZLastTestPlugin : loaded\n"
            "[     0.000] AFirstTestPlugin : front home screen\n"
            "[     0.000] ");
}

TEST_F(SpringBoardHostTest, TheFrontmostQuestionFollowsEveryProcessChangeAndHomeScreenAppearance) {
  ProcessResult result = host("open com.apple.Maps\nsiri on\nsiri off\nhome\n");
  ASSERT_EQ(result.status, 0) << result.err;
  std::string out = result.out.substr(result.out.find("[     0.000] > open"));
  EXPECT_EQ(out,
            "[     0.000] > open com.apple.Maps\n"
            "[     0.000] event: open com.apple.Maps\n"
            "[     0.000] AFirstTestPlugin : front com.apple.Maps\n"
            "[     0.000] > siri on\n"
            "[     0.000] event: siri shown\n"
            "[     0.000] AFirstTestPlugin : front com.apple.Maps\n"
            "[     0.000] > siri off\n"
            "[     0.000] event: siri dismissed\n"
            "[     0.000] AFirstTestPlugin : front com.apple.Maps\n"
            "[     0.000] > home\n"
            "[     0.000] event: home\n"
            "[     0.000] AFirstTestPlugin : front home screen\n"
            "[     0.000] AFirstTestPlugin : front home screen\n");
}

TEST_F(SpringBoardHostTest, ABadScriptIsRefusedBeforeAnythingLoads) {
  ProcessResult result = host("open com.apple.Maps\nvolume loud\nopen com.example.none\n");
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.out, "");
  std::string script = (scratch_ / "script.txt").string();
  EXPECT_EQ(result.err, script + ":2: volume: expected a number from 0 to 1, got 'loud'\n" + script +
                            ":3: no app 'com.example.none' is installed on the device\n");
}

TEST_F(SpringBoardHostTest, ADamagedOrMissingDeviceIsRefused) {
  std::ofstream(root_ / "var/mobile/Library/tessra/apps.plist") << "<plist><array><string>x</string></array></plist>";
  ProcessResult damaged = host("home\n");
  EXPECT_EQ(damaged.status, 3);
  EXPECT_NE(damaged.err.find("apps.plist: app 0: expected"), std::string::npos) << damaged.err;

  ProcessResult missing = run(fs::path(TESSRA_BIN_DIR) / "SpringBoard", {"--root", (scratch_ / "nowhere").string()});
  EXPECT_EQ(missing.status, 3);
  EXPECT_EQ(missing.err, "SpringBoard: no device at " + (scratch_ / "nowhere").string() + "\n");

  ProcessResult usage = run(fs::path(TESSRA_BIN_DIR) / "SpringBoard", {"--script"});
  EXPECT_EQ(usage.status, 64);
}

}  // namespace
}  // namespace tessra::device
