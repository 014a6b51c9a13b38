#include "tools/SpringBoard/core/BehaviourScriptParser.h"

#include <charconv>

namespace tessra::device {
namespace {

// The most presses one event may carry, and the largest count an expectation may name.
constexpr size_t kMaxPressesPerEvent = 3;
constexpr int64_t kMaxCount = 1000;

std::string quoted(const std::string& word) { return "'" + word + "'"; }

std::string usage(const std::string& verb, const std::string& form) { return verb + ": expected '" + form + "'"; }

std::optional<std::string> text(const std::string& word) {
  if (word == "nil") return std::nullopt;
  return word;
}

std::optional<int64_t> count(const std::string& word) {
  int64_t value = 0;
  auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (ec != std::errc() || ptr != word.data() + word.size() || value < 0 || value > kMaxCount) return std::nullopt;
  return value;
}

bool isClassName(const std::string& name) {
  if (name.empty() || name.size() > 128 || (name[0] >= '0' && name[0] <= '9')) return false;
  for (char c : name)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
  return true;
}

bool isBundleIdentifier(const std::string& text) {
  if (text.empty() || text.size() > 255) return false;
  for (char c : text)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
          c == '_'))
      return false;
  return true;
}

std::optional<std::string> parseExpect(const std::vector<std::string>& w, ScriptCommand& c) {
  const std::string& what = w[1];
  const size_t n = w.size();
  if (what == "toast") {
    if (n == 3 && w[2] == "none") {
      c.verb = ScriptVerb::ExpectToast;
      c.on = true;
      return "";
    }
    if (n != 4) return usage("expect toast", "expect toast \"TITLE\"|nil \"MESSAGE\"|nil' or 'expect toast none");
    c.verb = ScriptVerb::ExpectToast;
    c.texts = {text(w[2]), text(w[3])};
    return "";
  }
  if (what == "toasts") {
    auto number = n == 3 ? count(w[2]) : std::nullopt;
    if (!number) return usage("expect toasts", "expect toasts N") + " with N a whole number from 0 to 1000";
    c.verb = ScriptVerb::ExpectToasts;
    c.number = static_cast<double>(*number);
    return "";
  }
  if (what == "banner" || what == "systemalert") {
    if (n != 3 || (w[2] != "shown" && w[2] != "hidden"))
      return usage("expect " + what, "expect " + what + " shown|hidden");
    c.verb = what == "banner" ? ScriptVerb::ExpectBanner : ScriptVerb::ExpectSystemAlert;
    c.on = w[2] == "shown";
    return "";
  }
  if (what == "controlcenter" || what == "notificationcenter" || what == "reachability") {
    if (n != 3 || (w[2] != "opened" && w[2] != "blocked"))
      return usage("expect " + what, "expect " + what + " opened|blocked");
    c.verb = ScriptVerb::ExpectOverlay;
    c.name = what;
    c.on = w[2] == "opened";
    return "";
  }
  if (what == "home") {
    auto number = n == 4 && w[2] == "pressed" ? count(w[3]) : std::nullopt;
    if (!number) return usage("expect home", "expect home pressed N") + " with N a whole number from 0 to 1000";
    c.verb = ScriptVerb::ExpectHomePressed;
    c.number = static_cast<double>(*number);
    return "";
  }
  return std::nullopt;
}

}  // namespace

std::optional<long> BehaviourScriptParser::pressType(const std::string& name) {
  if (name == "volumeup") return 102;
  if (name == "volumedown") return 103;
  if (name == "side") return 104;
  return std::nullopt;
}

std::optional<std::string> BehaviourScriptParser::parse(const std::vector<std::string>& w, ScriptCommand& c) {
  const std::string& verb = w[0];
  const size_t n = w.size();
  if (verb == "expect" && n >= 2) return parseExpect(w, c);
  if (verb == "controlcenter" || verb == "notificationcenter" || verb == "reachability") {
    if (n != 1) return verb + ": takes no arguments";
    c.verb = verb == "controlcenter"        ? ScriptVerb::ControlCenter
             : verb == "notificationcenter" ? ScriptVerb::NotificationCenter
                                            : ScriptVerb::Reachability;
    return "";
  }
  if (verb == "activator") {
    if (n != 2 || w[1].empty()) return usage(verb, "activator EVENT' or 'activator installed|absent");
    if (w[1] == "installed" || w[1] == "absent") {
      c.verb = ScriptVerb::ActivatorSetup;
      c.on = w[1] == "installed";
    } else {
      c.verb = ScriptVerb::Activator;
    }
    c.name = w[1];
    return "";
  }
  if (verb == "button" || verb == "buttons") {
    const std::string form =
        verb == "button" ? "button volumeup|volumedown|side down|up" : "buttons volumeup+volumedown down|up";
    if (n != 3 || (w[2] != "down" && w[2] != "up")) return usage(verb, form);
    const double force = w[2] == "down" ? 1.0 : 0.0;
    std::vector<std::string> names;
    if (verb == "button") {
      names.push_back(w[1]);
    } else {
      for (size_t start = 0;;) {
        size_t plus = w[1].find('+', start);
        names.push_back(w[1].substr(start, plus == std::string::npos ? std::string::npos : plus - start));
        if (plus == std::string::npos) break;
        start = plus + 1;
      }
      if (names.size() < 2 || names.size() > kMaxPressesPerEvent)
        return usage(verb, form) + ": two or three buttons joined by '+'";
    }
    for (const std::string& name : names) {
      auto type = pressType(name);
      if (!type) return verb + ": unknown button " + quoted(name) + " (volumeup, volumedown or side)";
      for (const auto& press : c.presses)
        if (press.first == *type) return verb + ": " + name + " is given twice";
      c.presses.emplace_back(*type, force);
    }
    c.verb = verb == "button" ? ScriptVerb::Button : ScriptVerb::Buttons;
    return "";
  }
  if (verb == "orientation") {
    if (n != 2 || (w[1] != "portrait" && w[1] != "landscapeleft" && w[1] != "landscaperight"))
      return usage(verb, "orientation portrait|landscapeleft|landscaperight");
    c.verb = ScriptVerb::Orientation;
    c.name = w[1];
    c.number = w[1] == "portrait" ? 1 : w[1] == "landscapeleft" ? 3 : 4;
    return "";
  }
  if (verb == "banner") {
    if (n != 4 && n != 5) return usage(verb, "banner BUNDLE \"TITLE\" \"MESSAGE\" [\"SUBTITLE\"]");
    if (!isBundleIdentifier(w[1])) return "banner: " + quoted(w[1]) + " is not a bundle identifier";
    c.verb = ScriptVerb::Banner;
    c.name = w[1];
    c.texts = {text(w[2]), text(w[3]), n == 5 ? text(w[4]) : std::nullopt};
    return "";
  }
  if (verb == "systemalert") {
    if (n != 4) return usage(verb, "systemalert CLASS \"TITLE\"|nil \"MESSAGE\"|nil");
    if (!isClassName(w[1])) return "systemalert: " + quoted(w[1]) + " is not a class name";
    c.verb = ScriptVerb::SystemAlert;
    c.name = w[1];
    c.texts = {text(w[2]), text(w[3])};
    return "";
  }
  return std::nullopt;
}

}  // namespace tessra::device
