#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <sstream>
#include <string>
#include <vector>

#include "platform/bus/BusConnection.h"
#include "platform/bus/BusDaemon.h"
#include "platform/bus/BusNotificationTransport.h"
#include "tests/tools/device/DeviceProcessRunner.h"
#include "tools/SpringBoard/core/HostFiles.h"

namespace tessra::device::testing {

// Whether `text` holds `part`.
inline bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The whole of a file, or nothing when it cannot be read.
inline std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The fixture of the tests that drive a device through the `tessra` command as a user does:
// each case gets a scratch folder of its own named after `prefix` (short: the bus socket's path
// inside the device must stay within what dbus-daemon accepts). startDevice() creates and
// starts a device in it; the device is stopped (and checked to be gone) and the folder removed
// after the case.
class StartedDeviceTest : public ::testing::Test {
 protected:
  explicit StartedDeviceTest(std::string prefix) : prefix_(std::move(prefix)) {}

  void SetUp() override {
    static int counter = 0;
    scratch_ = std::filesystem::temp_directory_path() /
               (prefix_ + "-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
    std::filesystem::remove_all(scratch_);
    std::filesystem::create_directories(scratch_);
    root_ = scratch_ / "device";
  }
  void TearDown() override {
    if (started_) {
      ProcessResult stopped = tessra({"device", "stop", root_.string()});
      EXPECT_EQ(stopped.status, 0) << stopped.err;
      EXPECT_FALSE(HostFiles::runningPid(root_).has_value());
      EXPECT_FALSE(platform::BusDaemon::isRunning(root_));
    }
    std::filesystem::remove_all(scratch_);
  }

  // Creates the device (with `createOptions` such as "--activator") and starts it with the built
  // plug-in; skips the case when it is not built.
  void startDevice(const std::vector<std::string>& createOptions = {}) {
    std::vector<std::string> create = {"device", "create", root_.string()};
    create.insert(create.end(), createOptions.begin(), createOptions.end());
    ProcessResult created = tessra(create);
    ASSERT_EQ(created.status, 0) << created.err;
    if (!std::filesystem::exists(root_ / "Library/MobileSubstrate/DynamicLibraries/Tessra2.dylib"))
      GTEST_SKIP() << "the plug-in Tessra2.dylib is not built";
    ProcessResult started = tessra({"device", "start", root_.string()});
    ASSERT_EQ(started.status, 0) << started.out << started.err << hostLog();
    started_ = true;
  }

  // Runs the `tessra` command in the scratch folder.
  ProcessResult tessra(const std::vector<std::string>& args) {
    return DeviceProcessRunner::run(std::filesystem::path(TESSRA_BIN_DIR) / "tessra", args, scratch_);
  }
  std::string hostLog() { return readFile(HostFiles::logFile(root_)); }

  // Sends notifications to the device from this process over its bus, as another app would,
  // and returns once they have left.
  void postToDevice(const std::function<void(platform::BusNotificationTransport&)>& send) {
    platform::BusConnection bus(root_);
    platform::BusNotificationTransport transport(
        bus, {[](const std::string&) {}, [](const std::string&, const platform::plist::Value&) {}});
    bus.start();
    ASSERT_TRUE(bus.waitFor(platform::BusConnection::State::Connected, platform::seconds(10)));
    send(transport);
    std::promise<void> sent;
    bus.post([&sent](sdbus::IConnection*) { sent.set_value(); });
    ASSERT_EQ(sent.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
    bus.stop();
  }

  std::filesystem::path scratch_;
  std::filesystem::path root_;
  bool started_ = false;

 private:
  std::string prefix_;
};

}  // namespace tessra::device::testing
