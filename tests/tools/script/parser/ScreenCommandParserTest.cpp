// The script lines that touch and look at the screen: what they mean and how bad ones are refused.
#include <gtest/gtest.h>

#include "tests/tools/script/ScriptLineTest.h"
#include "tools/SpringBoard/core/ScreenCommandParser.h"
#include "tools/SpringBoard/core/ScriptParser.h"

namespace tessra::device {
namespace {

using ScreenCommandParserTest = ScriptLineTest;

TEST_F(ScreenCommandParserTest, TouchesAtPoints) {
  ScriptCommand tap = parseOk("tap 140.5 88");
  EXPECT_EQ(tap.verb, ScriptVerb::TapPoint);
  EXPECT_EQ(tap.points.x1, 140.5);
  EXPECT_EQ(tap.points.y1, 88);

  ScriptCommand press = parseOk("longpress 10 20");
  EXPECT_EQ(press.verb, ScriptVerb::LongPress);
  EXPECT_EQ(press.number, 1.0);
  EXPECT_EQ(parseOk("longpress 10 20 0.7").number, 0.7);

  ScriptCommand drag = parseOk("drag 1 2 3 4");
  EXPECT_EQ(drag.verb, ScriptVerb::Drag);
  EXPECT_EQ(drag.points.x2, 3);
  EXPECT_EQ(drag.points.y2, 4);
  EXPECT_EQ(drag.number, 0.3);
  EXPECT_EQ(parseOk("drag 1 2 3 4 2").number, 2);
}

TEST_F(ScreenCommandParserTest, IconsTextsAndSwipes) {
  ScriptCommand icon = parseOk("tap icon com.apple.Maps");
  EXPECT_EQ(icon.verb, ScriptVerb::TapIcon);
  EXPECT_EQ(icon.name, "com.apple.Maps");
  EXPECT_EQ(parseOk("press icon com.apple.Maps").verb, ScriptVerb::PressIcon);
  ScriptCommand text = parseOk("tap \"Share App\"");
  EXPECT_EQ(text.verb, ScriptVerb::TapText);
  EXPECT_EQ(text.name, "Share App");
  EXPECT_EQ(parseOk("swipe controlcenter").name, "controlcenter");
  EXPECT_EQ(parseOk("swipe home").verb, ScriptVerb::Swipe);
}

TEST_F(ScreenCommandParserTest, SnapshotsAndExpectations) {
  ScriptCommand shot = parseOk("snapshot \"my shots/home.png\" --scale 2");
  EXPECT_EQ(shot.verb, ScriptVerb::Snapshot);
  EXPECT_EQ(shot.name, "my shots/home.png");
  EXPECT_EQ(shot.number, 2);
  EXPECT_EQ(parseOk("snapshot a.png").number, 0);

  ScriptCommand seen = parseOk("expect text \"Maps\"");
  EXPECT_EQ(seen.verb, ScriptVerb::ExpectText);
  EXPECT_FALSE(seen.on);
  ScriptCommand unseen = parseOk("expect no text \"Maps\"");
  EXPECT_TRUE(unseen.on);
  EXPECT_EQ(unseen.name, "Maps");

  ScriptCommand menu = parseOk("expect menu \"Share App\" \"Edit Home Screen\"");
  EXPECT_EQ(menu.verb, ScriptVerb::ExpectMenu);
  EXPECT_EQ(menu.titles, (std::vector<std::string>{"Share App", "Edit Home Screen"}));
  EXPECT_TRUE(parseOk("expect menu none").on);
  // The switch expectations are unchanged.
  EXPECT_EQ(parseOk("expect wifi on").verb, ScriptVerb::ExpectSwitch);
}

TEST_F(ScreenCommandParserTest, BadLinesSayWhatIsWrong) {
  EXPECT_EQ(errorOf("tap 9999 1"), "tap: (9999, 1) is outside every screen (at most 1024 x 1366 points)");
  EXPECT_EQ(errorOf("tap -1 5"), "tap: (-1, 5) is outside every screen (at most 1024 x 1366 points)");
  EXPECT_EQ(errorOf("tap 1 nan"), "tap: expected coordinates in points, got '1' 'nan'");
  EXPECT_EQ(errorOf("tap"), "tap: expected 'tap X Y', 'tap icon BUNDLE' or 'tap \"TEXT\"'");
  EXPECT_EQ(errorOf("tap icon"), "tap: expected 'tap X Y', 'tap icon BUNDLE' or 'tap \"TEXT\"'");
  EXPECT_EQ(errorOf("tap icon com/evil"), "tap icon: 'com/evil' is not a bundle identifier");
  EXPECT_EQ(errorOf("press 1 2"), "press: expected 'press icon BUNDLE'");
  EXPECT_EQ(errorOf("longpress 1 2 99"), "longpress: expected a number of seconds from 0 to 60, got '99'");
  EXPECT_EQ(errorOf("drag 1 2 3 4 0"), "drag: expected a number of seconds from 0.05 to 60, got '0'");
  EXPECT_EQ(errorOf("drag 1 2 3"), "drag: expected 'drag X1 Y1 X2 Y2 [SECONDS]'");
  EXPECT_EQ(errorOf("swipe sideways"), "swipe: expected 'swipe home', 'swipe notifications' or 'swipe controlcenter'");
  EXPECT_EQ(errorOf("snapshot home.jpg"), "snapshot: the file name must end in .png, got 'home.jpg'");
  EXPECT_EQ(errorOf("snapshot a.png --scale 4"),
            "snapshot: expected '--scale 1', '--scale 2' or '--scale 3' after the file name");
  EXPECT_EQ(errorOf("expect text"), "expect: expected 'expect text \"TEXT\"' or 'expect no text \"TEXT\"'");
  EXPECT_EQ(errorOf("expect menu"), "expect menu: expected 'expect menu \"TITLE\"...' or 'expect menu none'");
}

TEST_F(ScreenCommandParserTest, IconsOfAppsThatAreNotInstalledAreRefusedBeforeTheRun) {
  auto parsed = parser_.parse("tap icon com.apple.Maps\npress icon com.nowhere.app\n");
  ASSERT_TRUE(parsed.ok());
  auto errors = ScriptParser::checkInstalledApps(parsed.commands, {"com.apple.Maps"});
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].line, 2u);
}

TEST_F(ScreenCommandParserTest, ASnapshotLineReadsBackWithItsFileAndScale) {
  std::string line = ScreenCommandParser::snapshotLine("/tmp/a \"quoted\" folder/x.png", 3);
  ScriptCommand back = parseOk(line);
  EXPECT_EQ(back.name, "/tmp/a \"quoted\" folder/x.png");
  EXPECT_EQ(back.number, 3);
  EXPECT_EQ(parseOk(ScreenCommandParser::snapshotLine("b.png", 0)).number, 0);
}

}  // namespace
}  // namespace tessra::device
