#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/tools/device/DeviceProcessRunner.h"

namespace tessra::device::testing {

// The fixture of the dry-run tests: each case gets a scratch folder of its own named after
// `prefix` and the case, and runs scripts through the built `tessra` command on a fresh device
// with the real plug-in; a case is skipped when the plug-in is not built.
class DryRunFixture : public ::testing::Test {
 protected:
  explicit DryRunFixture(std::string prefix) : prefix_(std::move(prefix)) {}

  void SetUp() override {
    scratch_ =
        std::filesystem::temp_directory_path() / (prefix_ + "-" + std::to_string(getpid()) + "-" +
                                                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(scratch_);
    std::filesystem::create_directories(scratch_);
    if (!std::filesystem::exists(std::filesystem::path(TESSRA_BIN_DIR).parent_path() / "lib/Tessra2.dylib"))
      GTEST_SKIP() << "the plug-in Tessra2.dylib is not built";
  }
  void TearDown() override { std::filesystem::remove_all(scratch_); }

  // Writes `text` to script_ and dry-runs it with `tessra device run`, from `workingDir`
  // (the scratch folder when empty).
  ProcessResult dryRun(const std::string& text, const std::filesystem::path& workingDir = {}) {
    script_ = scratch_ / "script.txt";
    std::ofstream(script_) << text;
    return DeviceProcessRunner::run(std::filesystem::path(TESSRA_BIN_DIR) / "tessra",
                                    {"device", "run", script_.string()}, workingDir.empty() ? scratch_ : workingDir);
  }

  std::filesystem::path scratch_;
  std::filesystem::path script_;

 private:
  std::string prefix_;
};

}  // namespace tessra::device::testing
