#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>

namespace tessra::device {

// Where a running SpringBoard host leaves its traces in the device root: its
// pid file (var/run/SpringBoard.pid, written once the host is up, removed when
// it leaves), its output (var/log/SpringBoard.log) and the plug-in's debug log
// (var/log/KLDebug/com.kelvane.tessra2.log, written by the debug client).
// Stateless.
class HostFiles {
 public:
  static std::filesystem::path pidFile(const std::filesystem::path& root);
  static std::filesystem::path logFile(const std::filesystem::path& root);
  static std::filesystem::path debugLogFile(const std::filesystem::path& root);

  // Records this process's pid; false when it could not be written.
  static bool writePid(const std::filesystem::path& root);
  // Removes the pid file when it still names this process.
  static void removePid(const std::filesystem::path& root);
  // The pid recorded for `root` when that process still runs, else nothing.
  static std::optional<pid_t> runningPid(const std::filesystem::path& root);
};

}  // namespace tessra::device
