// The connection's own thread: work handed to it, clients set up on it, and
// stopping it from anywhere.
#include <gtest/gtest.h>
#include <sdbus-c++/sdbus-c++.h>

#include <future>

#include "BusTestSupport.h"
#include "platform/bus/BusConnection.h"

namespace platform {
namespace {

using bustest::kWait;

// Records what the connection does to it, and on which thread.
struct RecordingClient : BusClient {
  explicit RecordingClient(BusConnection& bus) : bus(bus) {}
  void attach(sdbus::IConnection& connection) override {
    events.push("attach " + std::string(bus.onBusThread() ? "on bus thread" : "elsewhere"));
    if (failAttach) throw std::runtime_error("refused");
    (void)connection;
  }
  void detach() override { events.push("detach"); }
  BusConnection& bus;
  bool failAttach = false;
  bustest::Inbox<std::string> events;
};

class BusConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override { device.startBus(); }
  // Runs `work` on the bus thread and waits for it.
  void runOnBus(const std::function<void(sdbus::IConnection*)>& work) {
    std::promise<void> done;
    bus.post([&](sdbus::IConnection* connection) {
      work(connection);
      done.set_value();
    });
    ASSERT_EQ(done.get_future().wait_for(kWait), std::future_status::ready);
  }

  bustest::MainLoopThread mainLoop;
  bustest::TempDevice device;
  BusConnection bus{device.root(), bustest::fastBackoff()};
};

TEST_F(BusConnectionTest, WorkRunsInOrderOnTheBusThreadWithTheConnection) {
  bus.start();
  ASSERT_TRUE(bus.waitFor(BusConnection::State::Connected, kWait));
  std::vector<int> order;
  for (int i = 0; i < 5; ++i) bus.post([&, i](sdbus::IConnection*) { order.push_back(i); });
  runOnBus([&](sdbus::IConnection* connection) {
    EXPECT_TRUE(bus.onBusThread());
    ASSERT_NE(connection, nullptr);
    EXPECT_EQ(connection->getUniqueName(), bus.uniqueName());
  });
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_FALSE(bus.onBusThread());
}

TEST_F(BusConnectionTest, WorkWithoutABusThreadRunsAtOnceWithNoConnection) {
  bool ran = false;
  bus.post([&](sdbus::IConnection* connection) {
    EXPECT_EQ(connection, nullptr);
    ran = true;
  });
  EXPECT_TRUE(ran);
}

TEST_F(BusConnectionTest, ClientsAreSetUpOnTheBusThreadAndTornDownWhenRemoved) {
  RecordingClient early(bus);
  bus.addClient(early);  // before start: set up with the first connection
  EXPECT_TRUE(early.events.items().empty());
  bus.start();
  ASSERT_TRUE(bus.waitFor(BusConnection::State::Connected, kWait));
  EXPECT_EQ(early.events.items(), std::vector<std::string>{"attach on bus thread"});
  RecordingClient late(bus);
  bus.addClient(late);  // while connected: set up before addClient returns
  EXPECT_EQ(late.events.items(), std::vector<std::string>{"attach on bus thread"});
  bus.removeClient(late);
  EXPECT_EQ(late.events.items(), (std::vector<std::string>{"attach on bus thread", "detach"}));
  bus.stop();
  EXPECT_EQ(early.events.items(), (std::vector<std::string>{"attach on bus thread", "detach"}));
  bus.removeClient(early);
}

TEST_F(BusConnectionTest, AClientThatFailsToSetUpIsDetachedAndTheOthersCarryOn) {
  bustest::LogCapture log;
  RecordingClient failing(bus);
  failing.failAttach = true;
  RecordingClient fine(bus);
  bus.addClient(failing);
  bus.addClient(fine);
  bus.start();
  ASSERT_TRUE(bus.waitFor(BusConnection::State::Connected, kWait));
  EXPECT_EQ(failing.events.items(), (std::vector<std::string>{"attach on bus thread", "detach"}));
  EXPECT_EQ(fine.events.items(), std::vector<std::string>{"attach on bus thread"});
  EXPECT_TRUE(log.contains("bus: a client could not be set up: refused"));
  bus.stop();
  bus.removeClient(failing);
  bus.removeClient(fine);
}

TEST_F(BusConnectionTest, StoppedFromItsOwnThreadItEndsAndCanBeStartedAgain) {
  bus.start();
  ASSERT_TRUE(bus.waitFor(BusConnection::State::Connected, kWait));
  runOnBus([&](sdbus::IConnection*) { bus.stop(); });
  ASSERT_TRUE(bus.waitFor(BusConnection::State::Disconnected, kWait));
  // Later work is not lost on a loop that is gone.
  bool ran = false;
  bus.post([&](sdbus::IConnection*) { ran = true; });
  bus.stop();
  EXPECT_TRUE(ran);
  bus.start();
  EXPECT_TRUE(bus.waitFor(BusConnection::State::Connected, kWait));
  EXPECT_EQ(bus.connectionCount(), 2u);
}

}  // namespace
}  // namespace platform
