#include <gtest/gtest.h>

#include "tests/tools/script/ScriptLineTest.h"
#include "tools/SpringBoard/core/ScriptParser.h"

namespace tessra::device {
namespace {

class ScriptParserTest : public ScriptLineTest {
 protected:
  ScriptParserTest() { lineNumber_ = 7; }
};

TEST_F(ScriptParserTest, DeviceSetupAndAppLines) {
  ScriptCommand version = parseOk("version 12.4");
  EXPECT_EQ(version.verb, ScriptVerb::Version);
  EXPECT_EQ(version.name, "12.4");
  EXPECT_TRUE(version.isDeviceSetup());
  EXPECT_EQ(version.line, 7u);

  ScriptCommand kind = parseOk("kind tablet");
  EXPECT_EQ(kind.verb, ScriptVerb::Kind);
  EXPECT_TRUE(kind.on);

  ScriptCommand app = parseOk("  app com.google.Maps \"Google Maps\" user  ");
  EXPECT_EQ(app.verb, ScriptVerb::App);
  EXPECT_EQ(app.name, "com.google.Maps");
  EXPECT_EQ(app.displayName, "Google Maps");
  EXPECT_FALSE(app.on);
  EXPECT_EQ(app.text, "app com.google.Maps \"Google Maps\" user");
}

TEST_F(ScriptParserTest, DeviceActionsAndLevels) {
  EXPECT_EQ(parseOk("open com.apple.Maps").name, "com.apple.Maps");
  ScriptCommand quit = parseOk("quit com.apple.Preferences");
  EXPECT_EQ(quit.verb, ScriptVerb::Quit);
  EXPECT_EQ(quit.name, "com.apple.Preferences");
  EXPECT_EQ(parseOk("home").verb, ScriptVerb::Home);
  EXPECT_EQ(parseOk("lock").verb, ScriptVerb::Lock);
  EXPECT_EQ(parseOk("unlock").verb, ScriptVerb::Unlock);
  EXPECT_EQ(parseOk("state").verb, ScriptVerb::State);
  EXPECT_TRUE(parseOk("siri on").on);
  EXPECT_FALSE(parseOk("spotlight off").on);
  EXPECT_TRUE(parseOk("dark on").on);
  EXPECT_DOUBLE_EQ(parseOk("volume 0.25").number, 0.25);
  EXPECT_DOUBLE_EQ(parseOk("brightness 1").number, 1.0);
  EXPECT_DOUBLE_EQ(parseOk("wait 0.35").number, 0.35);
  EXPECT_EQ(parseOk("media playing com.spotify.client").verb, ScriptVerb::MediaPlaying);
  EXPECT_EQ(parseOk("media stopped").verb, ScriptVerb::MediaStopped);

  ScriptCommand sw = parseOk("switch wifi indeterminate");
  EXPECT_EQ(sw.verb, ScriptVerb::Switch);
  EXPECT_EQ(sw.switchState, -1);
  EXPECT_EQ(parseOk("switch bluetooth off").switchState, 0);
}

TEST_F(ScriptParserTest, BatteryLevelAndCharging) {
  ScriptCommand battery = parseOk("battery 20");
  EXPECT_EQ(battery.verb, ScriptVerb::Battery);
  EXPECT_DOUBLE_EQ(battery.number, 20);
  EXPECT_FALSE(battery.on);
  ScriptCommand charging = parseOk("battery 100 charging");
  EXPECT_DOUBLE_EQ(charging.number, 100);
  EXPECT_TRUE(charging.on);
  EXPECT_DOUBLE_EQ(parseOk("battery 0").number, 0);

  EXPECT_EQ(errorOf("battery"), "battery: expected 'battery PERCENT [charging]'");
  EXPECT_EQ(errorOf("battery 20 full"), "battery: expected 'battery PERCENT [charging]'");
  EXPECT_EQ(errorOf("battery 20 charging now"), "battery: expected 'battery PERCENT [charging]'");
  EXPECT_EQ(errorOf("battery 101"), "battery: expected a whole percentage from 0 to 100, got '101'");
  EXPECT_EQ(errorOf("battery -1"), "battery: expected a whole percentage from 0 to 100, got '-1'");
  EXPECT_EQ(errorOf("battery 0.5"), "battery: expected a whole percentage from 0 to 100, got '0.5'");
}

TEST_F(ScriptParserTest, CustomizeKeepsEveryFieldInOrder) {
  ScriptCommand c = parseOk("customize com.apple.Maps volume 40 brightness none wifi off action_disableCC on dnd none");
  EXPECT_EQ(c.verb, ScriptVerb::Customize);
  EXPECT_EQ(c.name, "com.apple.Maps");
  ASSERT_TRUE(c.volume.has_value());
  EXPECT_FALSE(c.volume->remove);
  EXPECT_DOUBLE_EQ(c.volume->percent, 40);
  ASSERT_TRUE(c.brightness.has_value());
  EXPECT_TRUE(c.brightness->remove);
  ASSERT_EQ(c.toggles.size(), 3u);
  EXPECT_EQ(c.toggles[0].name, "wifi");
  EXPECT_EQ(c.toggles[0].state, 0);
  EXPECT_EQ(c.toggles[1].name, "action_disableCC");
  EXPECT_EQ(c.toggles[1].state, 1);
  EXPECT_EQ(c.toggles[2].name, "dnd");
  EXPECT_FALSE(c.toggles[2].state.has_value());
}

TEST_F(ScriptParserTest, SettingsAreCheckedAgainstTheSettingsTable) {
  ScriptCommand on = parseOk("setting restorePreviousWifiOnAppExit off");
  EXPECT_EQ(on.verb, ScriptVerb::Setting);
  EXPECT_FALSE(on.on);
  ScriptCommand style = parseOk("setting interfaceColorStyle 0");
  EXPECT_EQ(style.value, "0");
  EXPECT_EQ(errorOf("setting interfaceColorStyle 3"),
            "setting: interfaceColorStyle expects a whole number from 0 to 2, got '3'");
  EXPECT_EQ(errorOf("setting enabled maybe"), "setting: enabled expects on or off, got 'maybe'");
  EXPECT_EQ(errorOf("setting notASetting on"), "setting: unknown setting key 'notASetting'");
}

TEST_F(ScriptParserTest, ExpectationsAndAnswers) {
  ScriptCommand sw = parseOk("expect wifi off");
  EXPECT_EQ(sw.verb, ScriptVerb::ExpectSwitch);
  EXPECT_FALSE(sw.on);
  EXPECT_DOUBLE_EQ(parseOk("expect volume 0.4").number, 0.4);
  EXPECT_EQ(parseOk("expect brightness 0.8").verb, ScriptVerb::ExpectBrightness);
  ScriptCommand alert = parseOk("expect alert \"Do you want Tessra to set volume to 40%?\"");
  EXPECT_EQ(alert.verb, ScriptVerb::ExpectAlert);
  EXPECT_FALSE(alert.on);
  EXPECT_EQ(alert.value, "Do you want Tessra to set volume to 40%?");
  EXPECT_TRUE(parseOk("expect alert none").on);
  EXPECT_EQ(parseOk("answer \"Yes\"").name, "Yes");
}

TEST_F(ScriptParserTest, BadLinesSayWhatIsWrong) {
  EXPECT_EQ(errorOf("opne com.apple.Maps"), "unknown command 'opne'");
  EXPECT_EQ(errorOf("open"), "open: expected 'open BUNDLE'");
  EXPECT_EQ(errorOf("open com apple"), "open: expected 'open BUNDLE'");
  EXPECT_EQ(errorOf("open com.apple/Maps"), "open: 'com.apple/Maps' is not a bundle identifier");
  EXPECT_EQ(errorOf("quit"), "quit: expected 'quit BUNDLE'");
  EXPECT_EQ(errorOf("quit com.apple.Maps now"), "quit: expected 'quit BUNDLE'");
  EXPECT_EQ(errorOf("quit \"com apple\""), "quit: 'com apple' is not a bundle identifier");
  EXPECT_EQ(errorOf("volume 1.5"), "volume: expected a number from 0 to 1, got '1.5'");
  EXPECT_EQ(errorOf("volume nan"), "volume: expected a number from 0 to 1, got 'nan'");
  EXPECT_EQ(errorOf("brightness 0.5x"), "brightness: expected a number from 0 to 1, got '0.5x'");
  EXPECT_EQ(errorOf("switch warp on"), "switch: unknown switch name 'warp'");
  EXPECT_EQ(errorOf("switch action_disableCC on"), "switch: unknown switch name 'action_disableCC'");
  EXPECT_EQ(errorOf("switch wifi maybe"), "switch: expected on, off or indeterminate, got 'maybe'");
  EXPECT_EQ(errorOf("expect wifi indeterminate"), "expect: wifi expects on or off, got 'indeterminate'");
  EXPECT_EQ(errorOf("home now"), "home: takes no arguments");
  EXPECT_EQ(errorOf("wait -1"), "wait: expected a number of seconds from 0 to 3600, got '-1'");
  EXPECT_EQ(errorOf("version 14.0"), "version: expected a system version from 11.0 to 13.x, got '14.0'");
  EXPECT_EQ(errorOf("app com.foo \"Foo\" both"), "app: expected system or user, got 'both'");
  EXPECT_EQ(errorOf("answer \"Yes"), "a quote is not closed");
  EXPECT_EQ(errorOf("answer Y\"es\""), "a quote inside a word");
}

TEST_F(ScriptParserTest, BadCustomizations) {
  EXPECT_EQ(errorOf("customize com.apple.Maps"),
            "customize: expected 'customize BUNDLE [volume P|none] [brightness P|none] [NAME on|off|none]...'");
  EXPECT_EQ(errorOf("customize com.apple.Maps volume"),
            "customize: expected 'customize BUNDLE [volume P|none] [brightness P|none] [NAME on|off|none]...'");
  EXPECT_EQ(errorOf("customize com.apple.Maps volume 101"),
            "customize: volume expects a percentage from 0 to 100 or none, got '101'");
  EXPECT_EQ(errorOf("customize com.apple.Maps volume 40 volume 50"), "customize: volume is given twice");
  EXPECT_EQ(errorOf("customize com.apple.Maps wifi on wifi off"), "customize: wifi is given twice");
  EXPECT_EQ(errorOf("customize com.apple.Maps warp on"), "customize: unknown toggle or behaviour name 'warp'");
  EXPECT_EQ(errorOf("customize com.apple.Maps wifi 1"), "customize: wifi expects on, off or none, got '1'");
}

TEST_F(ScriptParserTest, QuotesKeepBlanksAndEscapes) {
  std::vector<std::string> words;
  std::string error;
  ASSERT_TRUE(ScriptParser::splitWords(R"(answer "Say \"Yes\" \\ now"  "")", words, error));
  ASSERT_EQ(words.size(), 3u);
  EXPECT_EQ(words[1], "Say \"Yes\" \\ now");
  EXPECT_EQ(words[2], "");
}

TEST_F(ScriptParserTest, WholeScriptNumbersErrorsAndSkipsComments) {
  auto result = parser_.parse(
      "# a comment\n"
      "version 13.3\n"
      "\n"
      "open com.apple.Maps\n"
      "jump\n"
      "kind tablet\n"
      "volume 2\n"
      "wait 1");
  ASSERT_EQ(result.errors.size(), 3u);
  EXPECT_EQ(result.errors[0].line, 5u);
  EXPECT_EQ(result.errors[0].message, "unknown command 'jump'");
  EXPECT_EQ(result.errors[1].line, 6u);
  EXPECT_EQ(result.errors[1].message, "kind: must come before every other command");
  EXPECT_EQ(result.errors[2].line, 7u);
  ASSERT_EQ(result.commands.size(), 3u);
  EXPECT_EQ(result.commands[1].line, 4u);
  EXPECT_EQ(result.commands[2].verb, ScriptVerb::Wait);
  EXPECT_FALSE(result.ok());
}

TEST_F(ScriptParserTest, ANulCharacterIsRefused) {
  std::string text("home\nopen com.apple.Maps\0x\n", 26);
  auto result = parser_.parse(text);
  ASSERT_EQ(result.errors.size(), 1u);
  EXPECT_EQ(result.errors[0].line, 2u);
}

TEST_F(ScriptParserTest, AppsMustBeInstalledBeforeTheyAreUsed) {
  auto result = parser_.parse(
      "open com.example.late\n"
      "app com.example.late \"Late\" user\n"
      "open com.example.late\n"
      "media playing com.spotify.client\n"
      "media playing com.example.none\n"
      "quit com.example.gone\n"
      "banner com.example.late \"T\" \"M\"\n"
      "banner com.example.silent \"T\" \"M\"\n");
  ASSERT_TRUE(result.ok());
  auto errors = ScriptParser::checkInstalledApps(result.commands, {"com.spotify.client"});
  ASSERT_EQ(errors.size(), 4u);
  EXPECT_EQ(errors[0].line, 1u);
  EXPECT_EQ(errors[0].message, "no app 'com.example.late' is installed on the device");
  EXPECT_EQ(errors[1].line, 5u);
  EXPECT_EQ(errors[2].line, 6u);
  EXPECT_EQ(errors[3].line, 8u);  // a banner comes from an installed app
  EXPECT_EQ(errors[3].message, "no app 'com.example.silent' is installed on the device");
}

}  // namespace
}  // namespace tessra::device
