#include "platform/preferences/NSTask.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/Log.h"

namespace platform {

bool NSTask::launchedTaskWithLaunchPath(const std::string& devicePath, const std::vector<std::string>& arguments) {
  auto path = DevicePaths::resolve(devicePath);
  if (!path) {
    Log::write("NSTask: " + devicePath + " is not a path inside the device");
    return false;
  }
  // A link could lead out of the device: only a regular file that is itself inside the root runs.
  std::error_code ec;
  auto real = std::filesystem::canonical(*path, ec);
  auto root = std::filesystem::canonical(DevicePaths::root(), ec);
  struct stat info {};
  if (ec || real.string().rfind(root.string() + "/", 0) != 0 || ::lstat(path->c_str(), &info) != 0 ||
      !S_ISREG(info.st_mode) || ::access(path->c_str(), X_OK) != 0) {
    Log::write("NSTask: cannot run " + devicePath + " of this device");
    return false;
  }
  std::vector<std::string> argv{path->string()};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::vector<char*> raw;
  for (auto& arg : argv) raw.push_back(arg.data());
  raw.push_back(nullptr);
  pid_t child = fork();
  if (child < 0) {
    Log::write("NSTask: cannot start " + devicePath);
    return false;
  }
  if (child == 0) {
    // The intermediate process starts the program and leaves at once, so the program is adopted by init.
    if (fork() == 0) {
      setsid();
      execv(raw[0], raw.data());
      _exit(127);
    }
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return true;
}

}  // namespace platform
