#pragma once

#include <memory>

#include "tools/SpringBoard/host/AlertScreen.h"

namespace platform {
class UIAlertController;
}

namespace tessra::device {

// The alerts of the home screen's UI toolkit: the alert on top is the last
// alert controller in the chain of presented controllers of the front-most
// visible window that has one (the plug-in shows its confirmation in a window
// of its own above the system's alert level). Tapping goes through the alert
// controller itself, as a finger on the button would. Main thread only.
class UIAlertScreen final : public AlertScreen {
 public:
  std::optional<VisibleAlert> visibleAlert() override;
  bool tapButton(const std::string& title) override;

 private:
  std::shared_ptr<platform::UIAlertController> topAlert() const;
};

}  // namespace tessra::device
