#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/ui/UIColor.h"

namespace platform {

class UIImage;

namespace springboard {

// How an app's icon looks when it has no picture of its own: a colour
// derived from the bundle identifier (the same app always gets the same
// colour), a glyph of the Material Design Icons font for the apps the device
// knows, else the first letter of the display name. Glyph images are drawn
// with Pango once per glyph, size and scale, and kept. Main thread.
class AppIconStyle {
 public:
  // The icon's colour for `bundleIdentifier`: a saturated, fairly dark hue.
  static UIColor colorFor(std::string_view bundleIdentifier);
  // The icon font's character for the app, or 0 when it has none.
  static char32_t glyphFor(std::string_view bundleIdentifier);
  // The text drawn on an icon without glyph: the first character of the name, upper case when ASCII.
  static std::string initialOf(std::string_view displayName);
  // The glyph `codepoint` as a white template image of `points` square at `scale` (null without the font).
  static std::shared_ptr<UIImage> glyphImage(char32_t codepoint, double points, double scale);
};

}  // namespace springboard
}  // namespace platform
