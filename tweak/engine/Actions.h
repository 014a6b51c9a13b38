#pragma once

#include <array>
#include <string_view>

#include "tweak/catalogue/ToggleType.h"

// The behaviours enforced while an app is in front: no Notification Center,
// no Control Center, no home gesture (replaced by a button pattern), no
// Reachability, no Activator events, no notification banners and no system
// alerts (both optionally told in a toast). Each is a hook on the home
// screen's own question; every time the home screen asks, the hook asks the
// store whether the behaviour is stored as active (state 1) for the app
// named by currentForegroundAppBundleId, and nothing is cached. Installed
// once by the behaviours' start-up; process-wide; main thread only.
class Actions {
 public:
  Actions() = delete;

  // The alert items that are never hidden.
  static constexpr std::array<std::string_view, 1> kAlertWhitelist = {"SBUserNotificationAlert"};
  // How long the toasts telling of a hidden banner or alert stay.
  static constexpr double kToastDuration = 3.0;
  // How long after hiding an alert its toast comes.
  static constexpr double kAlertToastDelay = 1.0;

  // Whether behaviour `type` is stored as active for the app in front now. Never allocates.
  static bool isBehaviourActive(ToggleType type);
  // Installs every behaviour hook and adds tessra_powerButtonLongPressed to SpringBoard; a class
  // missing on the device (_LAActivator without Activator) leaves its hook out.
  static void installBehaviourHooks();
};
