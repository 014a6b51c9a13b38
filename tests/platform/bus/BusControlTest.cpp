// The control channel between the `tessra` command and the home-screen host:
// requests answered on the host's main loop, and every way there can be no
// answer reported as such.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <stdexcept>

#include "BusTestSupport.h"
#include "platform/bus/BusConnection.h"
#include "platform/bus/BusControlClient.h"
#include "platform/bus/BusControlServer.h"
#include "platform/foundation/RunLoop.h"

namespace platform {
namespace {

using bustest::kWait;
using Outcome = ControlReply::Outcome;

class BusControlTest : public ::testing::Test {
 protected:
  void SetUp() override { device.startBus(); }

  // Offers `handler` as SpringBoard's control channel and waits until it is reachable.
  void serve(BusControlServer::Handler handler) {
    bus = std::make_unique<BusConnection>(device.root(), bustest::fastBackoff());
    server = std::make_unique<BusControlServer>(*bus, bus::kSpringBoardBusName, std::move(handler));
    bus->start();
    ASSERT_TRUE(bus->waitFor(BusConnection::State::Connected, kWait));
  }
  void TearDown() override {
    server.reset();
    bus.reset();
  }

  bustest::MainLoopThread mainLoop;
  bustest::TempDevice device;
  std::unique_ptr<BusConnection> bus;
  std::unique_ptr<BusControlServer> server;
};

TEST_F(BusControlTest, ARequestIsAnsweredByTheHandlerOnTheMainLoop) {
  std::atomic<bool> onMain{false};
  std::vector<std::string> seen;
  serve([&](const std::string& command, const std::vector<std::string>& args) {
    onMain = std::this_thread::get_id() == mainLoop.id() && RunLoop::current() == &mainLoop.env().mainLoop();
    seen = args;
    return BusControlServer::Result{3, command + " " + args.at(0)};
  });
  auto reply = BusControlClient::call(device.root(), "open", {"com.apple.mobilesafari", "caf\xC3\xA9"});
  ASSERT_TRUE(reply.answered()) << reply.error;
  EXPECT_EQ(reply.status, 3);
  EXPECT_EQ(reply.output, "open com.apple.mobilesafari");
  EXPECT_TRUE(onMain);
  EXPECT_EQ(seen, (std::vector<std::string>{"com.apple.mobilesafari", "caf\xC3\xA9"}));
}

TEST_F(BusControlTest, RequestsAreAnsweredOneAfterAnother) {
  serve([](const std::string& command, const std::vector<std::string>&) {
    return BusControlServer::Result{0, command};
  });
  for (int i = 0; i < 20; ++i) {
    auto reply = BusControlClient::call(device.root(), "state" + std::to_string(i), {});
    ASSERT_TRUE(reply.answered()) << reply.error;
    EXPECT_EQ(reply.output, "state" + std::to_string(i));
  }
}

TEST_F(BusControlTest, AHandlerThatThrowsAnswersAFailureAndTheHostCarriesOn) {
  serve([](const std::string& command, const std::vector<std::string>&) -> BusControlServer::Result {
    if (command == "boom") throw std::runtime_error("no such switch");
    return {0, "ok"};
  });
  auto failed = BusControlClient::call(device.root(), "boom", {});
  ASSERT_TRUE(failed.answered()) << failed.error;
  EXPECT_EQ(failed.status, 70);
  EXPECT_EQ(failed.output, "the command failed: no such switch");
  auto next = BusControlClient::call(device.root(), "fine", {});
  ASSERT_TRUE(next.answered()) << next.error;
  EXPECT_EQ(next.output, "ok");
}

TEST_F(BusControlTest, OutputThatIsNotTextArrivesCleanedAndOversizedOutputCut) {
  serve([](const std::string& command, const std::vector<std::string>&) {
    if (command == "log") return BusControlServer::Result{0, "line \xFF\xFE end"};
    return BusControlServer::Result{0, std::string(BusControlServer::kMaxOutputBytes + 10, 'x')};
  });
  auto log = BusControlClient::call(device.root(), "log", {});
  ASSERT_TRUE(log.answered()) << log.error;
  EXPECT_EQ(log.output, "line \xEF\xBF\xBD\xEF\xBF\xBD end");
  auto huge = BusControlClient::call(device.root(), "huge", {});
  ASSERT_TRUE(huge.answered()) << huge.error;
  const std::string note = "\n... (output cut at 8388608 bytes)";
  EXPECT_EQ(huge.output.size(), BusControlServer::kMaxOutputBytes + note.size());
  EXPECT_EQ(huge.output.substr(BusControlServer::kMaxOutputBytes), note);
}

TEST_F(BusControlTest, OversizedRequestsAreRefusedWithoutReachingTheHandler) {
  std::atomic<int> calls{0};
  serve([&](const std::string&, const std::vector<std::string>&) {
    ++calls;
    return BusControlServer::Result{0, ""};
  });
  auto reply =
      BusControlClient::call(device.root(), "set", std::vector<std::string>(BusControlServer::kMaxArgs + 1, "x"));
  ASSERT_TRUE(reply.answered()) << reply.error;
  EXPECT_EQ(reply.status, 64);
  EXPECT_EQ(reply.output, "the request is too large");
  EXPECT_EQ(calls, 0);
}

TEST_F(BusControlTest, ArgumentsThatAreNotTextAreRefusedBeforeSending) {
  auto reply = BusControlClient::call(device.root(), "open", {"bad\xFF"});
  EXPECT_EQ(reply.outcome, Outcome::Failed);
  EXPECT_EQ(reply.error, "the command and its arguments must be UTF-8 text");
}

TEST_F(BusControlTest, ADeviceWithoutItsHostSaysSo) {
  auto reply = BusControlClient::call(device.root(), "home", {});
  EXPECT_EQ(reply.outcome, Outcome::HostNotRunning);
  EXPECT_EQ(reply.error, "SpringBoard is not running on the device");
}

TEST_F(BusControlTest, AStoppedDeviceSaysSo) {
  ASSERT_TRUE(BusDaemon::stop(device.root()));
  auto reply = BusControlClient::call(device.root(), "home", {});
  EXPECT_EQ(reply.outcome, Outcome::DeviceNotRunning);
  EXPECT_EQ(reply.error,
            "the device at " + device.root().string() + " is not running (start it with `tessra device start`)");
}

TEST_F(BusControlTest, ADeadBusBehindARecordedAddressSaysTheDeviceIsNotRunning) {
  device.killBus();  // the address file stays behind
  ASSERT_TRUE(BusLocation::readAddress(device.root()).has_value());
  auto reply = BusControlClient::call(device.root(), "home", {});
  EXPECT_EQ(reply.outcome, Outcome::DeviceNotRunning);
}

TEST_F(BusControlTest, AHostWhoseMainLoopIsBusyTimesOutAndAnswersLaterCallsAfterwards) {
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  serve([&](const std::string& command, const std::vector<std::string>&) {
    if (command == "stall") released.wait();
    return BusControlServer::Result{0, command};
  });
  auto reply = BusControlClient::call(device.root(), "stall", {}, seconds(0.2));
  EXPECT_EQ(reply.outcome, Outcome::NoAnswer);
  EXPECT_EQ(reply.error, "SpringBoard did not answer within 0.2 s");
  release.set_value();
  auto next = BusControlClient::call(device.root(), "next", {});
  ASSERT_TRUE(next.answered()) << next.error;
  EXPECT_EQ(next.output, "next");
}

}  // namespace
}  // namespace platform
