// The device's record of its running SpringBoard: a recorded pid counts only
// while that process is a SpringBoard.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "tools/SpringBoard/core/HostFiles.h"

namespace tessra::device {
namespace {

namespace fs = std::filesystem;

class HostFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch_ = fs::temp_directory_path() / ("host-files-test-" + std::to_string(getpid()));
    fs::remove_all(scratch_);
    fs::create_directories(scratch_ / "root/var/run");
  }
  void TearDown() override {
    for (pid_t pid : started_) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    fs::remove_all(scratch_);
  }

  // Runs a copy of `sleep` under the given file name for a while.
  pid_t startAs(const std::string& name) {
    const fs::path program = scratch_ / name;
    fs::copy_file("/bin/sleep", program, fs::copy_options::overwrite_existing);
    fs::permissions(program, fs::perms::owner_all);
    const std::string path = program.string();
    char* argv[] = {const_cast<char*>(path.c_str()), const_cast<char*>("30"), nullptr};
    pid_t pid = 0;
    EXPECT_EQ(posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, environ), 0);
    started_.push_back(pid);
    return pid;
  }
  void record(pid_t pid) { std::ofstream(HostFiles::pidFile(scratch_ / "root")) << pid << "\n"; }

  fs::path scratch_;
  std::vector<pid_t> started_;
};

TEST_F(HostFilesTest, ASpringBoardWhoseProgramWasBuiltAgainIsStillTheDevicesHost) {
  const pid_t host = startAs("SpringBoard");
  record(host);
  EXPECT_EQ(HostFiles::runningPid(scratch_ / "root"), host);
  // A new build replaces the program file; the running host then shows it as deleted.
  fs::remove(scratch_ / "SpringBoard");
  EXPECT_EQ(HostFiles::runningPid(scratch_ / "root"), host);
}

TEST_F(HostFilesTest, APidTakenByAnotherProgramIsNoHost) {
  record(startAs("sleeper"));
  EXPECT_EQ(HostFiles::runningPid(scratch_ / "root"), std::nullopt);
  fs::remove(scratch_ / "sleeper");
  EXPECT_EQ(HostFiles::runningPid(scratch_ / "root"), std::nullopt);
}

}  // namespace
}  // namespace tessra::device
