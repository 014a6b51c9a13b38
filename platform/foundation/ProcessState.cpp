#include "platform/foundation/ProcessState.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <string>
#include <thread>

namespace platform {

namespace {

// The state letter of /proc/<pid>/stat, or 0 when it cannot be read.
char stateLetter(pid_t pid) {
  const std::string path = "/proc/" + std::to_string(pid) + "/stat";
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0;
  char buffer[512];
  ssize_t got = ::read(fd, buffer, sizeof buffer - 1);
  ::close(fd);
  if (got <= 0) return 0;
  std::string stat(buffer, static_cast<size_t>(got));
  auto paren = stat.rfind(')');
  if (paren == std::string::npos || paren + 2 >= stat.size()) return 0;
  return stat[paren + 2];
}

}  // namespace

bool ProcessState::isRunning(pid_t pid) {
  if (pid <= 0) return false;
  if (::kill(pid, 0) != 0 && errno != EPERM) return false;
  const char state = stateLetter(pid);
  return state != 'Z' && state != 'X';
}

bool ProcessState::waitUntilEnded(pid_t pid, Duration timeout) {
  using Steady = std::chrono::steady_clock;
  const auto deadline = Steady::now() + std::chrono::duration_cast<Steady::duration>(timeout);
  int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
  bool ended = false;
  for (;;) {
    while (::waitpid(pid, nullptr, WNOHANG) < 0 && errno == EINTR) {
    }
    if (!isRunning(pid)) {
      ended = true;
      break;
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Steady::now()).count();
    if (left <= 0) break;
    if (pidfd >= 0) {
      pollfd fd{pidfd, POLLIN, 0};
      ::poll(&fd, 1, static_cast<int>(std::min<long long>(left, 1000)));  // readable once the process has ended
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(std::min<long long>(left, 5)));
    }
  }
  if (pidfd >= 0) ::close(pidfd);
  return ended;
}

}  // namespace platform
