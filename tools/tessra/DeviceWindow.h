#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

#include "platform/bus/DisplayChannel.h"

union SDL_Event;

namespace tessra::cli {

// The window of `tessra device show`: an SDL window that shows a running
// device's screen as its SpringBoard draws it and sends the mouse and keys
// back. Frames arrive over the display channel into a shared buffer; only the
// rectangles that changed are copied into the window's texture, and the
// window waits for events (frames, input) without polling. The mouse is a
// finger (press, move, release; holding it still is a long press). Keys: H
// home, L lock or unlock, S Siri, F Spotlight, arrow up and down the volume
// buttons (with Shift, Ctrl or Alt: both at once), Space the side button,
// each pressed and released as the key is. Closing the window leaves the
// device running. One per process.
class DeviceWindow {
 public:
  DeviceWindow(std::filesystem::path root, double scale) : root_(std::move(root)), scale_(scale) {}

  // Shows the window until it is closed or the device stops; the exit status, after a message on `err` if not 0.
  int run(std::ostream& err);

  // The hardware key of a keyboard key (SDL key code and modifiers), if it is one.
  static std::optional<platform::DisplayKey> keyFor(int32_t keycode, uint16_t modifiers);
  // Why no window can be opened in this environment, or "" when a display is named.
  static std::string missingDisplay();

 private:
  std::filesystem::path root_;
  double scale_;
};

}  // namespace tessra::cli
