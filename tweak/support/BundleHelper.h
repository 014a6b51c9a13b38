#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/NSBundle.h"

namespace platform {
class UIImage;
}

// Finds the plug-in's resource bundle and loads what it holds: images for
// the panel, the summary strip and the icon menu (white on transparent PNGs
// used as template images, so they take the tint of the view showing them),
// and string tables, through the platform's bundle. Class-level operations
// only; every call looks at the device's files afresh, so nothing is cached.
class BundleHelper {
 public:
  // The bundle's location on the device.
  static constexpr std::string_view kBundlePath = "/Library/Application Support/Tessra2Bundle.bundle";

  // A new bundle object for kBundlePath, or nothing when the device holds no folder there.
  static std::optional<platform::NSBundle> getBundle();
  // The image "<name>.png" of the bundle in template rendering mode, or null when it has no such image.
  // The variant for the screen's scale ("<name>@2x.png", "<name>@3x.png") is preferred when present.
  static std::shared_ptr<platform::UIImage> getImageWithName(std::string_view name);
  // The bundle's localized string for `key`, or the key itself when there is none.
  static std::string getLocalizedStringFor(std::string_view key);
};
