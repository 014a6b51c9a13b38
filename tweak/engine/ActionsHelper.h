#pragma once

#include <array>
#include <string_view>

#include "platform/runtime/TypeEncoding.h"
#include "tweak/vocabulary/ToggleType.h"

// The behaviours that are done once when an app comes to the front rather
// than enforced while it stays there: hide the home bar grabber, kill every
// other running app, play and pause music. The engine hands every behaviour
// stored for the arriving app to performAction(); the rule behaviours are
// enforced elsewhere and do nothing here. No state; class operations only,
// on the main thread.
class ActionsHelper {
 public:
  ActionsHelper() = delete;

  // The switcher controller class the kill-all method is added to, and the method's name and types.
  static constexpr std::string_view kSwitcherClassName = "SBMainSwitcherViewController";
  static constexpr std::string_view kClearAllAppsSelector = "tessra_clearAllApps";
  static constexpr std::string_view kClearAllAppsTypes = "v@:";
  // The navigation apps that "Kill All Running Apps" spares when asked to.
  static constexpr std::array<std::string_view, 3> kNavigationApps = {"com.apple.Maps", "com.google.Maps",
                                                                      "com.waze.iphone"};
  // How long the home bar grabber takes to fade out.
  static constexpr double kHomeBarFadeDuration = 0.2;

  // Does the one-off action of `type` (26 to 29); any other type does nothing.
  static void performAction(ToggleType type);

  // Fades the home bar grabber out over 0.2 s; nothing brings it back.
  static void hideCurrentHomeBar();
  // Sends the kill-all method to the shared switcher controller; nothing when the class is absent.
  static void clearAppSwitcher();
  // Sends the media remote command "play".
  static void playMusic();
  // Sends the media remote command "pause".
  static void pauseMusic();

  // Adds tessra_clearAllApps ("v@:") to the switcher controller class of the
  // device in force. Called by the behaviours' start-up; answers whether it was added.
  static bool installClearAllAppsMethod();
};

// The kill-all method added to the switcher controller: quits the app of
// every switcher layout except the app in front and, when the settings ask
// for it, the now-playing app and the navigation apps.
void tessra_clearAllApps(platform::id self, platform::SEL _cmd);
