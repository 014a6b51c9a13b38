#include "tools/tessra/DeviceLauncher.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ostream>
#include <string>
#include <thread>

#include "platform/bus/BusControlClient.h"
#include "platform/bus/BusDaemon.h"
#include "platform/foundation/BeneathRoot.h"
#include "platform/foundation/ProcessState.h"
#include "tools/SpringBoard/core/ControlProtocol.h"
#include "tools/SpringBoard/core/DeviceFiles.h"
#include "tools/SpringBoard/core/HostFiles.h"
#include "tools/tessra/DeviceBuildProducts.h"

namespace tessra::cli {
namespace {

namespace fs = std::filesystem;
using device::HostFiles;
using Clock = std::chrono::steady_clock;

constexpr auto kPollInterval = std::chrono::milliseconds(25);

bool alive(pid_t pid) { return platform::ProcessState::isRunning(pid); }

// Waits until `pid` is gone; false when it still runs after `timeout`.
bool waitUntilGone(pid_t pid, platform::Duration timeout) {
  return platform::ProcessState::waitUntilEnded(pid, timeout);
}

// The end of the host's log, to show why it did not come up.
std::string logTail(const fs::path& root) {
  constexpr size_t kTail = 2000;
  platform::BeneathRoot::File file = platform::BeneathRoot::open(root, HostFiles::logFile(root), O_RDONLY | O_NONBLOCK);
  if (!file.ok()) return {};
  off_t end = lseek(file.fd(), 0, SEEK_END);
  if (end < 0) return {};
  std::string text(static_cast<size_t>(std::min<off_t>(end, kTail)), '\0');
  ssize_t got = pread(file.fd(), text.data(), text.size(), end - static_cast<off_t>(text.size()));
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

}  // namespace

pid_t DeviceLauncher::spawnDetached(const fs::path& executable, const fs::path& root, std::ostream& err) {
  fs::path log = HostFiles::logFile(root);
  // Opened here, beneath the device root and never through a link, and handed to the host as its output.
  std::string folderError;
  if (!platform::BeneathRoot::createFolders(root, log.parent_path(), &folderError)) {
    err << "tessra device start: cannot create the log folder " << folderError << "\n";
    return -1;
  }
  platform::BeneathRoot::File logFile = platform::BeneathRoot::open(root, log, O_WRONLY | O_CREAT | O_APPEND);
  if (!logFile.ok()) {
    err << "tessra device start: cannot open the host's log " << logFile.error() << "\n";
    return -1;
  }
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) {
    err << "tessra device start: cannot create a pipe: " << std::strerror(errno) << "\n";
    return -1;
  }
  std::string exe = executable.string();
  std::string rootText = root.string();
  pid_t child = fork();
  if (child < 0) {
    err << "tessra device start: cannot fork: " << std::strerror(errno) << "\n";
    close(report[0]);
    close(report[1]);
    return -1;
  }
  if (child == 0) {
    // Intermediate child: a new session, then the host in a grandchild that init adopts.
    close(report[0]);
    setsid();
    pid_t host = fork();
    if (host != 0) _exit(host < 0 ? 1 : 0);
    pid_t self = getpid();
    (void)!write(report[1], &self, sizeof self);
    int in = open("/dev/null", O_RDONLY);
    int out = logFile.fd();
    if (in >= 0) dup2(in, STDIN_FILENO);
    if (out >= 0) {
      dup2(out, STDOUT_FILENO);
      dup2(out, STDERR_FILENO);
    }
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    execl(exe.c_str(), "SpringBoard", "--root", rootText.c_str(), static_cast<char*>(nullptr));
    int error = errno;
    (void)!write(report[1], &error, sizeof error);
    _exit(127);
  }
  close(report[1]);
  waitpid(child, nullptr, 0);
  pid_t host = -1;
  int execError = 0;
  ssize_t got = read(report[0], &host, sizeof host);
  if (got == sizeof host && read(report[0], &execError, sizeof execError) == sizeof execError) {
    err << "tessra device start: cannot run " << exe << ": " << std::strerror(execError) << "\n";
    host = -1;
  } else if (got != sizeof host) {
    err << "tessra device start: SpringBoard could not be started\n";
    host = -1;
  }
  close(report[0]);
  return host;
}

bool DeviceLauncher::startSpringBoard(const fs::path& root, std::ostream& out, std::ostream& err) {
  if (auto running = HostFiles::runningPid(root)) {
    out << "SpringBoard already runs (pid " << *running << ")\n";
    return true;
  }
  auto executable = DeviceBuildProducts::springBoard();
  if (!executable) {
    err << "tessra device start: the SpringBoard host is not built (no "
        << (DeviceBuildProducts::binDirectory() / "SpringBoard").string() << ")\n";
    return false;
  }
  pid_t pid = spawnDetached(*executable, root, err);
  if (pid <= 0) return false;

  auto deadline = Clock::now() + kStartTimeout;
  while (true) {
    platform::ControlReply reply =
        platform::BusControlClient::call(root, device::control::kPing, {}, platform::seconds(1));
    if (reply.answered() && reply.status == 0) {
      out << "SpringBoard is up (pid " << pid << ")\n";
      return true;
    }
    if (!alive(pid)) {
      err << "tessra device start: SpringBoard stopped while starting; the end of its log:\n" << logTail(root);
      return false;
    }
    if (Clock::now() >= deadline) {
      err << "tessra device start: SpringBoard (pid " << pid << ") did not answer within "
          << platform::toSeconds(kStartTimeout) << " s; stopping it\n";
      kill(pid, SIGKILL);
      return false;
    }
    std::this_thread::sleep_for(kPollInterval * 2);
  }
}

bool DeviceLauncher::stopSpringBoard(const fs::path& root, std::ostream& err) {
  auto pid = HostFiles::runningPid(root);
  if (!pid) {
    std::error_code ec;
    fs::remove(HostFiles::pidFile(root), ec);
    return true;
  }
  kill(*pid, SIGTERM);
  if (!waitUntilGone(*pid, kStopTimeout)) {
    err << "tessra device stop: SpringBoard (pid " << *pid << ") did not leave within "
        << platform::toSeconds(kStopTimeout) << " s; killing it\n";
    kill(*pid, SIGKILL);
    waitUntilGone(*pid, kStopTimeout);
  }
  std::error_code ec;
  fs::remove(HostFiles::pidFile(root), ec);
  return true;
}

bool DeviceLauncher::start(const fs::path& root, std::ostream& out, std::ostream& err) {
  device::DeviceFiles::Loaded files = device::DeviceFiles::load(root);
  if (!files.ok) {
    err << "tessra device start: not a device: " << files.error << "\n";
    return false;
  }
  platform::BusDaemon::Started bus = platform::BusDaemon::start(root);
  if (!bus.ok) {
    err << "tessra device start: the device bus did not start: " << bus.error << "\n";
    return false;
  }
  const auto host = HostFiles::runningPid(root);
  if (bus.alreadyRunning || !host) {
    if (!bus.alreadyRunning) out << "device bus is up (pid " << bus.pid << ")\n";
    return startSpringBoard(root, out, err);
  }
  // The bus had died under a running SpringBoard: only the bus is started again, and the host reconnects to it.
  out << "device bus was not running: started it again (pid " << bus.pid << ")\n";
  auto deadline = Clock::now() + kStartTimeout;
  while (true) {
    platform::ControlReply reply =
        platform::BusControlClient::call(root, device::control::kPing, {}, platform::seconds(1));
    if (reply.answered() && reply.status == 0) {
      out << "SpringBoard was already running (pid " << *host << ") and is connected to the bus again\n";
      return true;
    }
    if (!alive(*host)) {
      // It ended meanwhile: start a new one, as for a device whose SpringBoard was not running.
      out << "SpringBoard (pid " << *host << ") ended meanwhile\n";
      return startSpringBoard(root, out, err);
    }
    if (Clock::now() >= deadline) {
      err << "tessra device start: SpringBoard runs (pid " << *host << ") but did not reconnect to the bus within "
          << platform::toSeconds(kStartTimeout) << " s; `tessra device restart " << root.string() << "` restarts it\n";
      return false;
    }
    std::this_thread::sleep_for(kPollInterval * 2);
  }
}

bool DeviceLauncher::stop(const fs::path& root, std::ostream& out, std::ostream& err) {
  bool ok = stopSpringBoard(root, err);
  if (!platform::BusDaemon::stop(root)) {
    err << "tessra device stop: the device bus did not stop\n";
    ok = false;
  }
  if (ok) out << "device stopped\n";
  return ok;
}

bool DeviceLauncher::restartSpringBoard(const fs::path& root, std::ostream& out, std::ostream& err) {
  if (!platform::BusDaemon::isRunning(root)) {
    err << "tessra device restart: the device is not started\n";
    return false;
  }
  return stopSpringBoard(root, err) && startSpringBoard(root, out, err);
}

}  // namespace tessra::cli
