#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/SpringBoard/core/ScriptCommand.h"

namespace tessra::device {

// Reads the script lines that touch and look at the device's screen:
//   tap X Y · longpress X Y [SECONDS] · drag X1 Y1 X2 Y2 [SECONDS] · tap icon BUNDLE ·
//   press icon BUNDLE · tap "TEXT" · swipe home|notifications|controlcenter ·
//   snapshot FILE.png [--scale N] · expect text "TEXT" · expect no text "TEXT" ·
//   expect menu "TITLE"... · expect menu none
// Coordinates are screen points from 0 to the largest screen's size (1024 × 1366; the device
// checks its own size when the line runs). A long press lasts 1 s unless told (0 to 60 s), a
// drag 0.3 s (0.05 to 60 s). Stateless.
class ScreenCommandParser {
 public:
  // The largest screen of any device, in points.
  static constexpr double kMaxWidth = 1024;
  static constexpr double kMaxHeight = 1366;

  // Parses `words` when they are a screen command: nothing when they are not, else the
  // error (empty when `command` was filled in).
  static std::optional<std::string> parse(const std::vector<std::string>& words, ScriptCommand& command);
  // Writes a line that parses back into `command` (its file name replaced by `file`) for a snapshot.
  static std::string snapshotLine(const std::string& file, double scale);
};

}  // namespace tessra::device
