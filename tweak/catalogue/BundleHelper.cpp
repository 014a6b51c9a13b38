#include "tweak/catalogue/BundleHelper.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UIScreen.h"
#include "tweak/catalogue/LocalizationHelper.h"

namespace {

constexpr std::string_view kStringTable = "Localizable.strings";

// A resource name must stay inside the bundle: no folders, no "." or "..".
bool isPlainName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
         name.find('\0') == std::string_view::npos;
}

bool isFile(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

// The localization folders to try, best first: the current locale ("de_DE"),
// its language ("de"), then English and the base localization.
std::vector<std::string> localizationOrder() {
  std::vector<std::string> order;
  const std::string locale = LocalizationHelper::currentLocaleIdentifier();
  if (!locale.empty()) {
    order.push_back(locale);
    const auto cut = locale.find_first_of("_-");
    if (cut != std::string::npos) order.push_back(locale.substr(0, cut));
  }
  order.push_back("en");
  order.push_back("Base");
  return order;
}

}  // namespace

std::optional<std::filesystem::path> BundleHelper::Bundle::pathForResource(std::string_view name,
                                                                          std::string_view type) const {
  if (!isPlainName(name) || (!type.empty() && !isPlainName(type))) return std::nullopt;
  std::string file(name);
  if (!type.empty()) file += "." + std::string(type);
  std::filesystem::path path = folder_ / file;
  if (!isFile(path)) return std::nullopt;
  return path;
}

std::string BundleHelper::Bundle::localizedStringForKey(std::string_view key, std::string_view fallback) const {
  std::optional<std::filesystem::path> table;
  for (const auto& localization : localizationOrder()) {
    if (!isPlainName(localization)) continue;
    std::filesystem::path candidate = folder_ / (localization + ".lproj") / kStringTable;
    if (isFile(candidate)) {
      table = candidate;
      break;
    }
  }
  if (!table && isFile(folder_ / kStringTable)) table = folder_ / kStringTable;
  if (!table) return std::string(fallback);
  // A table that cannot be read, or that is not a dictionary of strings, gives the fallback.
  auto result = platform::plist::PropertyListFile::read(*table);
  if (!result.ok() || !result.value.isDictionary()) return std::string(fallback);
  const platform::plist::Value* value = result.value.find(key);
  if (!value || !value->isString()) return std::string(fallback);
  return value->string();
}

std::optional<BundleHelper::Bundle> BundleHelper::getBundle() {
  auto folder = platform::DevicePaths::resolve(kBundlePath);
  if (!folder) return std::nullopt;
  std::error_code error;
  if (!std::filesystem::is_directory(*folder, error)) return std::nullopt;
  return Bundle(*folder);
}

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
