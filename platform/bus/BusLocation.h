#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace platform {

// Where a device's private bus lives in the device root. The folder
// var/run/tessra-bus holds the daemon's generated configuration, its socket
// ("bus.sock"), the address every process connects to ("address", one line
// in D-Bus address syntax) and the daemon's pid ("pid"). Processes always
// connect to the recorded address, so the daemon may listen on an abstract
// socket named after the root when the root's path is too long for a socket
// path. All functions are pure path arithmetic or small file reads.
class BusLocation {
 public:
  // var/run/tessra-bus inside `root`.
  static std::filesystem::path directory(const std::filesystem::path& root);
  // The daemon's configuration file.
  static std::filesystem::path configFile(const std::filesystem::path& root);
  // The socket file the daemon listens on when the path is short enough.
  static std::filesystem::path socketFile(const std::filesystem::path& root);
  // The file holding the address the running daemon listens on.
  static std::filesystem::path addressFile(const std::filesystem::path& root);
  // The file holding the running daemon's pid.
  static std::filesystem::path pidFile(const std::filesystem::path& root);

  // The address a daemon for `root` listens on: the socket file, or an
  // abstract socket named after the root when the file's path is too long.
  static std::string listenAddress(const std::filesystem::path& root);
  // The address recorded for `root`, or nothing when none is (or it is unreadable).
  static std::optional<std::string> readAddress(const std::filesystem::path& root);
  // Escapes `value` for a D-Bus address ("unix:path=<escaped>").
  static std::string escapeAddressValue(const std::string& value);
};

}  // namespace platform
