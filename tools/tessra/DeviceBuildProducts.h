#pragma once

#include <filesystem>
#include <optional>

namespace tessra::cli {

// Where the build put what a device is made of, found from the running
// `tessra` executable (build/bin/tessra): the SpringBoard host beside it in
// bin/, the device libraries (Tessra2.dylib, KLDebugClient.dylib,
// KLDebugServer.dylib) in lib/, and the rendered bundle images in
// device-files/. Stateless.
class DeviceBuildProducts {
 public:
  // The folder holding the running executable.
  static std::filesystem::path binDirectory();
  // The build's library folder.
  static std::filesystem::path libDirectory();
  // The SpringBoard host executable, or nothing when it was not built.
  static std::optional<std::filesystem::path> springBoard();
  // The device library `fileName` ("Tessra2.dylib"), or nothing when it was not built.
  static std::optional<std::filesystem::path> library(const std::string& fileName);
  // The rendered device files, or nothing when none were rendered.
  static std::optional<std::filesystem::path> deviceFiles();
};

}  // namespace tessra::cli
