#include <gtest/gtest.h>

#include "tests/tools/script/ScriptLineTest.h"
#include "tools/SpringBoard/core/BehaviourScriptParser.h"
#include "tools/SpringBoard/core/ScriptParser.h"

namespace tessra::device {
namespace {

using Presses = std::vector<std::pair<long, double>>;
using Texts = std::vector<std::optional<std::string>>;

using BehaviourScriptParserTest = ScriptLineTest;

TEST_F(BehaviourScriptParserTest, GesturesButtonsAndActivator) {
  EXPECT_EQ(parseOk("controlcenter").verb, ScriptVerb::ControlCenter);
  EXPECT_EQ(parseOk("notificationcenter").verb, ScriptVerb::NotificationCenter);
  EXPECT_EQ(parseOk("reachability").verb, ScriptVerb::Reachability);
  EXPECT_EQ(parseOk("button side down").presses, (Presses{{104, 1.0}}));
  EXPECT_EQ(parseOk("button volumedown up").presses, (Presses{{103, 0.0}}));
  ScriptCommand both = parseOk("buttons volumeup+volumedown down");
  EXPECT_EQ(both.verb, ScriptVerb::Buttons);
  EXPECT_EQ(both.presses, (Presses{{102, 1.0}, {103, 1.0}}));
  ScriptCommand event = parseOk("activator libactivator.statusbar.tap.double");
  EXPECT_EQ(event.verb, ScriptVerb::Activator);
  EXPECT_EQ(event.name, "libactivator.statusbar.tap.double");
  ScriptCommand setup = parseOk("activator installed");
  EXPECT_EQ(setup.verb, ScriptVerb::ActivatorSetup);
  EXPECT_TRUE(setup.on);
  EXPECT_TRUE(setup.isDeviceSetup());
  EXPECT_FALSE(parseOk("activator absent").on);
  ScriptCommand turned = parseOk("orientation landscaperight");
  EXPECT_EQ(turned.verb, ScriptVerb::Orientation);
  EXPECT_EQ(turned.number, 4);
  EXPECT_EQ(errorOf("orientation sideways"),
            "orientation: expected 'orientation portrait|landscapeleft|landscaperight'");
}

TEST_F(BehaviourScriptParserTest, BannersAndAlertsKeepMissingTextsApart) {
  ScriptCommand banner = parseOk(R"(banner com.apple.MobileSMS "Alice" "Lunch at noon?")");
  EXPECT_EQ(banner.verb, ScriptVerb::Banner);
  EXPECT_EQ(banner.name, "com.apple.MobileSMS");
  EXPECT_EQ(banner.texts, (Texts{"Alice", "Lunch at noon?", std::nullopt}));
  EXPECT_EQ(parseOk(R"(banner com.a "T" nil "Sub")").texts, (Texts{"T", std::nullopt, "Sub"}));
  ScriptCommand alert = parseOk(R"(systemalert SBUserNotificationAlert nil "Allow?")");
  EXPECT_EQ(alert.verb, ScriptVerb::SystemAlert);
  EXPECT_EQ(alert.name, "SBUserNotificationAlert");
  EXPECT_EQ(alert.texts, (Texts{std::nullopt, "Allow?"}));
}

TEST_F(BehaviourScriptParserTest, Expectations) {
  ScriptCommand toast = parseOk(R"(expect toast "Alice - Re" nil)");
  EXPECT_EQ(toast.verb, ScriptVerb::ExpectToast);
  EXPECT_FALSE(toast.on);
  EXPECT_EQ(toast.texts, (Texts{"Alice - Re", std::nullopt}));
  EXPECT_TRUE(parseOk("expect toast none").on);
  EXPECT_EQ(parseOk("expect toasts 2").number, 2);
  EXPECT_FALSE(parseOk("expect banner hidden").on);
  EXPECT_TRUE(parseOk("expect systemalert shown").on);
  ScriptCommand overlay = parseOk("expect reachability blocked");
  EXPECT_EQ(overlay.verb, ScriptVerb::ExpectOverlay);
  EXPECT_EQ(overlay.name, "reachability");
  EXPECT_FALSE(overlay.on);
  EXPECT_EQ(parseOk("expect home pressed 3").number, 3);
  // The other expectations still reach the common parser.
  EXPECT_EQ(parseOk("expect wifi on").verb, ScriptVerb::ExpectSwitch);
}

TEST_F(BehaviourScriptParserTest, BadLinesSayWhatIsWrong) {
  EXPECT_EQ(errorOf("controlcenter now"), "controlcenter: takes no arguments");
  EXPECT_EQ(errorOf("button home down"), "button: unknown button 'home' (volumeup, volumedown or side)");
  EXPECT_EQ(errorOf("button side pressed"), "button: expected 'button volumeup|volumedown|side down|up'");
  EXPECT_EQ(errorOf("buttons volumeup down"),
            "buttons: expected 'buttons volumeup+volumedown down|up': two or three buttons joined by '+'");
  EXPECT_EQ(errorOf("buttons side+side down"), "buttons: side is given twice");
  EXPECT_EQ(errorOf("buttons side+ down"), "buttons: unknown button '' (volumeup, volumedown or side)");
  EXPECT_EQ(errorOf(R"(banner "not a bundle" "T" "M")"), "banner: 'not a bundle' is not a bundle identifier");
  EXPECT_EQ(errorOf(R"(banner com.a "T")"), "banner: expected 'banner BUNDLE \"TITLE\" \"MESSAGE\" [\"SUBTITLE\"]'");
  EXPECT_EQ(errorOf(R"(systemalert 9Lives "T" "M")"), "systemalert: '9Lives' is not a class name");
  EXPECT_EQ(errorOf("expect toasts -1"),
            "expect toasts: expected 'expect toasts N' with N a whole number from 0 to 1000");
  EXPECT_EQ(errorOf("expect home pressed many"),
            "expect home: expected 'expect home pressed N' with N a whole number from 0 to 1000");
  EXPECT_EQ(errorOf("expect banner gone"), "expect banner: expected 'expect banner shown|hidden'");
  EXPECT_EQ(errorOf("expect controlcenter closed"),
            "expect controlcenter: expected 'expect controlcenter opened|blocked'");
}

TEST_F(BehaviourScriptParserTest, ActivatorSetupComesBeforeEverythingElse) {
  auto result = parser_.parse("activator installed\nhome\nactivator absent\n");
  ASSERT_EQ(result.errors.size(), 1u);
  EXPECT_EQ(result.errors[0].line, 3u);
  EXPECT_EQ(result.errors[0].message, "activator: must come before every other command");
}

}  // namespace
}  // namespace tessra::device
