#include "tools/SpringBoard/core/HostFiles.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <string>

#include "platform/foundation/BeneathRoot.h"
#include "platform/foundation/ProcessState.h"
#include "platform/foundation/PropertyListFile.h"

namespace tessra::device {
namespace {

std::optional<pid_t> recordedPid(const std::filesystem::path& root) {
  auto bytes = platform::plist::PropertyListFile::readDeviceBytes(root, HostFiles::pidFile(root), 64);
  if (!bytes.ok()) return std::nullopt;
  std::string text = bytes.bytes;
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  pid_t pid = 0;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), pid);
  if (ec != std::errc() || ptr != text.data() + text.size() || pid <= 1) return std::nullopt;
  return pid;
}

}  // namespace

std::filesystem::path HostFiles::pidFile(const std::filesystem::path& root) { return root / "var/run/SpringBoard.pid"; }

std::filesystem::path HostFiles::logFile(const std::filesystem::path& root) { return root / "var/log/SpringBoard.log"; }

std::filesystem::path HostFiles::debugLogFile(const std::filesystem::path& root) {
  return root / "var/log/KLDebug/com.kelvane.tessra2.log";
}

bool HostFiles::writePid(const std::filesystem::path& root) {
  return platform::BeneathRoot::createFolders(root, pidFile(root).parent_path()) &&
         platform::plist::PropertyListFile::writeDeviceFileAtomically(root, pidFile(root),
                                                                      std::to_string(getpid()) + "\n");
}

void HostFiles::removePid(const std::filesystem::path& root) {
  if (recordedPid(root) == getpid()) {
    std::error_code ec;
    std::filesystem::remove(pidFile(root), ec);
  }
}

std::optional<pid_t> HostFiles::runningPid(const std::filesystem::path& root) {
  auto pid = recordedPid(root);
  if (!pid) return std::nullopt;
  // A host that has ended but was not reaped yet is gone too.
  if (!platform::ProcessState::isRunning(*pid)) return std::nullopt;
  // A pid may have been reused by an unrelated program after a crash: check its name. A host whose program
  // file was replaced since it started (the project was built again) shows it as "SpringBoard (deleted)"
  // and is still this device's host.
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/" + std::to_string(*pid) + "/exe", ec);
  if (ec) return pid;
  std::string name = exe.filename().string();
  if (constexpr std::string_view kReplaced = " (deleted)"; name.ends_with(kReplaced))
    name.resize(name.size() - kReplaced.size());
  if (name != "SpringBoard") return std::nullopt;
  return pid;
}

}  // namespace tessra::device
