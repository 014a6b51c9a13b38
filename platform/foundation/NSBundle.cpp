#include "platform/foundation/NSBundle.h"

#include <algorithm>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/NSLocale.h"
#include "platform/foundation/PropertyListFile.h"

namespace platform {
namespace {

// A resource name must stay inside the bundle: no folders, no "." or "..".
bool isPlainName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
         name.find('\0') == std::string_view::npos;
}

// Whether the real location of `path` (links followed) lies inside the device root.
bool staysInsideRoot(const std::filesystem::path& path) {
  std::error_code error;
  const std::filesystem::path root = std::filesystem::weakly_canonical(DevicePaths::root(), error);
  if (error) return false;
  const std::filesystem::path real = std::filesystem::weakly_canonical(path, error);
  if (error) return false;
  auto [rootEnd, realIt] = std::mismatch(root.begin(), root.end(), real.begin(), real.end());
  return rootEnd == root.end();
}

}  // namespace

std::optional<NSBundle> NSBundle::bundleWithPath(std::string_view devicePath) {
  auto folder = DevicePaths::resolve(devicePath);
  if (!folder) return std::nullopt;
  std::error_code error;
  if (!std::filesystem::is_directory(*folder, error) || !staysInsideRoot(*folder)) return std::nullopt;
  return NSBundle(*folder);
}

bool NSBundle::isFileInsideDevice(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error) && staysInsideRoot(path);
}

std::optional<std::filesystem::path> NSBundle::pathForResource(std::string_view name, std::string_view type) const {
  if (!isPlainName(name) || (!type.empty() && !isPlainName(type))) return std::nullopt;
  std::string file(name);
  if (!type.empty()) file += "." + std::string(type);
  std::filesystem::path path = folder_ / file;
  if (!isFileInsideDevice(path)) return std::nullopt;
  return path;
}

std::vector<std::string> NSBundle::preferredLocalizations() {
  std::vector<std::string> order;
  const NSLocale locale = NSLocale::currentLocale();
  const std::string identifier = locale.localeIdentifier().substr(0, locale.localeIdentifier().find('@'));
  if (isPlainName(identifier)) order.push_back(identifier);
  const std::string language = locale.languageCode();
  if (isPlainName(language) && language != identifier) order.push_back(language);
  order.push_back("en");
  order.push_back("Base");
  return order;
}

std::string NSBundle::localizedStringForKey(std::string_view key, std::string_view value,
                                            std::string_view table) const {
  if (!isPlainName(table)) return std::string(value);
  const std::string tableFile = std::string(table) + ".strings";
  std::optional<std::filesystem::path> tablePath;
  for (const auto& localization : preferredLocalizations()) {
    std::filesystem::path candidate = folder_ / (localization + ".lproj") / tableFile;
    if (isFileInsideDevice(candidate)) {
      tablePath = candidate;
      break;
    }
  }
  if (!tablePath && isFileInsideDevice(folder_ / tableFile)) tablePath = folder_ / tableFile;
  if (!tablePath) return std::string(value);
  // A table that cannot be read, or that is not a dictionary of strings, gives `value`.
  auto result = plist::PropertyListFile::read(*tablePath);
  if (!result.ok() || !result.value.isDictionary()) return std::string(value);
  const plist::Value* found = result.value.find(key);
  if (!found || !found->isString()) return std::string(value);
  return found->string();
}

plist::Dictionary NSBundle::infoDictionary() const {
  const std::filesystem::path path = folder_ / "Info.plist";
  if (!isFileInsideDevice(path)) return {};
  auto result = plist::PropertyListFile::read(path);
  if (!result.ok() || !result.value.isDictionary()) return {};
  return result.value.dictionary();
}

plist::Value NSBundle::objectForInfoDictionaryKey(std::string_view key) const {
  const plist::Dictionary info = infoDictionary();
  const plist::Value* value = info.find(key);
  return value ? *value : plist::Value();
}

}  // namespace platform
