// Darwin and distributed notifications between connections of the device bus:
// delivery to the others, never back to the poster, and untrusted input
// dropped with a log line.
#include <gtest/gtest.h>
#include <sdbus-c++/sdbus-c++.h>

#include <future>

#include "BusTestSupport.h"
#include "platform/bus/BusConnection.h"
#include "platform/bus/BusNames.h"
#include "platform/bus/BusNotificationTransport.h"

namespace platform {
namespace {

using bustest::Inbox;
using bustest::kWait;
using plist::Value;

struct Received {
  std::string name;
  Value userInfo;
  bool darwin = false;
};

// One simulated process: a connection, its transport, and what reached it.
struct Peer {
  explicit Peer(const std::filesystem::path& root)
      : bus(root, bustest::fastBackoff()),
        transport(bus, BusNotificationTransport::Sink{[this](const std::string& name) {
                                                        inbox.push({name, Value(), true});
                                                      },
                                                      [this](const std::string& name, const Value& info) {
                                                        inbox.push({name, info, false});
                                                      }}) {
    bus.start();
  }
  std::vector<std::string> names() {
    std::vector<std::string> out;
    for (const auto& r : inbox.items()) out.push_back(r.name);
    return out;
  }
  bool waitForName(const std::string& name) {
    return inbox.waitUntil([&](const std::vector<Received>& items) {
      for (const auto& r : items)
        if (r.name == name) return true;
      return false;
    });
  }
  Inbox<Received> inbox;
  BusConnection bus;
  BusNotificationTransport transport;
};

class BusNotificationTransportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    device.startBus();
    a = std::make_unique<Peer>(device.root());
    b = std::make_unique<Peer>(device.root());
    ASSERT_TRUE(a->bus.waitFor(BusConnection::State::Connected, kWait));
    ASSERT_TRUE(b->bus.waitFor(BusConnection::State::Connected, kWait));
  }
  void TearDown() override {
    a.reset();
    b.reset();
  }

  // Sends raw signals as a foreign or broken process would.
  void sendRaw(const std::function<void(sdbus::IObject&)>& emit) {
    auto connection = sdbus::createSessionBusConnectionWithAddress(*BusLocation::readAddress(device.root()));
    auto object = sdbus::createObject(*connection, bus::kNotificationPath);
    emit(*object);
  }

  bustest::MainLoopThread mainLoop;
  bustest::TempDevice device;
  std::unique_ptr<Peer> a;
  std::unique_ptr<Peer> b;
};

TEST_F(BusNotificationTransportTest, DarwinPostsReachTheOtherProcessButNeverThePoster) {
  a->transport.sendDarwin("com.kelvane.tessra2/ReloadPrefs");
  ASSERT_TRUE(b->waitForName("com.kelvane.tessra2/ReloadPrefs"));
  // b's answer reaches a after anything a could have received from itself.
  b->transport.sendDarwin("marker");
  ASSERT_TRUE(a->waitForName("marker"));
  EXPECT_EQ(a->names(), std::vector<std::string>{"marker"});
  EXPECT_EQ(b->names(), std::vector<std::string>{"com.kelvane.tessra2/ReloadPrefs"});
  EXPECT_TRUE(b->inbox.items().front().darwin);
}

TEST_F(BusNotificationTransportTest, DistributedPostsCarryTheirUserInfo) {
  plist::Dictionary info{{"bundleId", Value("com.apple.Preferences")}, {"level", Value(0.25)}};
  a->transport.sendDistributed("tessra2.showTessraInterfaceWithBundleId", Value(info));
  a->transport.sendDistributed("no.user.info", Value());
  ASSERT_TRUE(b->inbox.waitForCount(2));
  auto got = b->inbox.items();
  EXPECT_EQ(got[0].name, "tessra2.showTessraInterfaceWithBundleId");
  EXPECT_FALSE(got[0].darwin);
  EXPECT_EQ(got[0].userInfo, Value(info));
  EXPECT_EQ(got[1].name, "no.user.info");
  EXPECT_TRUE(got[1].userInfo.isNull());
}

TEST_F(BusNotificationTransportTest, PostsKeepTheirOrder) {
  for (int i = 0; i < 50; ++i) a->transport.sendDarwin("n" + std::to_string(i));
  ASSERT_TRUE(b->inbox.waitForCount(50));
  auto names = b->names();
  for (int i = 0; i < 50; ++i) EXPECT_EQ(names[i], "n" + std::to_string(i));
}

TEST_F(BusNotificationTransportTest, MalformedSignalsAreLoggedAndDropped) {
  bustest::LogCapture log;
  sendRaw([](sdbus::IObject& object) {
    auto truncated = object.createSignal(bus::kDistributedInterface, bus::kPostSignal);
    truncated << std::string("x.truncated") << std::string("<?xml version=\"1.0\"?><plist><dict><key>a</key>");
    object.emitSignal(truncated);
    auto notDictionary = object.createSignal(bus::kDistributedInterface, bus::kPostSignal);
    notDictionary << std::string("x.array")
                  << std::string("<?xml version=\"1.0\"?><plist version=\"1.0\"><array/></plist>");
    object.emitSignal(notDictionary);
    auto wrongTypes = object.createSignal(bus::kDistributedInterface, bus::kPostSignal);
    wrongTypes << int32_t{7};
    object.emitSignal(wrongTypes);
    auto emptyName = object.createSignal(bus::kDarwinInterface, bus::kPostSignal);
    emptyName << std::string();
    object.emitSignal(emptyName);
    auto noArguments = object.createSignal(bus::kDarwinInterface, bus::kPostSignal);
    object.emitSignal(noArguments);
    auto fine = object.createSignal(bus::kDarwinInterface, bus::kPostSignal);
    fine << std::string("x.fine");
    object.emitSignal(fine);
  });
  ASSERT_TRUE(b->waitForName("x.fine"));
  EXPECT_EQ(b->names(), std::vector<std::string>{"x.fine"});
  EXPECT_EQ(b->transport.rejectedCount(), 5u);
  EXPECT_TRUE(log.contains("bus: dropped the user info of distributed notification x.truncated: malformed"));
  EXPECT_TRUE(log.contains("bus: dropped the user info of distributed notification x.array: not a dictionary"));
  EXPECT_TRUE(log.contains("bus: dropped a Darwin notification: the name is empty"));
  // Both processes carry on.
  a->transport.sendDarwin("after");
  EXPECT_TRUE(b->waitForName("after"));
}

TEST_F(BusNotificationTransportTest, PostsThatCannotBeSentAreDroppedWithAReason) {
  bustest::LogCapture log;
  a->transport.sendDarwin("");
  a->transport.sendDarwin("bad\xFF");
  a->transport.sendDistributed("x.text", Value("not a dictionary"));
  a->transport.sendDarwin("x.fine");
  ASSERT_TRUE(b->waitForName("x.fine"));
  EXPECT_EQ(b->names(), std::vector<std::string>{"x.fine"});
  EXPECT_EQ(a->transport.droppedCount(), 3u);
  EXPECT_TRUE(log.contains("bus: notification \"\" not sent: the name is empty"));
  EXPECT_TRUE(log.contains("bus: notification \"x.text\" not sent: the user info is not a dictionary"));
}

TEST(BusNotificationTransportOfflineTest, PostsWithoutABusAreDroppedWithOneLogLine) {
  bustest::MainLoopThread mainLoop;
  bustest::TempDevice device;  // no daemon
  bustest::LogCapture log;
  BusConnection bus(device.root(), bustest::fastBackoff());
  BusNotificationTransport transport(bus, {});
  bus.start();
  transport.sendDarwin("one");
  transport.sendDistributed("two", Value(plist::Dictionary{{"k", Value(1)}}));
  transport.sendDarwin("three");
  // Work is handled in order: once this runs, the three posts have been dealt with.
  std::promise<void> handled;
  bus.post([&](sdbus::IConnection* connection) {
    EXPECT_EQ(connection, nullptr);
    handled.set_value();
  });
  ASSERT_EQ(handled.get_future().wait_for(kWait), std::future_status::ready);
  EXPECT_EQ(transport.droppedCount(), 3u);
  size_t lines = 0;
  for (const auto& line : log.lines())
    if (line.find("not sent: the device bus is not connected") != std::string::npos) ++lines;
  EXPECT_EQ(lines, 1u);
  EXPECT_EQ(bus.state(), BusConnection::State::Disconnected);
}

}  // namespace
}  // namespace platform
