#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/foundation/DarwinNotificationCenter.h"
#include "platform/foundation/DistributedNotificationCenter.h"
#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/foundation/NotificationCenter.h"

namespace platform {
namespace {

class RecordingTransport : public NotificationTransport {
 public:
  std::vector<std::string> darwin;
  std::vector<std::pair<std::string, plist::Value>> distributed;
  void sendDarwin(const std::string& name) override { darwin.push_back(name); }
  void sendDistributed(const std::string& name, const plist::Value& info) override {
    distributed.emplace_back(name, info);
  }
};

class NotificationCentersTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (auto t : darwinTokens) DarwinNotificationCenter::shared().removeObserver(t);
    for (auto t : distributedTokens) DistributedNotificationCenter::shared().removeObserver(t);
    DarwinNotificationCenter::shared().setTransport(nullptr);
    DistributedNotificationCenter::shared().setTransport(nullptr);
  }
  ManualTaskEnvironment env;
  std::vector<uint64_t> darwinTokens, distributedTokens;
};

TEST_F(NotificationCentersTest, DarwinPostReachesLocalObserversAtOnceAndGoesToTheTransport) {
  auto transport = std::make_shared<RecordingTransport>();
  DarwinNotificationCenter::shared().setTransport(transport);
  int calls = 0;
  darwinTokens.push_back(DarwinNotificationCenter::shared().addObserver("a/ReloadPrefs", [&](auto&) { ++calls; }));
  darwinTokens.push_back(DarwinNotificationCenter::shared().addObserver("other", [&](auto&) { calls += 100; }));

  DarwinNotificationCenter::shared().postNotification("a/ReloadPrefs");
  EXPECT_EQ(calls, 1);  // no run loop turn needed
  EXPECT_EQ(transport->darwin, std::vector<std::string>{"a/ReloadPrefs"});
}

TEST_F(NotificationCentersTest, DarwinPostFromAnotherProcessArrivesOnTheMainQueueWithoutEcho) {
  auto transport = std::make_shared<RecordingTransport>();
  DarwinNotificationCenter::shared().setTransport(transport);
  int calls = 0;
  darwinTokens.push_back(DarwinNotificationCenter::shared().addObserver("x", [&](auto&) { ++calls; }));
  DarwinNotificationCenter::shared().deliverRemote("x");
  EXPECT_EQ(calls, 0);
  env.runUntilIdle();
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(transport->darwin.empty());
}

TEST_F(NotificationCentersTest, RemovedDarwinObserverIsNotCalled) {
  int calls = 0;
  auto token = DarwinNotificationCenter::shared().addObserver("x", [&](auto&) { ++calls; });
  EXPECT_EQ(DarwinNotificationCenter::shared().observerCount("x"), 1u);
  DarwinNotificationCenter::shared().removeObserver(token);
  DarwinNotificationCenter::shared().postNotification("x");
  EXPECT_EQ(calls, 0);
}

TEST_F(NotificationCentersTest, DistributedBlocksRunOnTheMainQueueWithTheUserInfo) {
  auto transport = std::make_shared<RecordingTransport>();
  DistributedNotificationCenter::shared().setTransport(transport);
  std::string got;
  distributedTokens.push_back(DistributedNotificationCenter::shared().addObserver(
      "show", [&](const std::string&, const plist::Value& info) { got = info["bundleId"].string(); }));

  plist::Dictionary info{{"bundleId", plist::Value("com.apple.Maps")}};
  DistributedNotificationCenter::shared().postNotification("show", plist::Value(info));
  EXPECT_EQ(got, "");
  env.runUntilIdle();
  EXPECT_EQ(got, "com.apple.Maps");
  ASSERT_EQ(transport->distributed.size(), 1u);
  EXPECT_EQ(transport->distributed[0].first, "show");
}

TEST_F(NotificationCentersTest, DistributedObserverRemovedBeforeDeliveryIsSkipped) {
  int calls = 0;
  auto token = DistributedNotificationCenter::shared().addObserver("show", [&](auto&, auto&) { ++calls; });
  DistributedNotificationCenter::shared().deliverRemote("show", {});
  DistributedNotificationCenter::shared().removeObserver(token);
  env.runUntilIdle();
  EXPECT_EQ(calls, 0);
}

TEST_F(NotificationCentersTest, InProcessCenterFiltersByObject) {
  int fromA = 0, fromAny = 0;
  int a = 0, b = 0;
  auto& center = NotificationCenter::defaultCenter();
  auto t1 = center.addObserver("SetBottomLabelTextNotification", &a, [&](const Notification&) { ++fromA; });
  auto t2 = center.addObserver("SetBottomLabelTextNotification", nullptr, [&](const Notification& n) {
    fromAny += n.userInfo["bottomLabelText"].string() == "hi";
  });
  plist::Dictionary info{{"bottomLabelText", plist::Value("hi")}};
  center.postNotification("SetBottomLabelTextNotification", &b, plist::Value(info));
  center.postNotification("SetBottomLabelTextNotification", &a, plist::Value(info));
  EXPECT_EQ(fromA, 1);
  EXPECT_EQ(fromAny, 2);
  center.removeObserver(t1);
  center.removeObserver(t2);
}

}  // namespace
}  // namespace platform
