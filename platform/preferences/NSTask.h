#pragma once

#include <string>
#include <vector>

namespace platform {

// Starting a program of the device (NSTask launchedTaskWithLaunchPath:arguments:).
// The path is a device path ("/usr/bin/killall"), resolved inside the device
// root: nothing outside it is ever run. The program runs on its own and is not
// waited for (it is reaped by a short-lived intermediate process, so no zombie
// is left). Stateless.
class NSTask {
 public:
  // Starts `devicePath` with `arguments`; false (and a log line) when it cannot be started.
  static bool launchedTaskWithLaunchPath(const std::string& devicePath, const std::vector<std::string>& arguments);
};

}  // namespace platform
