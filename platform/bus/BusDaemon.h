#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/foundation/Clock.h"

namespace platform {

// The device's private bus daemon: Debian's dbus-daemon, run detached with a
// configuration generated into the device root (listening on the socket of
// BusLocation, plain session-bus policy, no service activation). start()
// records its pid and address in the root so that the hosts and the `tessra`
// command of any later process find it; stop() ends it. Used by
// `tessra device start` and `stop`. Stateless: everything is in the root.
class BusDaemon {
 public:
  struct Started {
    bool ok = false;
    bool alreadyRunning = false;  // a daemon for this root was running already; nothing was started
    pid_t pid = 0;
    std::string address;
    std::string error;  // when not ok: a sentence for the user
  };

  // Starts the daemon for `root` unless one runs; returns once it listens (at most `timeout`).
  static Started start(const std::filesystem::path& root, Duration timeout = seconds(10));
  // Stops the daemon of `root` (SIGTERM, then SIGKILL after `timeout`); true when none runs afterwards.
  static bool stop(const std::filesystem::path& root, Duration timeout = seconds(5));
  // The pid of the daemon running for `root`, or nothing.
  static std::optional<pid_t> runningPid(const std::filesystem::path& root);
  // Whether a daemon runs for `root`.
  static bool isRunning(const std::filesystem::path& root) { return runningPid(root).has_value(); }
  // The configuration file's text for `root`.
  static std::string configText(const std::filesystem::path& root);
};

}  // namespace platform
