#include "tweak/panel/PanelImages.h"

#include <map>
#include <string>

#include "platform/foundation/DevicePaths.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UIScreen.h"
#include "tweak/catalogue/BundleHelper.h"

std::shared_ptr<platform::UIImage> PanelImages::named(std::string_view name) {
  static std::map<std::string, std::shared_ptr<platform::UIImage>, std::less<>> cache;
  std::string key = platform::DevicePaths::root().string();
  key += '\n';
  key += std::to_string(platform::UIScreen::mainScreen().scale());
  key += '\n';
  key += name;
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  auto image = BundleHelper::getImageWithName(name);
  if (image) cache.emplace(std::move(key), image);
  return image;
}
