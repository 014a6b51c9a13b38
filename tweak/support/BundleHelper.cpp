#include "tweak/support/BundleHelper.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/UIImage.h"
#include "platform/ui/UIScreen.h"

std::optional<platform::NSBundle> BundleHelper::getBundle() { return platform::NSBundle::bundleWithPath(kBundlePath); }

std::shared_ptr<platform::UIImage> BundleHelper::getImageWithName(std::string_view name) {
  auto bundle = getBundle();
  if (!bundle) return nullptr;
  auto path = bundle->pathForResource(name, "png");
  if (!path) return nullptr;
  // As the platform's image loading does: the variant drawn for the screen's
  // scale first, then the finer ones down to the plain file.
  const int screenScale = std::clamp(static_cast<int>(std::lround(platform::UIScreen::mainScreen().scale())), 1, 3);
  std::shared_ptr<platform::UIImage> image;
  for (int scale = screenScale; scale >= 2 && !image; --scale) {
    auto variant = bundle->pathForResource(std::string(name) + "@" + std::to_string(scale) + "x", "png");
    if (variant) image = platform::UIImage::imageWithContentsOfFile(variant->string());
  }
  if (!image) image = platform::UIImage::imageWithContentsOfFile(path->string());
  if (!image) return nullptr;
  return image->imageWithRenderingMode(platform::UIImageRenderingMode::AlwaysTemplate);
}

std::string BundleHelper::getLocalizedStringFor(std::string_view key) {
  auto bundle = getBundle();
  if (!bundle) return std::string(key);
  return bundle->localizedStringForKey(key, key);
}
