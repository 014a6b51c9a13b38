#include "platform/bus/BusDaemon.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "platform/bus/BusLocation.h"
#include "platform/foundation/BeneathRoot.h"
#include "platform/foundation/PropertyListFile.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

// The bus carries control replies with a whole debug log: room for 8 MiB of text and more.
constexpr long kMaxMessageBytes = 32 * 1024 * 1024;

TimePoint now() { return SteadyClock().now(); }

int millisecondsUntil(TimePoint deadline) {
  auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now()).count();
  return static_cast<int>(std::max<long long>(0, std::min<long long>(left, 60'000)));
}

std::string xmlEscaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out += c;
    }
  }
  return out;
}

// Writes `text` to `path` (a file of the device root `root`) through a temporary file, so readers never see half
// of it; never through a link.
bool writeAtomically(const fs::path& root, const fs::path& path, const std::string& text) {
  return platform::plist::PropertyListFile::writeDeviceFileAtomically(root, path, text);
}

std::string readFile(const fs::path& path, size_t limit) {
  std::ifstream in(path, std::ios::binary);
  std::string text(limit, '\0');
  in.read(text.data(), static_cast<std::streamsize>(limit));
  text.resize(static_cast<size_t>(in.gcount()));
  return text;
}

// Whether `pid` is a live process (a zombie has ended).
bool isAlive(pid_t pid) {
  std::string stat = readFile("/proc/" + std::to_string(pid) + "/stat", 1024);
  auto paren = stat.rfind(')');
  if (paren == std::string::npos || paren + 2 >= stat.size()) return false;
  char state = stat[paren + 2];
  return state != 'Z' && state != 'X';
}

// Reaps `pid` if it is a child of this process (directly, or as a subreaper); harmless otherwise.
void reapIfChild(pid_t pid) {
  while (waitpid(pid, nullptr, WNOHANG) < 0 && errno == EINTR) {
  }
}

// Waits until `pid` has ended, at most until `deadline`.
bool waitUntilGone(pid_t pid, TimePoint deadline) {
  int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
  for (;;) {
    reapIfChild(pid);
    if (!isAlive(pid)) break;
    int wait = millisecondsUntil(deadline);
    if (wait == 0) {
      if (pidfd >= 0) close(pidfd);
      return false;
    }
    if (pidfd >= 0) {
      pollfd fd{pidfd, POLLIN, 0};
      poll(&fd, 1, wait);  // readable once the process has ended
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(std::min(wait, 5)));
    }
  }
  if (pidfd >= 0) close(pidfd);
  return true;
}

// Reads one line from `fd` until `deadline`; empty when the writer closed first or time ran out.
std::string readLine(int fd, TimePoint deadline) {
  std::string line;
  for (;;) {
    pollfd p{fd, POLLIN, 0};
    int ready = poll(&p, 1, millisecondsUntil(deadline));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return "";
    char c;
    ssize_t n = read(fd, &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return "";
    if (c == '\n') return line;
    line += c;
    if (line.size() > 4096) return "";
  }
}

std::string drain(int fd) {
  std::string text;
  char buffer[512];
  int flags = fcntl(fd, F_GETFL);
  fcntl(fd, F_SETFL, flags | O_NONBLOCK);
  ssize_t n;
  while ((n = read(fd, buffer, sizeof buffer)) > 0 && text.size() < 4096) text.append(buffer, static_cast<size_t>(n));
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

std::optional<std::string> findProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path && *path ? path : "/usr/local/bin:/usr/bin:/bin");
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    fs::path candidate = fs::path(dir.empty() ? "." : dir) / name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate.string();
  }
  return std::nullopt;
}

struct Pipe {
  int read = -1;
  int write = -1;
  bool open() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    read = fds[0];
    write = fds[1];
    return true;
  }
  void closeWrite() {
    if (write >= 0) close(write);
    write = -1;
  }
  ~Pipe() {
    if (read >= 0) close(read);
    closeWrite();
  }
};

// Holds the root's bus lock: one start or stop at a time per device, across processes.
class RootLock {
 public:
  explicit RootLock(const fs::path& root) {
    std::error_code ec;
    fs::create_directories(root, ec);  // the root itself is the caller's; only what is inside it is checked
    if (platform::BeneathRoot::createFolders(root, BusLocation::directory(root)))
      fd_ = platform::BeneathRoot::open(root, BusLocation::directory(root) / "lock", O_RDWR | O_CREAT, 0600).release();
    if (fd_ >= 0)
      while (flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
      }
  }
  ~RootLock() {
    if (fd_ >= 0) close(fd_);
  }
  RootLock(const RootLock&) = delete;
  RootLock& operator=(const RootLock&) = delete;

 private:
  int fd_ = -1;
};

BusDaemon::Started failed(std::string error) {
  BusDaemon::Started started;
  started.error = std::move(error);
  return started;
}

}  // namespace

std::string BusDaemon::configText(const fs::path& root) {
  return "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
         " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
         "<!-- The private bus of one simulated device; generated, rewritten at every start. -->\n"
         "<busconfig>\n"
         "  <type>session</type>\n"
         "  <listen>" +
         xmlEscaped(BusLocation::listenAddress(root)) +
         "</listen>\n"
         "  <auth>EXTERNAL</auth>\n"
         "  <policy context=\"default\">\n"
         "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
         "    <allow eavesdrop=\"true\"/>\n"
         "    <allow own=\"*\"/>\n"
         "  </policy>\n"
         "  <limit name=\"max_message_size\">" +
         std::to_string(kMaxMessageBytes) +
         "</limit>\n"
         "</busconfig>\n";
}

std::optional<pid_t> BusDaemon::runningPid(const fs::path& given) {
  fs::path root = fs::absolute(given).lexically_normal();
  auto pidBytes = platform::plist::PropertyListFile::readDeviceBytes(root, BusLocation::pidFile(root), 64);
  std::string text = pidBytes.ok() ? pidBytes.bytes : std::string();
  char* end = nullptr;
  long pid = std::strtol(text.c_str(), &end, 10);
  if (pid <= 0 || end == text.c_str()) return std::nullopt;
  if (!isAlive(static_cast<pid_t>(pid))) return std::nullopt;
  // The pid must still be our daemon, not a process that inherited the number.
  std::string cmdline = readFile("/proc/" + std::to_string(pid) + "/cmdline", 64 * 1024);
  std::string config = "--config-file=" + BusLocation::configFile(root).string();
  if (cmdline.find(config + '\0') == std::string::npos) return std::nullopt;
  return static_cast<pid_t>(pid);
}

BusDaemon::Started BusDaemon::start(const fs::path& given, Duration timeout) {
  fs::path root = fs::absolute(given).lexically_normal();
  TimePoint deadline = now() + timeout;
  RootLock lock(root);
  if (auto pid = runningPid(root)) {
    Started started;
    started.ok = true;
    started.alreadyRunning = true;
    started.pid = *pid;
    started.address = BusLocation::readAddress(root).value_or("");
    return started;
  }

  std::error_code ec;
  if (!fs::is_directory(BusLocation::directory(root)))
    return failed("cannot create " + BusLocation::directory(root).string());
  for (const auto& stale : {BusLocation::addressFile(root), BusLocation::pidFile(root), BusLocation::socketFile(root)})
    fs::remove(stale, ec);
  if (!writeAtomically(root, BusLocation::configFile(root), configText(root)))
    return failed("cannot write " + BusLocation::configFile(root).string());

  auto program = findProgram("dbus-daemon");
  if (!program) return failed("dbus-daemon is not installed (Debian package dbus-daemon)");

  Pipe address, pid, errors;
  if (!address.open() || !pid.open() || !errors.open()) return failed(std::string("pipe: ") + std::strerror(errno));
  // Everything the child needs is prepared before fork: it only calls async-signal-safe functions.
  std::vector<std::string> args = {*program,
                                   "--config-file=" + BusLocation::configFile(root).string(),
                                   "--fork",
                                   "--nopidfile",
                                   "--print-address=" + std::to_string(address.write),
                                   "--print-pid=" + std::to_string(pid.write)};
  std::vector<char*> argv;
  for (auto& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  static const char kExecFailed[] = "cannot run dbus-daemon\n";

  pid_t child = fork();
  if (child < 0) return failed(std::string("fork: ") + std::strerror(errno));
  if (child == 0) {
    int null = open("/dev/null", O_RDWR);
    if (null >= 0) {
      dup2(null, STDIN_FILENO);
      dup2(null, STDOUT_FILENO);
    }
    dup2(errors.write, STDERR_FILENO);
    fcntl(address.write, F_SETFD, 0);
    fcntl(pid.write, F_SETFD, 0);
    execv(argv[0], argv.data());
    ssize_t ignored = write(STDERR_FILENO, kExecFailed, sizeof kExecFailed - 1);
    (void)ignored;
    _exit(127);
  }
  address.closeWrite();
  pid.closeWrite();
  errors.closeWrite();

  std::string printedAddress = readLine(address.read, deadline);
  std::string printedPid = readLine(pid.read, deadline);

  // The first process exits once the detached daemon is ready (or has failed).
  int status = 0;
  bool exited = false;
  for (;;) {
    pid_t r = waitpid(child, &status, WNOHANG);
    if (r == child) {
      exited = true;
      break;
    }
    if (r < 0 && errno != EINTR) break;
    if (millisecondsUntil(deadline) == 0) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  if (!exited) {
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
  }
  long daemonPid = std::strtol(printedPid.c_str(), nullptr, 10);
  if (!exited || !WIFEXITED(status) || WEXITSTATUS(status) != 0 || printedAddress.empty() || daemonPid <= 0) {
    std::string reason = drain(errors.read);
    if (daemonPid > 0) kill(static_cast<pid_t>(daemonPid), SIGKILL);
    if (reason.empty()) reason = exited ? "it exited at once" : "it did not start in time";
    return failed("the device bus did not start: " + reason);
  }

  // Recorded without the daemon's guid: the address stays valid for a daemon started again later.
  std::string recorded = printedAddress.substr(0, printedAddress.find(",guid="));
  if (!writeAtomically(root, BusLocation::pidFile(root), std::to_string(daemonPid) + "\n") ||
      !writeAtomically(root, BusLocation::addressFile(root), recorded + "\n")) {
    kill(static_cast<pid_t>(daemonPid), SIGTERM);
    return failed("cannot record the bus in " + BusLocation::directory(root).string());
  }
  Started started;
  started.ok = true;
  started.pid = static_cast<pid_t>(daemonPid);
  started.address = recorded;
  return started;
}

bool BusDaemon::stop(const fs::path& given, Duration timeout) {
  fs::path root = fs::absolute(given).lexically_normal();
  if (!fs::exists(BusLocation::directory(root))) return true;
  RootLock lock(root);
  std::error_code ec;
  // No process picks up the address of a bus that is going away.
  fs::remove(BusLocation::addressFile(root), ec);
  auto pid = runningPid(root);
  if (pid) {
    kill(*pid, SIGTERM);
    if (!waitUntilGone(*pid, now() + timeout)) {
      kill(*pid, SIGKILL);
      if (!waitUntilGone(*pid, now() + seconds(2))) return false;
    }
  }
  fs::remove(BusLocation::pidFile(root), ec);
  fs::remove(BusLocation::socketFile(root), ec);
  return true;
}

}  // namespace platform
