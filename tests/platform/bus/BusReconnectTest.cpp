// Hosts outliving their bus: a second process (bus_test_peer) and this one
// stay up when the daemon is killed, reconnect once it is back, re-read what
// they hold, and notifications and control requests flow again.
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>

#include <algorithm>
#include <fstream>
#include <future>

#include "BusTestSupport.h"
#include "platform/bus/BusConnection.h"
#include "platform/bus/BusControlClient.h"
#include "platform/bus/BusControlServer.h"
#include "platform/bus/DeviceBus.h"
#include "platform/foundation/DarwinNotificationCenter.h"
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/DistributedNotificationCenter.h"

extern char** environ;

namespace platform {
namespace {

using bustest::Inbox;
using bustest::kWait;
using plist::Value;

// Waits for a child process to end, at most `timeout`; kills it if it does not.
bool waitForExit(pid_t pid, Duration timeout, int* status) {
  int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
  if (pidfd >= 0) {
    pollfd fd{pidfd, POLLIN, 0};
    poll(&fd, 1, static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(timeout).count()));
    close(pidfd);
  }
  if (waitpid(pid, status, WNOHANG) == pid) return true;
  kill(pid, SIGKILL);
  waitpid(pid, status, 0);
  return false;
}

bool isRunning(pid_t pid) { return waitpid(pid, nullptr, WNOHANG) == 0; }

class BusReconnectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    device.startBus();
    settingFile = device.root() / "setting";
    std::ofstream(settingFile) << "light";
    auto& darwin = DarwinNotificationCenter::shared();
    auto& distributed = DistributedNotificationCenter::shared();
    for (const char* name : {"peer.ready", "peer.pong"})
      tokens.push_back(darwin.addObserver(name, [this](const std::string& n) { darwinSeen.push(n); }));
    for (const char* name : {"peer.echoed", "peer.setting"})
      distributedTokens.push_back(distributed.addObserver(name, [this](const std::string& n, const Value& info) {
        distributedSeen.push({n, info});
      }));
  }

  void TearDown() override {
    if (peer > 0) {
      DarwinNotificationCenter::shared().postNotification("peer.quit");
      int status = 0;
      EXPECT_TRUE(waitForExit(peer, kWait, &status)) << "the peer did not quit";
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "peer status " << status;
    }
    for (auto token : tokens) DarwinNotificationCenter::shared().removeObserver(token);
    for (auto token : distributedTokens) DistributedNotificationCenter::shared().removeObserver(token);
    host.reset();
    bus.reset();
  }

  // This process as the home-screen host: notification centres on the bus and the control channel.
  void startHost() {
    host = std::make_unique<DeviceBus>(device.root(), bustest::fastBackoff());
    host->serveControl(bus::kSpringBoardBusName, [](const std::string& command, const std::vector<std::string>&) {
      return BusControlServer::Result{0, command};
    });
    host->onReconnected([this] { reconnectedOn.push(std::this_thread::get_id()); });
    ASSERT_TRUE(host->connection().waitFor(BusConnection::State::Connected, kWait));
  }

  void startPeer() {
    std::string program = TESSRA_BUS_TEST_PEER;
    std::string root = device.root().string();
    std::string setting = settingFile.string();
    char* argv[] = {program.data(), root.data(), setting.data(), nullptr};
    ASSERT_EQ(posix_spawn(&peer, program.c_str(), nullptr, nullptr, argv, environ), 0);
    ASSERT_TRUE(darwinSeen.waitForCount(1)) << "the peer did not come up";
    ASSERT_EQ(darwinSeen.items().front(), "peer.ready");
  }

  static size_t count(const std::vector<std::string>& items, const std::string& name) {
    return static_cast<size_t>(std::count(items.begin(), items.end(), name));
  }

  // Asks the peer for its setting until it reports `value` after a reconnection.
  bool peerReports(const std::string& value) {
    TimePoint deadline = SteadyClock().now() + kWait;
    auto matches = [&](const std::vector<std::pair<std::string, Value>>& items) {
      for (const auto& [name, info] : items)
        if (name == "peer.setting" && info["value"].string() == value && info["reconnects"].integerValue() >= 1)
          return true;
      return false;
    };
    while (SteadyClock().now() < deadline) {
      // The peer may still be reconnecting: a request it missed is simply asked again.
      DarwinNotificationCenter::shared().postNotification("peer.report");
      if (distributedSeen.waitUntil(matches, seconds(0.25))) return true;
    }
    return false;
  }

  bustest::MainLoopThread mainLoop;
  bustest::TempDevice device;
  std::filesystem::path settingFile;
  std::unique_ptr<DeviceBus> host;
  std::unique_ptr<BusConnection> bus;
  pid_t peer = 0;
  std::vector<uint64_t> tokens;
  std::vector<uint64_t> distributedTokens;
  Inbox<std::string> darwinSeen;
  Inbox<std::pair<std::string, Value>> distributedSeen;
  Inbox<std::thread::id> reconnectedOn;
};

TEST_F(BusReconnectTest, AnotherProcessAnswersThroughTheSharedCenters) {
  startHost();
  startPeer();
  DarwinNotificationCenter::shared().postNotification("peer.ping");
  ASSERT_TRUE(darwinSeen.waitUntil([](const auto& items) { return items.size() == 2; }));
  EXPECT_EQ(darwinSeen.items()[1], "peer.pong");
  plist::Dictionary info{{"bundleId", Value("com.apple.camera")}, {"n", Value(3)}};
  DistributedNotificationCenter::shared().postNotification("peer.echo", Value(info));
  ASSERT_TRUE(distributedSeen.waitForCount(1));
  EXPECT_EQ(distributedSeen.items()[0].first, "peer.echoed");
  EXPECT_EQ(distributedSeen.items()[0].second, Value(info));
}

TEST_F(BusReconnectTest, TheDaemonKilledUnderARunningDeviceIsSurvivedAndWhatChangedMeanwhileIsInForce) {
  startHost();
  startPeer();
  device.killBus();

  // Both hosts stay up without their bus.
  ASSERT_TRUE(host->connection().waitFor(BusConnection::State::Disconnected, kWait));
  EXPECT_TRUE(isRunning(peer));
  EXPECT_EQ(BusControlClient::call(device.root(), "home", {}).outcome, ControlReply::Outcome::DeviceNotRunning);

  // A setting written meanwhile: its change notification cannot reach anyone.
  std::ofstream(settingFile, std::ios::trunc) << "dark";
  uint64_t droppedBefore = host->transport().droppedCount();
  DarwinNotificationCenter::shared().postNotification("peer.changed");
  ASSERT_TRUE(host->connection().waitFor(BusConnection::State::Disconnected, kWait));
  std::promise<void> handled;
  host->connection().post([&](sdbus::IConnection*) { handled.set_value(); });
  ASSERT_EQ(handled.get_future().wait_for(kWait), std::future_status::ready);
  EXPECT_EQ(host->transport().droppedCount(), droppedBefore + 1);

  device.startBus();
  ASSERT_TRUE(host->connection().waitFor(BusConnection::State::Connected, kWait));
  EXPECT_EQ(host->connection().connectionCount(), 2u);
  ASSERT_TRUE(reconnectedOn.waitForCount(1));
  EXPECT_EQ(reconnectedOn.items().front(), mainLoop.id());

  // The peer reconnected on its own and re-read the setting it had missed.
  EXPECT_TRUE(peerReports("dark"));
  EXPECT_TRUE(isRunning(peer));

  // Notifications flow again both ways, and the control channel is back.
  DarwinNotificationCenter::shared().postNotification("peer.ping");
  EXPECT_TRUE(darwinSeen.waitUntil([](const auto& items) { return count(items, "peer.pong") == 1; }));
  auto reply = BusControlClient::call(device.root(), "lock", {});
  ASSERT_TRUE(reply.answered()) << reply.error;
  EXPECT_EQ(reply.output, "lock");
}

TEST_F(BusReconnectTest, AHostStartedBeforeItsBusConnectsWhenTheBusComesUp) {
  ASSERT_TRUE(BusDaemon::stop(device.root()));
  bus = std::make_unique<BusConnection>(device.root(), bustest::fastBackoff());
  bus->onReconnected([this] { reconnectedOn.push(std::this_thread::get_id()); });
  bus->start();
  EXPECT_EQ(bus->state(), BusConnection::State::Disconnected);
  EXPECT_EQ(bus->uniqueName(), "");
  device.startBus();
  ASSERT_TRUE(bus->waitFor(BusConnection::State::Connected, kWait));
  EXPECT_EQ(bus->uniqueName().rfind(":1.", 0), 0u);
  // Whatever was posted before it was there may have been missed: listeners re-read.
  EXPECT_TRUE(reconnectedOn.waitForCount(1));
}

TEST_F(BusReconnectTest, AHostThatConnectedAtOnceRunsNoReconnectedCallback) {
  startHost();
  // Anything the callback would have queued is on the main loop by the time this runs there.
  std::promise<void> mainLoopReached;
  dispatch_async(mainLoop.env().mainLoop(), [&] { mainLoopReached.set_value(); });
  ASSERT_EQ(mainLoopReached.get_future().wait_for(kWait), std::future_status::ready);
  EXPECT_TRUE(reconnectedOn.items().empty());
  EXPECT_EQ(host->connection().connectionCount(), 1u);
}

TEST_F(BusReconnectTest, AHostThatLeftTheBusCanJoinItAgain) {
  startHost();
  host.reset();
  // The centres work on locally without a transport.
  DarwinNotificationCenter::shared().postNotification("peer.pong");
  ASSERT_TRUE(darwinSeen.waitForCount(1));
  EXPECT_EQ(BusControlClient::call(device.root(), "home", {}).outcome, ControlReply::Outcome::HostNotRunning);
  startHost();
  auto reply = BusControlClient::call(device.root(), "home", {});
  ASSERT_TRUE(reply.answered()) << reply.error;
  EXPECT_EQ(reply.output, "home");
}

TEST_F(BusReconnectTest, StoppingAHostWaitingForItsBusReturnsPromptly) {
  ASSERT_TRUE(BusDaemon::stop(device.root()));
  BusConnection waiting(device.root(), ReconnectBackoff(seconds(30), seconds(30)));
  waiting.start();
  waiting.stop();  // would hang for the 30 s backoff if the wait ignored stop()
  EXPECT_EQ(waiting.state(), BusConnection::State::Disconnected);
}

}  // namespace
}  // namespace platform
