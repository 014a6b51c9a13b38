// The panel's script lines: what each one means, and the clear refusals of
// unknown names, numbers out of range and malformed lines.
#include <gtest/gtest.h>

#include "tests/tools/script/ScriptLineTest.h"
#include "tools/SpringBoard/core/PanelCommandParser.h"
#include "tools/SpringBoard/core/ScriptParser.h"

namespace tessra::device {
namespace {

using PanelCommandParserTest = ScriptLineTest;

TEST_F(PanelCommandParserTest, PanelActions) {
  ScriptCommand tap = parseOk("panel tap wifi");
  EXPECT_EQ(tap.verb, ScriptVerb::PanelTap);
  EXPECT_EQ(tap.name, "wifi");
  EXPECT_EQ(parseOk("panel tap action_disableCC").name, "action_disableCC");
  ScriptCommand segment = parseOk("panel segment Behaviors");
  EXPECT_EQ(segment.verb, ScriptVerb::PanelSegment);
  EXPECT_EQ(segment.name, "Behaviors");
  ScriptCommand scroll = parseOk("panel scroll 0.6");
  EXPECT_EQ(scroll.verb, ScriptVerb::PanelScroll);
  EXPECT_EQ(scroll.number, 0.6);
  ScriptCommand slider = parseOk("panel slider volume 40");
  EXPECT_EQ(slider.verb, ScriptVerb::PanelSlider);
  EXPECT_EQ(slider.name, "volume");
  EXPECT_EQ(slider.number, 40);
  EXPECT_FALSE(slider.on);
  ScriptCommand reset = parseOk("panel slider brightness reset");
  EXPECT_TRUE(reset.on);
  EXPECT_EQ(reset.name, "brightness");
  EXPECT_EQ(parseOk("panel dismiss").verb, ScriptVerb::PanelDismiss);
}

TEST_F(PanelCommandParserTest, PanelExpectations) {
  ScriptCommand open = parseOk("expect panel open");
  EXPECT_EQ(open.verb, ScriptVerb::ExpectPanel);
  EXPECT_TRUE(open.on);
  EXPECT_FALSE(parseOk("expect panel closed").on);
  EXPECT_EQ(parseOk("expect ring behaviors").name, "behaviors");
  ScriptCommand bottom = parseOk("expect bottom \"Enable Wi-Fi when opening Maps\"");
  EXPECT_EQ(bottom.verb, ScriptVerb::ExpectBottom);
  EXPECT_EQ(bottom.value, "Enable Wi-Fi when opening Maps");
  EXPECT_EQ(parseOk("expect bottom none").value, "");
  ScriptCommand button = parseOk("expect button wifi \"On\"");
  EXPECT_EQ(button.verb, ScriptVerb::ExpectButton);
  EXPECT_EQ(button.name, "wifi");
  EXPECT_EQ(button.value, "On");
  EXPECT_EQ(parseOk("expect button dnd none").value, "");
  ScriptCommand slider = parseOk("expect slider volume \"-%\"");
  EXPECT_EQ(slider.verb, ScriptVerb::ExpectSlider);
  EXPECT_EQ(slider.value, "-%");
  ScriptCommand stored = parseOk("expect stored com.apple.Maps volume 0.4");
  EXPECT_EQ(stored.verb, ScriptVerb::ExpectStored);
  EXPECT_EQ(stored.name, "com.apple.Maps");
  EXPECT_EQ(stored.displayName, "volume");
  EXPECT_EQ(stored.number, 0.4);
  EXPECT_FALSE(stored.on);
  EXPECT_TRUE(parseOk("expect stored com.apple.Maps wifi none").on);
  EXPECT_EQ(parseOk("expect stored com.apple.Maps action_disableNC 1").number, 1);
  // The existing expectations are untouched.
  EXPECT_EQ(parseOk("expect volume 0.4").verb, ScriptVerb::ExpectVolume);
}

TEST_F(PanelCommandParserTest, UnknownNamesAndNumbersOutOfRangeAreRefused) {
  EXPECT_EQ(errorOf("panel tap wlan"), "panel tap: unknown toggle or behaviour name 'wlan'");
  EXPECT_EQ(errorOf("panel slider volume 101"),
            "panel slider: expected a percentage from 0 to 100 or reset, got '101'");
  EXPECT_EQ(errorOf("panel slider volume -1"), "panel slider: expected a percentage from 0 to 100 or reset, got '-1'");
  EXPECT_EQ(errorOf("panel slider volume nan"),
            "panel slider: expected a percentage from 0 to 100 or reset, got 'nan'");
  EXPECT_EQ(errorOf("panel slider loudness 10"), "panel slider: expected 'panel slider volume|brightness P|reset'");
  EXPECT_EQ(errorOf("panel scroll 1.5"), "panel scroll: expected a position from 0 to 1, got '1.5'");
  EXPECT_EQ(errorOf("panel segment toggles"), "panel segment: expected 'panel segment Toggles|Behaviors'");
  EXPECT_EQ(errorOf("panel dismiss now"), "panel dismiss: takes no arguments");
  EXPECT_EQ(errorOf("panel open"), "panel: expected tap, segment, scroll, slider or dismiss, got 'open'");
  EXPECT_EQ(errorOf("panel"), "panel: expected tap, segment, scroll, slider or dismiss, got ''");
  EXPECT_EQ(errorOf("expect button wlan On"), "expect button: unknown toggle or behaviour name 'wlan'");
  EXPECT_EQ(errorOf("expect panel shown"), "expect panel: expected 'expect panel open|closed'");
  EXPECT_EQ(errorOf("expect ring Toggles"), "expect ring: expected 'expect ring toggles|behaviors'");
  EXPECT_EQ(errorOf("expect stored com.apple.Maps volume 40"),
            "expect stored: volume is stored as a fraction from 0 to 1, got '40'");
  EXPECT_EQ(errorOf("expect stored com.apple.Maps wifi on"),
            "expect stored: wifi is stored as 1 (on) or 0 (off), got 'on'");
  EXPECT_EQ(errorOf("expect stored com.apple.Maps speed 1"),
            "expect stored: expected a toggle or behaviour name, volume or brightness, got 'speed'");
  EXPECT_EQ(errorOf("expect stored ../x wifi 1"), "expect stored: '../x' is not a bundle identifier");
}

TEST_F(PanelCommandParserTest, AWholeScriptIsRefusedWithTheLineOfEachMistake) {
  auto result = parser_.parse("panel tap wifi\n# fine\npanel slider volume 250\npanel tap nothing\n");
  ASSERT_EQ(result.errors.size(), 2u);
  EXPECT_EQ(result.errors[0].line, 3u);
  EXPECT_EQ(result.errors[1].line, 4u);
}

}  // namespace
}  // namespace tessra::device
