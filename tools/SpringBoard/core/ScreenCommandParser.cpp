#include "tools/SpringBoard/core/ScreenCommandParser.h"

#include <charconv>
#include <cmath>

#include "tools/SpringBoard/core/ScriptParser.h"

namespace tessra::device {
namespace {

std::optional<double> number(const std::string& word) {
  double value = 0;
  const char* end = word.data() + word.size();
  auto [ptr, ec] = std::from_chars(word.data(), end, value);
  if (ec != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::string quoted(const std::string& word) { return "'" + word + "'"; }

// Reads the point at words[i], words[i + 1] into x, y; the error, or empty.
std::string point(const std::vector<std::string>& w, size_t i, const std::string& verb, double& x, double& y) {
  auto px = number(w[i]), py = number(w[i + 1]);
  if (!px || !py) return verb + ": expected coordinates in points, got " + quoted(w[i]) + " " + quoted(w[i + 1]);
  if (*px < 0 || *py < 0 || *px >= ScreenCommandParser::kMaxWidth || *py >= ScreenCommandParser::kMaxHeight)
    return verb + ": (" + w[i] + ", " + w[i + 1] + ") is outside every screen (at most 1024 x 1366 points)";
  x = *px;
  y = *py;
  return {};
}

std::string seconds(const std::string& word, const std::string& verb, double minimum, double& out) {
  auto value = number(word);
  if (!value || *value < minimum || *value > 60)
    return verb + ": expected a number of seconds from " + (minimum > 0 ? "0.05" : "0") + " to 60, got " + quoted(word);
  out = *value;
  return {};
}

std::string parseTouch(const std::vector<std::string>& w, ScriptCommand& c) {
  const std::string& verb = w[0];
  const size_t n = w.size();
  if (verb == "tap" || verb == "press") {
    if (n == 3 && w[1] == "icon") {
      if (!ScriptParser::isBundleIdentifier(w[2]))
        return verb + " icon: " + quoted(w[2]) + " is not a bundle identifier";
      c.verb = verb == "tap" ? ScriptVerb::TapIcon : ScriptVerb::PressIcon;
      c.name = w[2];
      return {};
    }
    if (verb == "press") return "press: expected 'press icon BUNDLE'";
    if (n == 3) {
      c.verb = ScriptVerb::TapPoint;
      return point(w, 1, verb, c.points.x1, c.points.y1);
    }
    if (n == 2 && w[1] != "icon" && !w[1].empty()) {
      c.verb = ScriptVerb::TapText;
      c.name = w[1];
      return {};
    }
    return "tap: expected 'tap X Y', 'tap icon BUNDLE' or 'tap \"TEXT\"'";
  }
  if (verb == "longpress") {
    if (n != 3 && n != 4) return "longpress: expected 'longpress X Y [SECONDS]'";
    c.verb = ScriptVerb::LongPress;
    c.number = 1.0;
    std::string error = point(w, 1, verb, c.points.x1, c.points.y1);
    if (error.empty() && n == 4) error = seconds(w[3], verb, 0, c.number);
    return error;
  }
  // drag
  if (n != 5 && n != 6) return "drag: expected 'drag X1 Y1 X2 Y2 [SECONDS]'";
  c.verb = ScriptVerb::Drag;
  c.number = 0.3;
  std::string error = point(w, 1, verb, c.points.x1, c.points.y1);
  if (error.empty()) error = point(w, 3, verb, c.points.x2, c.points.y2);
  if (error.empty() && n == 6) error = seconds(w[5], verb, 0.05, c.number);
  return error;
}

std::string parseSnapshot(const std::vector<std::string>& w, ScriptCommand& c) {
  const size_t n = w.size();
  if (n != 2 && n != 4) return "snapshot: expected 'snapshot FILE.png [--scale N]'";
  const std::string& file = w[1];
  if (file.size() < 5 || file.compare(file.size() - 4, 4, ".png") != 0)
    return "snapshot: the file name must end in .png, got " + quoted(file);
  c.verb = ScriptVerb::Snapshot;
  c.name = file;
  c.number = 0;  // the device's own scale
  if (n == 4) {
    if (w[2] != "--scale" || (w[3] != "1" && w[3] != "2" && w[3] != "3"))
      return "snapshot: expected '--scale 1', '--scale 2' or '--scale 3' after the file name";
    c.number = std::stod(w[3]);
  }
  return {};
}

std::string parseExpect(const std::vector<std::string>& w, ScriptCommand& c) {
  const size_t n = w.size();
  if (w[1] == "text" || w[1] == "no") {
    const bool no = w[1] == "no";
    if ((no && (n != 4 || w[2] != "text")) || (!no && n != 3))
      return "expect: expected 'expect text \"TEXT\"' or 'expect no text \"TEXT\"'";
    c.verb = ScriptVerb::ExpectText;
    c.on = no;
    c.name = w.back();
    if (c.name.empty()) return "expect: the text must not be empty";
    return {};
  }
  // menu
  if (n < 3) return "expect menu: expected 'expect menu \"TITLE\"...' or 'expect menu none'";
  c.verb = ScriptVerb::ExpectMenu;
  c.on = n == 3 && w[2] == "none";
  if (!c.on) c.titles.assign(w.begin() + 2, w.end());
  return {};
}

}  // namespace

std::optional<std::string> ScreenCommandParser::parse(const std::vector<std::string>& w, ScriptCommand& c) {
  if (w.empty()) return std::nullopt;
  const std::string& verb = w[0];
  if (verb == "tap" || verb == "press" || verb == "longpress" || verb == "drag") return parseTouch(w, c);
  if (verb == "swipe") {
    if (w.size() != 2 || (w[1] != "home" && w[1] != "notifications" && w[1] != "controlcenter"))
      return std::string("swipe: expected 'swipe home', 'swipe notifications' or 'swipe controlcenter'");
    c.verb = ScriptVerb::Swipe;
    c.name = w[1];
    return std::string();
  }
  if (verb == "snapshot") return parseSnapshot(w, c);
  if (verb == "expect" && w.size() >= 2 && (w[1] == "text" || w[1] == "no" || w[1] == "menu")) return parseExpect(w, c);
  return std::nullopt;
}

std::string ScreenCommandParser::snapshotLine(const std::string& file, double scale) {
  std::string escaped;
  for (char ch : file) {
    if (ch == '"' || ch == '\\') escaped += '\\';
    escaped += ch;
  }
  std::string line = "snapshot \"" + escaped + "\"";
  if (scale > 0) line += " --scale " + std::to_string(static_cast<int>(scale));
  return line;
}

}  // namespace tessra::device
