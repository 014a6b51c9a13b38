#include "tools/SpringBoard/host/SignalWatcher.h"

#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <ctime>

namespace tessra::device {
namespace {

sigset_t terminationSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGHUP);
  return set;
}

}  // namespace

void SignalWatcher::blockSignals() {
  sigset_t set = terminationSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

SignalWatcher::SignalWatcher(std::function<void(int)> onSignal) : onSignal_(std::move(onSignal)) {
  const sigset_t set = terminationSignals();
  signals_ = signalfd(-1, &set, SFD_CLOEXEC);
  wake_ = eventfd(0, EFD_CLOEXEC);
  thread_ = std::thread([this] { watch(); });
}

SignalWatcher::~SignalWatcher() {
  stopping_ = true;
  if (wake_ >= 0) {
    const uint64_t one = 1;
    (void)!write(wake_, &one, sizeof one);
  }
  thread_.join();
  if (signals_ >= 0) close(signals_);
  if (wake_ >= 0) close(wake_);
}

void SignalWatcher::watch() {
  if (signals_ < 0 || wake_ < 0) return watchInSlices();
  while (!stopping_) {
    pollfd fds[2] = {{signals_, POLLIN, 0}, {wake_, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return watchInSlices();
    }
    if (fds[1].revents) return;
    if (fds[0].revents & POLLIN) {
      signalfd_siginfo info{};
      if (read(signals_, &info, sizeof info) == static_cast<ssize_t>(sizeof info))
        onSignal_(static_cast<int>(info.ssi_signo));
    }
  }
}

void SignalWatcher::watchInSlices() {
  const sigset_t set = terminationSignals();
  const timespec slice{0, 100'000'000};
  while (!stopping_) {
    int signal = sigtimedwait(&set, nullptr, &slice);
    if (signal > 0) onSignal_(signal);
  }
}

}  // namespace tessra::device
