#include "tools/SpringBoard/core/PanelCommandParser.h"

#include <charconv>
#include <cmath>
#include <optional>

#include "tools/SpringBoard/core/ScriptParser.h"

namespace tessra::device {
namespace {

std::string quoted(std::string_view word) { return "'" + std::string(word) + "'"; }

std::optional<double> parseNumber(std::string_view word) {
  double value = 0;
  const char* end = word.data() + word.size();
  auto [ptr, ec] = std::from_chars(word.data(), end, value);
  if (ec != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

bool isToggleName(std::string_view name, const ScriptVocabulary& vocabulary) {
  return vocabulary.isSwitch(name) || vocabulary.isAction(name);
}

bool isSliderName(std::string_view name) { return name == "volume" || name == "brightness"; }

}  // namespace

std::string PanelCommandParser::parsePanel(const std::vector<std::string>& w, ScriptCommand& c,
                                           const ScriptVocabulary& vocabulary) {
  const size_t n = w.size();
  const std::string what = n > 1 ? w[1] : std::string();
  if (what == "tap") {
    if (n != 3) return "panel tap: expected 'panel tap NAME'";
    if (!isToggleName(w[2], vocabulary)) return "panel tap: unknown toggle or behaviour name " + quoted(w[2]);
    c.verb = ScriptVerb::PanelTap;
    c.name = w[2];
    return {};
  }
  if (what == "segment") {
    if (n != 3 || (w[2] != "Toggles" && w[2] != "Behaviors"))
      return "panel segment: expected 'panel segment Toggles|Behaviors'";
    c.verb = ScriptVerb::PanelSegment;
    c.name = w[2];
    return {};
  }
  if (what == "scroll") {
    if (n != 3) return "panel scroll: expected 'panel scroll P' (a position from 0 to 1)";
    auto p = parseNumber(w[2]);
    if (!p || *p < 0 || *p > 1) return "panel scroll: expected a position from 0 to 1, got " + quoted(w[2]);
    c.verb = ScriptVerb::PanelScroll;
    c.number = *p;
    return {};
  }
  if (what == "slider") {
    if (n != 4 || !isSliderName(w[2])) return "panel slider: expected 'panel slider volume|brightness P|reset'";
    c.verb = ScriptVerb::PanelSlider;
    c.name = w[2];
    if (w[3] == "reset") {
      c.on = true;
      return {};
    }
    auto p = parseNumber(w[3]);
    if (!p || *p < 0 || *p > 100)
      return "panel slider: expected a percentage from 0 to 100 or reset, got " + quoted(w[3]);
    c.number = *p;
    return {};
  }
  if (what == "dismiss") {
    if (n != 2) return "panel dismiss: takes no arguments";
    c.verb = ScriptVerb::PanelDismiss;
    return {};
  }
  return "panel: expected tap, segment, scroll, slider or dismiss, got " + quoted(what);
}

bool PanelCommandParser::isPanelExpectation(std::string_view what) {
  return what == "panel" || what == "ring" || what == "bottom" || what == "button" || what == "slider" ||
         what == "stored";
}

std::string PanelCommandParser::parseExpect(const std::vector<std::string>& w, ScriptCommand& c,
                                            const ScriptVocabulary& vocabulary) {
  const size_t n = w.size();
  const std::string& what = w[1];
  if (what == "panel") {
    if (n != 3 || (w[2] != "open" && w[2] != "closed")) return "expect panel: expected 'expect panel open|closed'";
    c.verb = ScriptVerb::ExpectPanel;
    c.on = w[2] == "open";
    return {};
  }
  if (what == "ring") {
    if (n != 3 || (w[2] != "toggles" && w[2] != "behaviors"))
      return "expect ring: expected 'expect ring toggles|behaviors'";
    c.verb = ScriptVerb::ExpectRing;
    c.name = w[2];
    return {};
  }
  if (what == "bottom") {
    if (n != 3) return "expect bottom: expected 'expect bottom \"TEXT\"' or 'expect bottom none'";
    c.verb = ScriptVerb::ExpectBottom;
    c.value = w[2] == "none" ? std::string() : w[2];
    return {};
  }
  if (what == "button") {
    if (n != 4) return "expect button: expected 'expect button NAME \"BADGE\"|none'";
    if (!isToggleName(w[2], vocabulary)) return "expect button: unknown toggle or behaviour name " + quoted(w[2]);
    c.verb = ScriptVerb::ExpectButton;
    c.name = w[2];
    c.value = w[3] == "none" ? std::string() : w[3];
    return {};
  }
  if (what == "slider") {
    if (n != 4 || !isSliderName(w[2])) return "expect slider: expected 'expect slider volume|brightness \"TEXT\"'";
    c.verb = ScriptVerb::ExpectSlider;
    c.name = w[2];
    c.value = w[3];
    return {};
  }
  // expect stored BUNDLE NAME VALUE|none
  if (n != 5) return "expect stored: expected 'expect stored BUNDLE NAME VALUE|none'";
  if (!ScriptParser::isBundleIdentifier(w[2])) return "expect stored: " + quoted(w[2]) + " is not a bundle identifier";
  const bool slider = isSliderName(w[3]);
  if (!slider && !isToggleName(w[3], vocabulary))
    return "expect stored: expected a toggle or behaviour name, volume or brightness, got " + quoted(w[3]);
  c.verb = ScriptVerb::ExpectStored;
  c.name = w[2];
  c.displayName = w[3];
  c.on = w[4] == "none";
  if (c.on) return {};
  auto value = parseNumber(w[4]);
  if (slider && (!value || *value < 0 || *value > 1))
    return "expect stored: " + w[3] + " is stored as a fraction from 0 to 1, got " + quoted(w[4]);
  if (!slider && (!value || (*value != 0 && *value != 1)))
    return "expect stored: " + w[3] + " is stored as 1 (on) or 0 (off), got " + quoted(w[4]);
  c.number = *value;
  return {};
}

}  // namespace tessra::device
