#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tessra::device {

// An alert on screen, as a person reads it.
struct VisibleAlert {
  std::string title;
  std::string message;
  std::vector<std::string> buttons;  // in the order shown
};

// What a scenario needs of the screen's alerts: the one on top, and tapping
// one of its buttons. The host's implementation looks through the UI
// toolkit's windows; tests may give their own.
class AlertScreen {
 public:
  virtual ~AlertScreen() = default;
  // The alert on top of everything, or nothing when none is shown.
  virtual std::optional<VisibleAlert> visibleAlert() = 0;
  // Taps the button titled `title` of the alert on top; false when there is no such button.
  virtual bool tapButton(const std::string& title) = 0;
};

}  // namespace tessra::device
