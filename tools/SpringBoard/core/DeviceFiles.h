#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/springboard/DeviceConfiguration.h"

namespace tessra::device {

// The files of a device root that describe the device itself, as opposed to
// what runs on it: the device file (system version and kind) and the
// installed-apps file. Both are XML property lists in var/mobile/Library/tessra/:
//
//   device.plist  { "systemVersion": "13.3", "kind": "phone" | "tablet", "activator": true }
//                 ("activator", whether Activator is installed, may be left out: absent)
//   apps.plist    [ { "bundleIdentifier": "com.apple.Maps", "displayName": "Maps",
//                     "type": "system" | "user", "icon": "AppIcon60x60" }, ... ]
//
// `tessra device create` writes them; the SpringBoard host and the settings
// page read them. Reading checks every field and says what is wrong, so a
// damaged file is refused with a message rather than half-used. Stateless.
class DeviceFiles {
 public:
  struct Loaded {
    bool ok = false;
    std::string systemVersion;
    platform::springboard::DeviceKind kind = platform::springboard::DeviceKind::Phone;
    bool activator = false;
    std::vector<platform::springboard::InstalledApp> installedApps;
    std::string error;  // when not ok: a sentence for the user
  };

  // var/mobile/Library/tessra/device.plist in `root`.
  static std::filesystem::path configurationFile(const std::filesystem::path& root);
  // var/mobile/Library/tessra/apps.plist in `root`.
  static std::filesystem::path appsFile(const std::filesystem::path& root);

  // Reads both files of `root`.
  static Loaded load(const std::filesystem::path& root);
  // Writes the device file; false with `error` set when it could not be written.
  static bool writeConfiguration(const std::filesystem::path& root, const std::string& systemVersion,
                                 platform::springboard::DeviceKind kind, std::string* error = nullptr,
                                 bool activator = false);
  // Writes the installed-apps file (replacing it atomically).
  static bool writeApps(const std::filesystem::path& root, const std::vector<platform::springboard::InstalledApp>& apps,
                        std::string* error = nullptr);

  // The apps of a new device: system apps (Siri, Spotlight, Settings, Maps, ...), App Store apps
  // (Waze, Google Maps, Spotify, ...) and a few helper apps that the settings page hides.
  static std::vector<platform::springboard::InstalledApp> defaultApps();
};

}  // namespace tessra::device
