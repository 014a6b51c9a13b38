#pragma once

#include <sys/types.h>

#include <filesystem>
#include <iosfwd>

#include "platform/foundation/Clock.h"

namespace tessra::cli {

// Starts and stops a device's processes: the device bus (BusDaemon), then
// the SpringBoard host, run detached from the terminal with its output in
// var/log/SpringBoard.log, and considered up once its control channel
// answers. Stopping ends SpringBoard (SIGTERM, then SIGKILL when it does not
// leave in time), then the bus. Every wait is bounded. Messages go to the
// given streams; the functions answer whether they succeeded.
class DeviceLauncher {
 public:
  // How long a starting SpringBoard may take to answer, and a stopping one to leave.
  static constexpr platform::Duration kStartTimeout = platform::seconds(20);
  static constexpr platform::Duration kStopTimeout = platform::seconds(10);

  // Starts the bus and SpringBoard (each only when not running). When only the bus had died, it is started again
  // and the running SpringBoard awaited until it answers over it; the output says what ran and what was started.
  static bool start(const std::filesystem::path& root, std::ostream& out, std::ostream& err);
  // Stops SpringBoard and the bus.
  static bool stop(const std::filesystem::path& root, std::ostream& out, std::ostream& err);
  // Stops and starts SpringBoard alone; the bus stays.
  static bool restartSpringBoard(const std::filesystem::path& root, std::ostream& out, std::ostream& err);

 private:
  static bool startSpringBoard(const std::filesystem::path& root, std::ostream& out, std::ostream& err);
  static bool stopSpringBoard(const std::filesystem::path& root, std::ostream& err);
  // Runs SpringBoard detached; its pid, or -1 after a message.
  static pid_t spawnDetached(const std::filesystem::path& executable, const std::filesystem::path& root,
                             std::ostream& err);
};

}  // namespace tessra::cli
