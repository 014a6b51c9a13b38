#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/springboard/DeviceConfiguration.h"

namespace tessra::cli {

// Makes a new device root from the build (`tessra device create`, and the
// fresh device of every dry run): the phone's folders, the plug-in and the
// debug client's two libraries, the rendered bundle images, the device file
// (version and kind), the installed-apps file with the default apps plus any
// given ones, and the device's own usr/bin/killall. Refuses a folder that
// exists and is not empty, so that nothing there is overwritten.
class DeviceInstaller {
 public:
  struct Options {
    std::string systemVersion = "13.3";
    platform::springboard::DeviceKind kind = platform::springboard::DeviceKind::Phone;
    // Whether the Activator library is installed.
    bool activator = false;
    // Added to the default apps (an app already there is replaced).
    std::vector<platform::springboard::InstalledApp> extraApps;
  };

  // Creates the device at `root`; false after a message on `err`. Notes (a library not built)
  // go to `notes` when it is set.
  static bool create(const std::filesystem::path& root, const Options& options, std::ostream& err, std::ostream* notes);

  // The text of the device's usr/bin/killall for `root`, calling the `tessra` at `tessra`.
  static std::string killallScript(const std::filesystem::path& root, const std::filesystem::path& tessra);
};

}  // namespace tessra::cli
