#pragma once

#include <memory>
#include <string_view>

namespace platform {
class UIImage;
}

// The bundle images the panel shows (toggle icons, slider icons, the remove
// cross), kept once loaded: a panel opens with some thirty icons, and
// decoding them afresh each time would cost more than building the whole
// panel. Images are kept per device root and screen scale, so another device
// (or another test's root) loads its own; an image that is missing is asked
// for again next time. Process-wide; main thread only.
class PanelImages {
 public:
  PanelImages() = delete;

  // BundleHelper's template image `name`, loaded on first use; null when the bundle has none.
  static std::shared_ptr<platform::UIImage> named(std::string_view name);
};
