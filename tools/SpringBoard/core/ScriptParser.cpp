#include "tools/SpringBoard/core/ScriptParser.h"

#include <charconv>
#include <cmath>
#include <regex>

#include "tools/SpringBoard/core/BehaviourScriptParser.h"
#include "tools/SpringBoard/core/PanelCommandParser.h"
#include "tools/SpringBoard/core/ScreenCommandParser.h"
#include "tools/SpringBoard/core/SettingsCommandParser.h"

namespace tessra::device {
namespace {

// The longest wait a script may ask for; a longer one is almost surely a typing error.
constexpr double kMaxWaitSeconds = 3600;

std::string_view trim(std::string_view text) {
  size_t begin = text.find_first_not_of(" \t\r\n");
  if (begin == std::string_view::npos) return {};
  size_t end = text.find_last_not_of(" \t\r\n");
  return text.substr(begin, end - begin + 1);
}

std::string quoted(std::string_view word) { return "'" + std::string(word) + "'"; }

// A finite number written in full (no trailing characters).
std::optional<double> parseNumber(std::string_view word) {
  double value = 0;
  const char* end = word.data() + word.size();
  auto [ptr, ec] = std::from_chars(word.data(), end, value);
  if (ec != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<int64_t> parseInteger(std::string_view word) {
  int64_t value = 0;
  const char* end = word.data() + word.size();
  auto [ptr, ec] = std::from_chars(word.data(), end, value);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

// on/off as a script writes it.
std::optional<bool> parseOnOff(std::string_view word) {
  if (word == "on") return true;
  if (word == "off") return false;
  return std::nullopt;
}

// A boolean setting's value: the spellings the settings pages and the command line use.
std::optional<bool> parseBoolean(std::string_view word) {
  if (word == "on" || word == "yes" || word == "true" || word == "1") return true;
  if (word == "off" || word == "no" || word == "false" || word == "0") return false;
  return std::nullopt;
}

std::string wrongCount(std::string_view verb, std::string_view usage) {
  return std::string(verb) + ": expected '" + std::string(usage) + "'";
}

std::string fractionError(std::string_view verb, std::string_view word) {
  return std::string(verb) + ": expected a number from 0 to 1, got " + quoted(word);
}

// A fraction from 0 to 1 for volume and brightness.
std::optional<double> parseFraction(std::string_view word) {
  auto value = parseNumber(word);
  if (!value || *value < 0 || *value > 1) return std::nullopt;
  return value;
}

}  // namespace

bool ScriptParser::isSupportedVersion(std::string_view text) {
  static const std::regex pattern(R"(1[123]\.\d{1,2}(\.\d{1,2})?)");
  return std::regex_match(text.begin(), text.end(), pattern);
}

bool ScriptParser::splitWords(std::string_view text, std::vector<std::string>& words, std::string& error) {
  words.clear();
  size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      ++i;
      continue;
    }
    std::string word;
    if (c == '"') {
      ++i;
      bool closed = false;
      while (i < text.size()) {
        char d = text[i++];
        if (d == '"') {
          closed = true;
          break;
        }
        if (d == '\\' && i < text.size() && (text[i] == '"' || text[i] == '\\')) d = text[i++];
        word += d;
      }
      if (!closed) {
        error = "a quote is not closed";
        return false;
      }
      if (i < text.size() && text[i] != ' ' && text[i] != '\t') {
        error = "a closing quote must be followed by a blank";
        return false;
      }
    } else {
      while (i < text.size() && text[i] != ' ' && text[i] != '\t' && text[i] != '\r' && text[i] != '\n') {
        if (text[i] == '"') {
          error = "a quote inside a word";
          return false;
        }
        word += text[i++];
      }
    }
    words.push_back(std::move(word));
  }
  return true;
}

bool ScriptParser::isBundleIdentifier(std::string_view text) {
  if (text.empty() || text.size() > 255) return false;
  for (char c : text) {
    bool ok =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
    if (!ok) return false;
  }
  return true;
}

ScriptParser::LineResult ScriptParser::parseLine(std::string_view text, size_t line) const {
  LineResult result;
  std::string_view trimmed = trim(text);
  if (trimmed.empty() || trimmed.front() == '#') return result;
  std::vector<std::string> words;
  std::string error;
  if (!splitWords(trimmed, words, error)) {
    result.error = error;
    return result;
  }
  ScriptCommand command;
  command.line = line;
  command.text = std::string(trimmed);
  error = parseWords(words, command);
  if (!error.empty())
    result.error = std::move(error);
  else
    result.command = std::move(command);
  return result;
}

ScriptParser::Result ScriptParser::parse(std::string_view text) const {
  Result result;
  size_t line = 0;
  bool sawDeviceAction = false;
  while (!text.empty()) {
    size_t newline = text.find('\n');
    std::string_view current = text.substr(0, newline);
    text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
    ++line;
    if (current.find('\0') != std::string_view::npos) {
      result.errors.push_back({line, "the line holds a NUL character"});
      continue;
    }
    LineResult parsed = parseLine(current, line);
    if (!parsed.error.empty()) {
      result.errors.push_back({line, std::move(parsed.error)});
      continue;
    }
    if (!parsed.command) continue;
    if (parsed.command->isDeviceSetup()) {
      if (sawDeviceAction) {
        std::string verb = parsed.command->verb == ScriptVerb::Version ? "version"
                           : parsed.command->verb == ScriptVerb::Kind  ? "kind"
                                                                       : "activator";
        result.errors.push_back({line, verb + ": must come before every other command"});
        continue;
      }
    } else {
      sawDeviceAction = true;
    }
    result.commands.push_back(std::move(*parsed.command));
  }
  return result;
}

std::string ScriptParser::parseWords(const std::vector<std::string>& w, ScriptCommand& c) const {
  const std::string& verb = w[0];
  size_t n = w.size();
  if (auto screenError = ScreenCommandParser::parse(w, c)) return *screenError;
  if (auto behaviour = BehaviourScriptParser::parse(w, c)) return *behaviour;
  if (verb == "version") {
    if (n != 2) return wrongCount(verb, "version X.Y");
    if (!isSupportedVersion(w[1])) return "version: expected a system version from 11.0 to 13.x, got " + quoted(w[1]);
    c.verb = ScriptVerb::Version;
    c.name = w[1];
    return {};
  }
  if (verb == "kind") {
    if (n != 2 || (w[1] != "phone" && w[1] != "tablet")) return wrongCount(verb, "kind phone|tablet");
    c.verb = ScriptVerb::Kind;
    c.on = w[1] == "tablet";
    c.name = w[1];
    return {};
  }
  if (verb == "app") {
    if (n != 4) return wrongCount(verb, "app BUNDLE \"Name\" system|user");
    if (!isBundleIdentifier(w[1])) return "app: " + quoted(w[1]) + " is not a bundle identifier";
    if (w[2].empty()) return "app: the name must not be empty";
    if (w[3] != "system" && w[3] != "user") return "app: expected system or user, got " + quoted(w[3]);
    c.verb = ScriptVerb::App;
    c.name = w[1];
    c.displayName = w[2];
    c.on = w[3] == "system";
    return {};
  }
  if (verb == "switch") {
    if (n != 3) return wrongCount(verb, "switch NAME on|off|indeterminate");
    if (!vocabulary_.isSwitch(w[1])) return "switch: unknown switch name " + quoted(w[1]);
    c.verb = ScriptVerb::Switch;
    c.name = w[1];
    if (w[2] == "on")
      c.switchState = 1;
    else if (w[2] == "off")
      c.switchState = 0;
    else if (w[2] == "indeterminate")
      c.switchState = -1;
    else
      return "switch: expected on, off or indeterminate, got " + quoted(w[2]);
    return {};
  }
  if (verb == "volume" || verb == "brightness") {
    if (n != 2) return wrongCount(verb, verb + " F");
    auto value = parseFraction(w[1]);
    if (!value) return fractionError(verb, w[1]);
    c.verb = verb == "volume" ? ScriptVerb::Volume : ScriptVerb::Brightness;
    c.number = *value;
    return {};
  }
  if (verb == "battery") {
    if (n != 2 && !(n == 3 && w[2] == "charging")) return wrongCount(verb, "battery PERCENT [charging]");
    auto percent = parseInteger(w[1]);
    if (!percent || *percent < 0 || *percent > 100)
      return "battery: expected a whole percentage from 0 to 100, got " + quoted(w[1]);
    c.verb = ScriptVerb::Battery;
    c.number = static_cast<double>(*percent);
    c.on = n == 3;
    return {};
  }
  if (verb == "dark" || verb == "siri" || verb == "spotlight") {
    auto on = n == 2 ? parseOnOff(w[1]) : std::nullopt;
    if (!on) return wrongCount(verb, verb + " on|off");
    c.verb = verb == "dark" ? ScriptVerb::Dark : verb == "siri" ? ScriptVerb::Siri : ScriptVerb::Spotlight;
    c.on = *on;
    return {};
  }
  if (verb == "media") {
    if (n == 2 && w[1] == "stopped") {
      c.verb = ScriptVerb::MediaStopped;
      return {};
    }
    if (n == 3 && w[1] == "playing") {
      if (!isBundleIdentifier(w[2])) return "media: " + quoted(w[2]) + " is not a bundle identifier";
      c.verb = ScriptVerb::MediaPlaying;
      c.name = w[2];
      return {};
    }
    return wrongCount(verb, "media playing BUNDLE' or 'media stopped");
  }
  if (verb == "customize") return parseCustomize(w, c);
  if (verb == "setting") return parseSetting(w, c);
  if (verb == "open" || verb == "quit") {
    if (n != 2) return wrongCount(verb, verb + " BUNDLE");
    if (!isBundleIdentifier(w[1])) return verb + ": " + quoted(w[1]) + " is not a bundle identifier";
    c.verb = verb == "open" ? ScriptVerb::Open : ScriptVerb::Quit;
    c.name = w[1];
    return {};
  }
  if (verb == "home" || verb == "lock" || verb == "unlock" || verb == "state") {
    if (n != 1) return verb + ": takes no arguments";
    c.verb = verb == "home"     ? ScriptVerb::Home
             : verb == "lock"   ? ScriptVerb::Lock
             : verb == "unlock" ? ScriptVerb::Unlock
                                : ScriptVerb::State;
    return {};
  }
  if (verb == "wait") {
    if (n != 2) return wrongCount(verb, "wait SECONDS");
    auto value = parseNumber(w[1]);
    if (!value || *value < 0 || *value > kMaxWaitSeconds)
      return "wait: expected a number of seconds from 0 to 3600, got " + quoted(w[1]);
    c.verb = ScriptVerb::Wait;
    c.number = *value;
    return {};
  }
  if (verb == "answer") {
    if (n != 2 || w[1].empty()) return wrongCount(verb, "answer TITLE");
    c.verb = ScriptVerb::Answer;
    c.name = w[1];
    return {};
  }
  if (verb == "settings" || SettingsCommandParser::isSettingsExpectation(w))
    return SettingsCommandParser::parse(w, vocabulary_, c);
  if (verb == "expect") return parseExpect(w, c);
  if (verb == "panel") return PanelCommandParser::parsePanel(w, c, vocabulary_);
  return "unknown command " + quoted(verb);
}

std::string ScriptParser::parseCustomize(const std::vector<std::string>& w, ScriptCommand& c) const {
  constexpr std::string_view usage = "customize BUNDLE [volume P|none] [brightness P|none] [NAME on|off|none]...";
  if (w.size() < 4 || w.size() % 2 != 0) return wrongCount("customize", usage);
  if (!isBundleIdentifier(w[1])) return "customize: " + quoted(w[1]) + " is not a bundle identifier";
  c.verb = ScriptVerb::Customize;
  c.name = w[1];
  for (size_t i = 2; i + 1 < w.size(); i += 2) {
    const std::string& what = w[i];
    const std::string& value = w[i + 1];
    if (what == "volume" || what == "brightness") {
      auto& level = what == "volume" ? c.volume : c.brightness;
      if (level) return "customize: " + what + " is given twice";
      CustomizedLevel parsed;
      if (value == "none") {
        parsed.remove = true;
      } else {
        auto percent = parseNumber(value);
        if (!percent || *percent < 0 || *percent > 100)
          return "customize: " + what + " expects a percentage from 0 to 100 or none, got " + quoted(value);
        parsed.percent = *percent;
      }
      level = parsed;
      continue;
    }
    if (!vocabulary_.isSwitch(what) && !vocabulary_.isAction(what))
      return "customize: unknown toggle or behaviour name " + quoted(what);
    for (const auto& toggle : c.toggles)
      if (toggle.name == what) return "customize: " + what + " is given twice";
    CustomizedToggle toggle{what, std::nullopt};
    if (value == "on")
      toggle.state = 1;
    else if (value == "off")
      toggle.state = 0;
    else if (value != "none")
      return "customize: " + what + " expects on, off or none, got " + quoted(value);
    c.toggles.push_back(std::move(toggle));
  }
  return {};
}

std::string ScriptParser::parseSetting(const std::vector<std::string>& w, ScriptCommand& c) const {
  if (w.size() != 3) return wrongCount("setting", "setting KEY VALUE");
  const ScriptVocabulary::SettingRule* rule = vocabulary_.setting(w[1]);
  if (!rule) return "setting: unknown setting key " + quoted(w[1]);
  c.verb = ScriptVerb::Setting;
  c.name = w[1];
  if (rule->type == ScriptVocabulary::SettingType::Bool) {
    auto on = parseBoolean(w[2]);
    if (!on) return "setting: " + w[1] + " expects on or off, got " + quoted(w[2]);
    c.value = *on ? "1" : "0";
    c.on = *on;
    return {};
  }
  auto number = parseInteger(w[2]);
  if (!number || *number < rule->minimum || *number > rule->maximum)
    return "setting: " + w[1] + " expects a whole number from " + std::to_string(rule->minimum) + " to " +
           std::to_string(rule->maximum) + ", got " + quoted(w[2]);
  c.value = std::to_string(*number);
  c.number = static_cast<double>(*number);
  return {};
}

std::string ScriptParser::parseExpect(const std::vector<std::string>& w, ScriptCommand& c) const {
  constexpr std::string_view usage =
      "expect NAME on|off', 'expect volume F', 'expect brightness F' or "
      "'expect alert \"MESSAGE\"|none";
  if (w.size() >= 2 && PanelCommandParser::isPanelExpectation(w[1]))
    return PanelCommandParser::parseExpect(w, c, vocabulary_);
  if (w.size() != 3) return wrongCount("expect", usage);
  if (w[1] == "volume" || w[1] == "brightness") {
    auto value = parseFraction(w[2]);
    if (!value) return fractionError("expect " + w[1], w[2]);
    c.verb = w[1] == "volume" ? ScriptVerb::ExpectVolume : ScriptVerb::ExpectBrightness;
    c.number = *value;
    return {};
  }
  if (w[1] == "alert") {
    c.verb = ScriptVerb::ExpectAlert;
    c.on = w[2] == "none";
    c.value = w[2];
    return {};
  }
  if (!vocabulary_.isSwitch(w[1])) return "expect: unknown switch name " + quoted(w[1]);
  auto on = parseOnOff(w[2]);
  if (!on) return "expect: " + w[1] + " expects on or off, got " + quoted(w[2]);
  c.verb = ScriptVerb::ExpectSwitch;
  c.name = w[1];
  c.on = *on;
  return {};
}

std::vector<ScriptError> ScriptParser::checkInstalledApps(const std::vector<ScriptCommand>& commands,
                                                          std::set<std::string, std::less<>> installed) {
  std::vector<ScriptError> errors;
  for (const auto& command : commands) {
    if (command.verb == ScriptVerb::App) installed.insert(command.name);
    if ((command.verb == ScriptVerb::Open || command.verb == ScriptVerb::Quit ||
         command.verb == ScriptVerb::MediaPlaying || command.verb == ScriptVerb::TapIcon ||
         command.verb == ScriptVerb::PressIcon || command.verb == ScriptVerb::Banner) &&
        !installed.contains(command.name))
      errors.push_back({command.line, "no app " + quoted(command.name) + " is installed on the device"});
  }
  return errors;
}

}  // namespace tessra::device
