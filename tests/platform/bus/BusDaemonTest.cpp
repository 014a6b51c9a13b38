// The device's private bus daemon: started, found, stopped, and refused
// gracefully when it cannot run.
#include <gtest/gtest.h>
#include <sdbus-c++/sdbus-c++.h>
#include <unistd.h>

#include <fstream>
#include <thread>
#include <vector>

#include "BusTestSupport.h"
#include "platform/bus/BusAddress.h"
#include "platform/bus/BusDaemon.h"
#include "platform/bus/BusLocation.h"

namespace platform {
namespace {

using bustest::TempDevice;

std::string readAll(const std::filesystem::path& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Whether a client can complete the bus handshake at `address`.
bool answers(const std::string& address) {
  if (!BusAddress::isListening(address)) return false;
  try {
    auto connection = sdbus::createSessionBusConnectionWithAddress(address);
    return !connection->getUniqueName().empty();
  } catch (const sdbus::Error&) {
    return false;
  }
}

class BusDaemonTest : public ::testing::Test {
 protected:
  TempDevice device;
};

TEST_F(BusDaemonTest, StartRecordsAListeningDaemonInTheRoot) {
  auto started = BusDaemon::start(device.root());
  ASSERT_TRUE(started.ok) << started.error;
  EXPECT_FALSE(started.alreadyRunning);
  EXPECT_EQ(started.address, "unix:path=" + (device.root() / "var/run/tessra-bus/bus.sock").string());
  EXPECT_EQ(BusLocation::readAddress(device.root()), started.address);
  EXPECT_EQ(readAll(BusLocation::pidFile(device.root())), std::to_string(started.pid) + "\n");
  EXPECT_EQ(BusDaemon::runningPid(device.root()), started.pid);
  EXPECT_NE(readAll(BusLocation::configFile(device.root())).find("<listen>" + started.address + "</listen>"),
            std::string::npos);
  EXPECT_TRUE(answers(started.address));
}

TEST_F(BusDaemonTest, StartingARunningBusKeepsIt) {
  auto first = BusDaemon::start(device.root());
  ASSERT_TRUE(first.ok) << first.error;
  auto second = BusDaemon::start(device.root());
  ASSERT_TRUE(second.ok);
  EXPECT_TRUE(second.alreadyRunning);
  EXPECT_EQ(second.pid, first.pid);
  EXPECT_EQ(second.address, first.address);
}

TEST_F(BusDaemonTest, StartsRacingForOneRootStartOneDaemon) {
  BusDaemon::Started results[4];
  std::vector<std::thread> starters;
  for (auto& result : results) starters.emplace_back([&] { result = BusDaemon::start(device.root()); });
  for (auto& starter : starters) starter.join();
  int fresh = 0;
  for (const auto& result : results) {
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.pid, results[0].pid);
    fresh += !result.alreadyRunning;
  }
  EXPECT_EQ(fresh, 1);
}

TEST_F(BusDaemonTest, StopEndsTheDaemonAndClearsTheRecord) {
  auto started = BusDaemon::start(device.root());
  ASSERT_TRUE(started.ok) << started.error;
  EXPECT_TRUE(BusDaemon::stop(device.root()));
  EXPECT_FALSE(BusDaemon::isRunning(device.root()));
  EXPECT_NE(kill(started.pid, 0), 0);  // ended and reaped
  EXPECT_FALSE(std::filesystem::exists(BusLocation::addressFile(device.root())));
  EXPECT_FALSE(std::filesystem::exists(BusLocation::pidFile(device.root())));
  EXPECT_FALSE(std::filesystem::exists(BusLocation::socketFile(device.root())));
  EXPECT_FALSE(answers(started.address));
  // Stopping what is not running is fine.
  EXPECT_TRUE(BusDaemon::stop(device.root()));
}

TEST_F(BusDaemonTest, APidFileNamingAnotherProcessIsNotTakenForTheDaemon) {
  std::filesystem::create_directories(BusLocation::directory(device.root()));
  std::ofstream(BusLocation::pidFile(device.root())) << getpid() << "\n";
  EXPECT_FALSE(BusDaemon::isRunning(device.root()));
  EXPECT_TRUE(BusDaemon::stop(device.root()));  // and this process is not signalled
  auto started = BusDaemon::start(device.root());
  ASSERT_TRUE(started.ok) << started.error;
  EXPECT_NE(started.pid, getpid());
}

TEST_F(BusDaemonTest, ADaemonKilledOutrightCanBeStartedAgainAtTheSameAddress) {
  auto first = BusDaemon::start(device.root());
  ASSERT_TRUE(first.ok) << first.error;
  device.killBus();  // leaves the socket file behind
  auto second = BusDaemon::start(device.root());
  ASSERT_TRUE(second.ok) << second.error;
  EXPECT_NE(second.pid, first.pid);
  EXPECT_EQ(second.address, first.address);
  EXPECT_TRUE(answers(second.address));
}

TEST_F(BusDaemonTest, ARootTooLongForASocketPathStillGetsABus) {
  auto deep = device.root() / std::string(60, 'd') / std::string(60, 'e');
  auto started = BusDaemon::start(deep);
  ASSERT_TRUE(started.ok) << started.error;
  EXPECT_EQ(started.address.rfind("unix:abstract=tessra-bus-", 0), 0u);
  EXPECT_TRUE(answers(started.address));
  EXPECT_TRUE(BusDaemon::stop(deep));
  EXPECT_FALSE(answers(started.address));
}

TEST_F(BusDaemonTest, AMissingDaemonProgramIsReportedNotFatal) {
  std::string path = getenv("PATH");
  setenv("PATH", "/nonexistent", 1);
  auto started = BusDaemon::start(device.root());
  setenv("PATH", path.c_str(), 1);
  EXPECT_FALSE(started.ok);
  EXPECT_EQ(started.error, "dbus-daemon is not installed (Debian package dbus-daemon)");
  EXPECT_FALSE(BusDaemon::isRunning(device.root()));
}

}  // namespace
}  // namespace platform
