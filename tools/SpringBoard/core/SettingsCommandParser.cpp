#include "tools/SpringBoard/core/SettingsCommandParser.h"

#include <charconv>
#include <cmath>

#include "tools/SpringBoard/core/ScriptParser.h"

namespace tessra::device {

namespace {

std::string quoted(std::string_view word) { return "'" + std::string(word) + "'"; }

bool isNumber(std::string_view word) {
  double value = 0;
  auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  return ec == std::errc() && ptr == word.data() + word.size() && std::isfinite(value);
}

}  // namespace

bool SettingsCommandParser::isSettingsExpectation(const std::vector<std::string>& w) {
  return w.size() >= 2 && w[0] == "expect" && (w[1] == "page" || w[1] == "row" || w[1] == "rows" || w[1] == "setting");
}

bool SettingsCommandParser::isPageOnlySetting(std::string_view key) {
  return key == "hapticFeedbackEnabled" || key == "hapticFeedbackStrength";
}

std::string SettingsCommandParser::parse(const std::vector<std::string>& w, const ScriptVocabulary& vocabulary,
                                         ScriptCommand& c) {
  c.verb = ScriptVerb::Settings;
  if (w[0] == "settings") {
    if (w.size() == 1) {
      c.name = "settings";
      return {};
    }
    const std::string& sub = w[1];
    if (sub == "back") {
      if (w.size() != 2) return "settings back: expected no more words";
    } else if (sub == "tap") {
      if (w.size() != 3) return "settings tap: expected 'settings tap \"TITLE\"'";
    } else if (sub == "switch") {
      if (w.size() != 4 || (w[3] != "on" && w[3] != "off"))
        return "settings switch: expected 'settings switch \"TITLE\" on|off'";
    } else if (sub == "slider") {
      if (w.size() != 4) return "settings slider: expected 'settings slider \"TITLE\" V'";
      if (!isNumber(w[3])) return "settings slider: expected a number, got " + quoted(w[3]);
    } else if (sub == "segment") {
      if (w.size() != 4) return "settings segment: expected 'settings segment \"TITLE\" \"SEGMENT\"'";
    } else {
      return "settings: expected tap, switch, slider, segment or back, got " + quoted(sub);
    }
    c.name = sub;
    return {};
  }
  const std::string& what = w[1];
  if (what == "page") {
    if (w.size() != 3) return "expect page: expected 'expect page \"TITLE\"'";
  } else if (what == "row") {
    if (w.size() != 4 || (w[3] != "enabled" && w[3] != "disabled" && w[3] != "absent"))
      return "expect row: expected 'expect row \"TITLE\" enabled|disabled|absent'";
  } else if (what == "rows") {
    if (w.size() < 3) return "expect rows: expected 'expect rows \"SECTION\" \"TITLE\" ...'";
  } else {
    if (w.size() != 4) return "expect setting: expected 'expect setting KEY VALUE'";
    const ScriptVocabulary::SettingRule* rule = vocabulary.setting(w[2]);
    if (!rule && !isPageOnlySetting(w[2])) return "expect setting: unknown setting " + quoted(w[2]);
    if (!isNumber(w[3]) && w[3] != "on" && w[3] != "off" && w[3] != "true" && w[3] != "false" && w[3] != "none")
      return "expect setting: expected on, off, a number or none, got " + quoted(w[3]);
  }
  c.name = "expect-" + what;
  return {};
}

std::vector<std::string> SettingsCommandParser::arguments(const ScriptCommand& command) {
  std::vector<std::string> words;
  std::string error;
  ScriptParser::splitWords(command.text, words, error);
  size_t skip = words.size() >= 2 && (words[0] == "expect" || words[0] == "settings") ? 2 : words.size();
  if (words.size() == 1) skip = 1;
  return std::vector<std::string>(words.begin() + static_cast<long>(std::min(skip, words.size())), words.end());
}

}  // namespace tessra::device
