#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/springboard/NotificationBanners.h"

namespace platform::springboard {

// System alerts raised on the device: an alert item of the named class
// (SBUserNotificationAlert, or any other alert-item class name, which the
// device makes as a plain subclass of SBAlertItem on first use) with its
// title and message, activated through the alert items controller, which
// shows it through its alert controller's viewWillAppear:. Stateless; the
// alerts live in the device's alert items controller. Main thread only.
class SystemAlerts {
 public:
  SystemAlerts() = delete;

  // Raises an alert; answers an empty string, or why nothing was raised (a class name that is
  // not an identifier, or names a class that is not an alert item).
  static std::string raise(std::string_view className, std::optional<std::string> title,
                           std::optional<std::string> message);
  // Whether the alert raised last is on screen (appeared, not hidden, its item still active).
  static PresentationState lastAlert();
  // Whether `name` can name a class: letters, digits and '_', not starting with a digit.
  static bool isClassName(std::string_view name);
};

}  // namespace platform::springboard
