#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The device root: the folder that stands for the phone's file system. Every
// absolute path the system names ("/Library/...", "/var/mobile/...") is
// resolved inside it; nothing outside it is read, written or executed.
class DevicePaths {
 public:
  // Sets the device root for this process.
  static void setRoot(std::filesystem::path root);
  // The device root (the TESSRA_DEVICE_ROOT environment variable until set).
  static std::filesystem::path root();
  // The host path of a device path, or nothing when it is relative or would leave the root ("..").
  static std::optional<std::filesystem::path> resolve(std::string_view devicePath);
  // The file of a preference domain: var/mobile/Library/Preferences/<domain>.plist.
  static std::filesystem::path preferencesFile(std::string_view domain);
};

}  // namespace platform
