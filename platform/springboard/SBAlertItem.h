#pragma once

#include <optional>
#include <string>

#include "platform/runtime/Object.h"

namespace platform {

namespace springboard {
class SystemProfile;
}

// A system alert waiting to be shown or on screen (SBAlertItem): the title
// and message its alert controller shows, each possibly missing, and whether
// the alert items controller holds it active. Alerts of every kind are
// subclasses (SBUserNotificationAlert for the alerts apps raise; the device
// makes other subclasses by name for the system's own alerts).
class SBAlertItem : public Object {
 public:
  static constexpr const char* kClassName = "SBAlertItem";
  static constexpr const char* kUserNotificationAlertClassName = "SBUserNotificationAlert";

  const std::optional<std::string>& title() const { return title_; }
  const std::optional<std::string>& message() const { return message_; }
  void setTexts(std::optional<std::string> title, std::optional<std::string> message);
  bool isActive() const { return active_; }
  void setActive(bool active) { active_ = active; }

  // Registers SBAlertItem and SBUserNotificationAlert.
  static void registerClass(const springboard::SystemProfile& profile);

 private:
  std::optional<std::string> title_;
  std::optional<std::string> message_;
  bool active_ = false;
};

}  // namespace platform
