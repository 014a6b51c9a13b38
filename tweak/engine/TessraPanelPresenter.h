#pragma once

#include <memory>
#include <string>

#include "platform/runtime/Object.h"
#include "platform/ui/Geometry.h"

class Tessra2ViewController;

// Opens the customization panel over the home screen (from an icon's
// quick-action item) or over whatever is in front (from the settings
// bundle's request), and owns what the panel needs of the home screen: the
// first status bar and iPad dock that laid out (remembered for the life of
// the process), their hiding above and below the screen with 0.15 s
// animations, and the closing of the panel when the home screen's controller
// disappears or appears. Holds the one panel being shown until its
// dismissal. Process-wide; main thread only.
class TessraPanelPresenter {
 public:
  static constexpr double kBarAnimationDuration = 0.15;

  TessraPanelPresenter() = delete;

  // Hooks the status bars and the floating dock (remembering them) and adds their hide methods.
  static void installStatusBarAndDockHooks();
  // Hooks the home screen's controller so that its disappearing or appearing closes the panel.
  static void installIconControllerHooks();

  // Opens the panel for `bundleId`; `fromSettings` presents it over the top-most controller, in the dark style.
  static void openPanel(const std::string& bundleId, bool fromSettings);
  // The panel being shown, or null.
  static const std::shared_ptr<Tessra2ViewController>& currentPanel();
  // The remembered status bar and dock (null until one laid out).
  static platform::id lastStatusBar();
  static platform::id lastIpadDock();
};
