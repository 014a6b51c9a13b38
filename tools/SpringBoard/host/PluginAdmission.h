#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tessra::device {

// The host's rule for the libraries of the device's plug-in folder, applied
// before a library is loaded (its load-time routines run as soon as it is):
// a library that names a version of the home-screen interface must name this
// host's, and Tessra2.dylib must name one. Other makers' libraries name none
// and load as they always did. Stateless.
class PluginAdmission {
 public:
  // Why `file` may not load, or nothing when it may.
  static std::optional<std::string> refusal(const std::filesystem::path& file);
};

}  // namespace tessra::device
