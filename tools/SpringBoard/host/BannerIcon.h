#pragma once

#include <memory>

namespace platform {
class UIImage;
}
namespace platform::springboard {
struct InstalledApp;
}

namespace tessra::device {

// The icon a notification banner carries: the app's home-screen tile (its
// colour with its glyph, or its initial) drawn as an image at the main
// screen's scale. Stateless; main thread.
class BannerIcon {
 public:
  // The side of the icon in points.
  static constexpr double kSide = 40;

  // The icon of `app`; null when it cannot be drawn.
  static std::shared_ptr<platform::UIImage> imageFor(const platform::springboard::InstalledApp& app);
};

}  // namespace tessra::device
