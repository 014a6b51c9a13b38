#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/PropertyList.h"

namespace platform {

// A bundle: a folder of resources on the device (images, string tables, an
// "Info.plist"), named by its device path and resolved inside the device
// root. A value; every lookup reads the device's files afresh, so nothing is
// cached. Resource names are plain file names, and nothing a bundle holds is
// read through a link that leaves the device root.
class NSBundle {
 public:
  // The bundle at `devicePath` ("/Library/..."), or nothing when the device holds no folder there.
  static std::optional<NSBundle> bundleWithPath(std::string_view devicePath);

  // The bundle's folder on the host.
  const std::filesystem::path& bundlePath() const { return folder_; }
  // The file "<name>.<type>" in the bundle (type may be empty), or nothing when it is missing or the
  // name is not a plain file name.
  std::optional<std::filesystem::path> pathForResource(std::string_view name, std::string_view type) const;
  // The localizations to look in, best first: the current locale ("de_DE"), its language ("de"), "en", "Base".
  static std::vector<std::string> preferredLocalizations();
  // The value for `key` in string table `table` (".strings" added) of the best localization that has the
  // table, or of the bundle's top folder when none does; `value` when there is no such string.
  std::string localizedStringForKey(std::string_view key, std::string_view value,
                                    std::string_view table = "Localizable") const;
  // The bundle's "Info.plist" as a dictionary; empty when it is missing, unreadable or not a dictionary.
  plist::Dictionary infoDictionary() const;
  // The Info.plist value for `key`, or null.
  plist::Value objectForInfoDictionaryKey(std::string_view key) const;

 private:
  explicit NSBundle(std::filesystem::path folder) : folder_(std::move(folder)) {}
  // Whether `path` is a regular file whose real location stays inside the device root.
  static bool isFileInsideDevice(const std::filesystem::path& path);

  std::filesystem::path folder_;
};

}  // namespace platform
