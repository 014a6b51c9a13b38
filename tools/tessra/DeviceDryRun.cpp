#include "tools/tessra/DeviceDryRun.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <string>

#include "tools/tessra/DeviceBuildProducts.h"
#include "tools/tessra/DeviceInstaller.h"

namespace tessra::cli {
namespace {

namespace fs = std::filesystem;
using device::ScriptVerb;

// Status when the host could not be run at all or died.
constexpr int kHostFailed = 3;

// A new empty folder for the run's device.
std::optional<fs::path> temporaryFolder() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/tessra-run.XXXXXX";
  if (!mkdtemp(pattern.data())) return std::nullopt;
  return fs::path(pattern);
}

}  // namespace

int DeviceDryRun::run(const fs::path& script, const std::vector<device::ScriptCommand>& commands, std::ostream& out,
                      std::ostream& err) {
  auto executable = DeviceBuildProducts::springBoard();
  if (!executable) {
    err << "tessra device run: the SpringBoard host is not built\n";
    return kHostFailed;
  }
  DeviceInstaller::Options options;
  for (const auto& command : commands) {
    if (command.verb == ScriptVerb::Version) options.systemVersion = command.name;
    if (command.verb == ScriptVerb::Kind)
      options.kind = command.on ? platform::springboard::DeviceKind::Tablet : platform::springboard::DeviceKind::Phone;
    if (command.verb == ScriptVerb::ActivatorSetup) options.activator = command.on;
    if (command.verb == ScriptVerb::App)
      options.extraApps.push_back(
          {command.name, command.displayName,
           command.on ? platform::springboard::AppKind::System : platform::springboard::AppKind::User, "AppIcon60x60"});
  }
  auto folder = temporaryFolder();
  if (!folder) {
    err << "tessra device run: cannot create a temporary folder: " << std::strerror(errno) << "\n";
    return kHostFailed;
  }
  fs::path root = *folder / "device";
  int status = kHostFailed;
  if (DeviceInstaller::create(root, options, err, nullptr)) {
    out.flush();
    err.flush();
    std::string exe = executable->string(), rootText = root.string(), scriptText = script.string();
    pid_t child = fork();
    if (child == 0) {
      execl(exe.c_str(), "SpringBoard", "--root", rootText.c_str(), "--script", scriptText.c_str(),
            static_cast<char*>(nullptr));
      _exit(127);
    }
    int wstatus = 0;
    if (child < 0) {
      err << "tessra device run: cannot fork: " << std::strerror(errno) << "\n";
    } else if (waitpid(child, &wstatus, 0) == child) {
      if (WIFEXITED(wstatus)) {
        status = WEXITSTATUS(wstatus);
        if (status == 127) err << "tessra device run: cannot run " << executable->string() << "\n";
      } else if (WIFSIGNALED(wstatus)) {
        err << "tessra device run: SpringBoard died of signal " << WTERMSIG(wstatus) << " ("
            << strsignal(WTERMSIG(wstatus)) << ")\n";
      }
    }
  }
  std::error_code ec;
  fs::remove_all(*folder, ec);
  return status;
}

}  // namespace tessra::cli
