#pragma once

#include <atomic>
#include <functional>
#include <thread>

namespace tessra::device {

// Turns SIGTERM, SIGINT and SIGHUP into a callback on a thread of its own, so
// that a host can quit its main loop cleanly when `tessra device stop` (or a
// terminal) asks it to. blockSignals() must run on the main thread before any
// other thread starts, so that every thread inherits the blocked mask and the
// signals wait for the watcher instead of ending the process. The watcher
// sleeps until a signal comes or it is destroyed (a signal descriptor and a
// wake-up descriptor), so neither a signal nor leaving waits on a timer.
class SignalWatcher {
 public:
  // Blocks the termination signals for the calling thread and the threads it starts.
  static void blockSignals();

  // Starts watching; `onSignal` runs on the watcher's thread with the signal number.
  explicit SignalWatcher(std::function<void(int)> onSignal);
  // Stops watching and joins the thread, at once.
  ~SignalWatcher();
  SignalWatcher(const SignalWatcher&) = delete;
  SignalWatcher& operator=(const SignalWatcher&) = delete;

 private:
  void watch();
  // The fallback where no descriptors could be made: waits in short slices, checking stopping_ between them.
  void watchInSlices();

  std::function<void(int)> onSignal_;
  std::atomic<bool> stopping_{false};
  int signals_ = -1;  // signalfd of the termination signals
  int wake_ = -1;     // eventfd written by the destructor
  std::thread thread_;
};

}  // namespace tessra::device
