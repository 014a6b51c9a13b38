// The Settings lines of scripts, and the protocol that carries them to the
// Settings app of a dry run.
#include <gtest/gtest.h>
#include <unistd.h>

#include "tools/SpringBoard/core/ScriptParser.h"
#include "tools/SpringBoard/core/SettingsAppProtocol.h"
#include "tools/SpringBoard/core/SettingsCommandParser.h"
#include "tools/SpringBoard/core/TweakVocabulary.h"

namespace tessra::device {
namespace {

class SettingsCommandParserTest : public ::testing::Test {
 protected:
  ScriptCommand parseOk(std::string_view line) {
    auto result = parser_.parseLine(line, 3);
    EXPECT_TRUE(result.error.empty()) << line << ": " << result.error;
    return result.command.value_or(ScriptCommand{});
  }
  std::string errorOf(std::string_view line) { return parser_.parseLine(line, 1).error; }

  ScriptVocabulary vocabulary_ = tweakVocabulary();
  ScriptParser parser_{vocabulary_};
};

TEST_F(SettingsCommandParserTest, SettingsLinesNameTheScreenVerbAndKeepTheirArguments) {
  struct Case {
    const char* line;
    const char* verb;
    std::vector<std::string> args;
  };
  for (const Case& c : std::vector<Case>{
           {"settings", "settings", {}},
           {"settings tap \"Customize Apps\"", "tap", {"Customize Apps"}},
           {"settings switch \"Restore Wi-Fi\" off", "switch", {"Restore Wi-Fi", "off"}},
           {"settings slider \"Haptic Strength\" 0.25", "slider", {"Haptic Strength", "0.25"}},
           {"settings segment \"Panel Style\" \"Dark\"", "segment", {"Panel Style", "Dark"}},
           {"settings back", "back", {}},
           {"expect page \"Tessra 2\"", "expect-page", {"Tessra 2"}},
           {"expect row \"Debug Toasts\" disabled", "expect-row", {"Debug Toasts", "disabled"}},
           {"expect rows \"Levels\" \"Restore Volume\" \"Restore Brightness\"",
            "expect-rows",
            {"Levels", "Restore Volume", "Restore Brightness"}},
           {"expect setting restorePreviousWifiOnAppExit off",
            "expect-setting",
            {"restorePreviousWifiOnAppExit", "off"}},
           {"expect setting hapticFeedbackStrength 0.5", "expect-setting", {"hapticFeedbackStrength", "0.5"}},
       }) {
    ScriptCommand command = parseOk(c.line);
    EXPECT_EQ(command.verb, ScriptVerb::Settings) << c.line;
    EXPECT_EQ(command.name, c.verb) << c.line;
    EXPECT_EQ(SettingsCommandParser::arguments(command), c.args) << c.line;
  }
  // The device's own expectations are untouched.
  EXPECT_EQ(parseOk("expect wifi on").verb, ScriptVerb::ExpectSwitch);
}

TEST_F(SettingsCommandParserTest, BadSettingsLinesSayWhatIsWrong) {
  EXPECT_EQ(errorOf("settings open"), "settings: expected tap, switch, slider, segment or back, got 'open'");
  EXPECT_EQ(errorOf("settings switch \"Enabled\" maybe"),
            "settings switch: expected 'settings switch \"TITLE\" on|off'");
  EXPECT_EQ(errorOf("settings slider \"Haptic Strength\" loud"), "settings slider: expected a number, got 'loud'");
  EXPECT_EQ(errorOf("settings slider \"Haptic Strength\" nan"), "settings slider: expected a number, got 'nan'");
  EXPECT_EQ(errorOf("settings tap"), "settings tap: expected 'settings tap \"TITLE\"'");
  EXPECT_EQ(errorOf("settings back now"), "settings back: expected no more words");
  EXPECT_EQ(errorOf("expect row \"Enabled\" greyed"),
            "expect row: expected 'expect row \"TITLE\" enabled|disabled|absent'");
  EXPECT_EQ(errorOf("expect rows"), "expect rows: expected 'expect rows \"SECTION\" \"TITLE\" ...'");
  EXPECT_EQ(errorOf("expect setting noSuchKey on"), "expect setting: unknown setting 'noSuchKey'");
  EXPECT_EQ(errorOf("expect setting enabled maybe"), "expect setting: expected on, off, a number or none, got 'maybe'");
}

TEST(SettingsAppProtocolTest, MessagesCarryAnyTextUnchanged) {
  std::vector<std::string> fields{"tap", "Line\nbreak \"quoted\" \xC3\xA9", "", " "};
  std::string line = SettingsAppProtocol::encode("cmd", fields);
  EXPECT_EQ(line.back(), '\n');
  EXPECT_EQ(line.find('\n'), line.size() - 1);
  auto message = SettingsAppProtocol::decode(std::string_view(line).substr(0, line.size() - 1));
  ASSERT_TRUE(message);
  EXPECT_EQ(message->kind, "cmd");
  EXPECT_EQ(message->fields, fields);
  EXPECT_FALSE(SettingsAppProtocol::decode(""));
  EXPECT_FALSE(SettingsAppProtocol::decode("cmd 6"));
  EXPECT_FALSE(SettingsAppProtocol::decode("cmd zz"));
  EXPECT_FALSE(SettingsAppProtocol::decode("cmd 61  62"));
}

TEST(SettingsAppProtocolTest, LinesAreReadOneByOneAndTheEndIsSeen) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  std::string both = SettingsAppProtocol::encode("darwin", {"a"}) + SettingsAppProtocol::encode("quit", {});
  ASSERT_TRUE(SettingsAppProtocol::writeAll(fds[1], both));
  close(fds[1]);
  std::string buffer;
  EXPECT_EQ(SettingsAppProtocol::readLine(fds[0], buffer), "darwin 61");
  EXPECT_EQ(SettingsAppProtocol::readLine(fds[0], buffer), "quit");
  EXPECT_FALSE(SettingsAppProtocol::readLine(fds[0], buffer));
  close(fds[0]);
}

}  // namespace
}  // namespace tessra::device
