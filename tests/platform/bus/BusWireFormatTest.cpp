// What crosses the bus as text: names, user-info payloads, addresses, and the
// reconnect timing.
#include <gtest/gtest.h>

#include "platform/bus/BusAddress.h"
#include "platform/bus/BusLocation.h"
#include "platform/bus/BusText.h"
#include "platform/bus/NotificationPayload.h"
#include "platform/bus/ReconnectBackoff.h"

namespace platform {
namespace {

using plist::Value;

TEST(BusTextTest, AcceptsUtf8AndRefusesWhatDBusCannotCarry) {
  EXPECT_TRUE(BusText::isValid("com.kelvane.tessra2/ReloadPrefs"));
  EXPECT_TRUE(BusText::isValid("caf\xC3\xA9 \xF0\x9F\x98\x80"));
  EXPECT_FALSE(BusText::isValid(std::string("a\0b", 3)));
  EXPECT_FALSE(BusText::isValid("\xC3"));              // cut sequence
  EXPECT_FALSE(BusText::isValid("\xC0\xAF"));          // overlong '/'
  EXPECT_FALSE(BusText::isValid("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(BusText::isValid("\xF4\x90\x80\x80"));  // past U+10FFFF
}

TEST(BusTextTest, SanitizedReplacesEachBadByteAndKeepsTheRest) {
  EXPECT_EQ(BusText::sanitized("ok \xFF end"), "ok \xEF\xBF\xBD end");
  EXPECT_EQ(BusText::sanitized(std::string("a\0b", 3)),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(BusText::sanitized("\xE2\x82"), "\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(BusText::sanitized("caf\xC3\xA9"), "caf\xC3\xA9");
}

TEST(BusTextTest, NotificationNamesMustBeNonEmptyBoundedText) {
  EXPECT_EQ(BusText::checkName("tessra2.showTessraInterfaceWithBundleId"), "");
  EXPECT_EQ(BusText::checkName(""), "the name is empty");
  EXPECT_EQ(BusText::checkName(std::string(BusText::kMaxNameLength, 'a')), "");
  EXPECT_EQ(BusText::checkName(std::string(BusText::kMaxNameLength + 1, 'a')), "the name is longer than 1024 bytes");
  EXPECT_EQ(BusText::checkName("bad\xFF"), "the name is not UTF-8 text");
}

TEST(NotificationPayloadTest, UserInfoOfEveryKindSurvivesTheTrip) {
  plist::Dictionary inner{{"depth", Value(2)}};
  plist::Dictionary info{{"bundleId", Value("com.apple.mobilesafari")},
                         {"count", Value(int64_t{-7})},
                         {"on", Value(true)},
                         {"volume", Value(0.4)},
                         {"blob", Value(plist::Data{0, 1, 254, 255})},
                         {"when", Value(plist::Date{123456})},  // XML dates hold whole seconds
                         {"list", Value(plist::Array{Value("a"), Value(1)})},
                         {"nested", Value(inner)}};
  std::string error;
  auto text = NotificationPayload::encode(Value(info), &error);
  ASSERT_TRUE(text.has_value()) << error;
  auto back = NotificationPayload::decode(*text, &error);
  ASSERT_TRUE(back.has_value()) << error;
  EXPECT_EQ(*back, Value(info));
  // Keys keep their order.
  ASSERT_EQ(back->dictionary().size(), info.size());
  EXPECT_EQ(back->dictionary().entries().front().first, "bundleId");
  EXPECT_EQ(back->dictionary().entries().back().first, "nested");
}

TEST(NotificationPayloadTest, NoUserInfoTravelsAsEmptyText) {
  EXPECT_EQ(NotificationPayload::encode(Value()), std::string());
  auto back = NotificationPayload::decode("");
  ASSERT_TRUE(back.has_value());
  EXPECT_TRUE(back->isNull());
}

TEST(NotificationPayloadTest, OnlyDictionariesAreSent) {
  std::string error;
  EXPECT_FALSE(NotificationPayload::encode(Value("text"), &error).has_value());
  EXPECT_EQ(error, "the user info is not a dictionary");
}

TEST(NotificationPayloadTest, MalformedOrHostileTextIsRefusedWithAReason) {
  auto refused = [](const std::string& text) {
    std::string error;
    bool accepted = NotificationPayload::decode(text, &error).has_value();
    return !accepted && !error.empty();
  };
  EXPECT_TRUE(refused("<plist version=\"1.0\"><dict><key>a</key>"));
  EXPECT_TRUE(refused("garbage"));
  EXPECT_TRUE(refused("bplist00"));
  // A well-formed list that is not a dictionary.
  EXPECT_TRUE(refused("<?xml version=\"1.0\"?><plist version=\"1.0\"><array><string>x</string></array></plist>"));
  // Nesting far past any real user info.
  std::string deep = "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>k</key>";
  for (int i = 0; i < 200; ++i) deep += "<array>";
  for (int i = 0; i < 200; ++i) deep += "</array>";
  deep += "</dict></plist>";
  EXPECT_TRUE(refused(deep));
  // Larger than any notification carries.
  EXPECT_TRUE(refused("<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>k</key><string>" +
                      std::string(2 * 1024 * 1024, 'x') + "</string></dict></plist>"));
}

TEST(BusLocationTest, ShortRootsListenOnAnEscapedSocketPathInTheRoot) {
  EXPECT_EQ(BusLocation::listenAddress("/tmp/dev ice"), "unix:path=/tmp/dev%20ice/var/run/tessra-bus/bus.sock");
  EXPECT_EQ(BusLocation::escapeAddressValue("a,b;c=d"), "a%2cb%3bc%3dd");
}

TEST(BusLocationTest, RootsTooLongForASocketPathGetAnAbstractSocketOfTheirOwn) {
  std::string a = "/tmp/" + std::string(120, 'a');
  std::string b = "/tmp/" + std::string(120, 'b');
  EXPECT_EQ(BusLocation::listenAddress(a).rfind("unix:abstract=tessra-bus-", 0), 0u);
  EXPECT_NE(BusLocation::listenAddress(a), BusLocation::listenAddress(b));
  EXPECT_EQ(BusLocation::listenAddress(a), BusLocation::listenAddress(a));
}

TEST(BusLocationTest, NoAddressIsReadFromAMissingOrForeignFile) {
  EXPECT_FALSE(BusLocation::readAddress("/nonexistent-device-root").has_value());
}

TEST(BusAddressTest, ReadsTheTwoKindsOfSocketTheDaemonListensOn) {
  auto path = BusAddress::parse("unix:path=/tmp/dev%20ice/bus.sock,guid=0123");
  ASSERT_TRUE(path.has_value());
  EXPECT_EQ(path->name, "/tmp/dev ice/bus.sock");
  EXPECT_FALSE(path->abstract);
  auto abstract = BusAddress::parse("unix:abstract=tessra-bus-00ff");
  ASSERT_TRUE(abstract.has_value());
  EXPECT_EQ(abstract->name, "tessra-bus-00ff");
  EXPECT_TRUE(abstract->abstract);
  // Round trip with what the daemon is told to listen on.
  EXPECT_EQ(BusAddress::parse(BusLocation::listenAddress("/tmp/a b"))->name, "/tmp/a b/var/run/tessra-bus/bus.sock");
}

TEST(BusAddressTest, RefusesAddressesItDidNotWrite) {
  for (const char* bad : {"", "tcp:host=127.0.0.1,port=1", "unix:path=", "unix:path=/a%zz", "unix:path=/a%2",
                          "unix:path=/a;unix:path=/b", "unix:tmpdir=/tmp", "unix:path=/a%00b"})
    EXPECT_FALSE(BusAddress::parse(bad).has_value()) << bad;
  EXPECT_FALSE(BusAddress::parse("unix:path=/" + std::string(200, 'x')).has_value());
  EXPECT_FALSE(BusAddress::isListening("unix:path=/nonexistent/bus.sock"));
  EXPECT_FALSE(BusAddress::isListening("unix:abstract=tessra-bus-nobody-listens-here"));
}

TEST(ReconnectBackoffTest, DoublesFromTheInitialWaitUpToTheMaximum) {
  ReconnectBackoff backoff(seconds(0.05), seconds(0.3));
  EXPECT_EQ(backoff.next(), seconds(0.05));
  EXPECT_EQ(backoff.next(), seconds(0.1));
  EXPECT_EQ(backoff.next(), seconds(0.2));
  EXPECT_EQ(backoff.next(), seconds(0.3));
  EXPECT_EQ(backoff.next(), seconds(0.3));
  backoff.reset();
  EXPECT_EQ(backoff.next(), seconds(0.05));
}

TEST(ReconnectBackoffTest, DefaultsToFiftyMillisecondsUpToTwoSeconds) {
  ReconnectBackoff backoff;
  Duration total{};
  Duration last{};
  for (int i = 0; i < 10; ++i) total += (last = backoff.next());
  EXPECT_EQ(backoff.initial(), seconds(0.05));
  EXPECT_EQ(last, seconds(2));
  EXPECT_EQ(total, seconds(0.05 + 0.1 + 0.2 + 0.4 + 0.8 + 1.6 + 2 + 2 + 2 + 2));
}

}  // namespace
}  // namespace platform
