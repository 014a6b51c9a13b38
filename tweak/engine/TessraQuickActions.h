#pragma once

#include <string>

#include "platform/runtime/Object.h"

// The "Tessra" item of every app icon's quick-action menu: the hooks that
// add it to the menu's items (from 13.0 on the icon view, below 13.0 on the
// force-touch data provider), that open the panel when it is activated, and
// that give its row the Tessra icon and, 0.1 s later, a strip of the app's
// customized things drawn over the room its subtitle of spaces reserved —
// white over a menu drawn dark (the system's dark mode from 13.0, or a
// dark-mode add-on recognised by its traces), black otherwise. Remembers the
// icon whose menu was last built. Process-wide; main thread only.
class TessraQuickActions {
 public:
  static constexpr const char* kItemType = "CustomTessraItem";
  static constexpr const char* kItemTitle = "Tessra";
  static constexpr const char* kItemSubtitleWithoutThings = "Customize...";
  // Spaces that reserve the room of the customized-things strip.
  static constexpr size_t kItemSubtitleSpaces = 69;
  static constexpr double kDecorationDelay = 0.1;
  static constexpr double kLabelsLiftDelay = 0.01;

  TessraQuickActions() = delete;

  // Installs the hooks and added methods of the system version (13.0 on, or below).
  static void install();
  // The bundle identifier of the icon whose menu was last built.
  static const std::string& currentForceTouchedAppBundleId();
  // Which dark-mode add-on the last dark-style check recognised ("dune", "noctis", "carbon"), or empty.
  static const std::string& darkModeTweakName();
  // Whether the row `rowView` is drawn in a dark style (also sets darkModeTweakName).
  static bool isDarkStyle(platform::id rowView);
  // Adds the customized-things strip to the row `rowView` (unless it has one or there is nothing to show).
  static void decorateRow(platform::id rowView);
};
