#include "tools/SpringBoard/host/SignalWatcher.h"

#include <pthread.h>

#include <csignal>
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

SignalWatcher::SignalWatcher(std::function<void(int)> onSignal)
    : onSignal_(std::move(onSignal)), thread_([this] { watch(); }) {}

SignalWatcher::~SignalWatcher() {
  stopping_ = true;
  thread_.join();
}

void SignalWatcher::watch() {
  sigset_t set = terminationSignals();
  // Waits in short slices so that the destructor's request to stop is seen promptly.
  const timespec slice{0, 100'000'000};
  while (!stopping_) {
    int signal = sigtimedwait(&set, nullptr, &slice);
    if (signal > 0) onSignal_(signal);
  }
}

}  // namespace tessra::device
