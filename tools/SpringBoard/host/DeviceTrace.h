#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/Clock.h"

namespace platform::springboard {
class EventLog;
}

namespace tessra::device {

// What a scenario run shows: the plug-in's debug lines as its debug client
// writes them ("com.apple.Maps : Set volume 0.400000"), the device's events
// ("event: wifi -> off") and the runner's own notes ("> open com.apple.Maps"),
// each stamped with the seconds since `origin` ("[     1.234] ..."), in the
// order they happened. Debug lines arrive through the in-process notification
// of the debug client; events are taken from the device's event log whenever a
// debug line arrives and whenever lines are read, so the two stay in order.
// Lines are numbered; readers keep a cursor, so several readers (the dry run,
// `tessra device run` over the control channel) each see every line once. The
// newest kMaxLines are kept. The thread that creates the trace is the main
// thread: reading and events belong to it; debug lines may come from any thread.
class DeviceTrace {
 public:
  static constexpr size_t kMaxLines = 20000;
  // The in-process notification of the debug client, and its user-info key.
  static constexpr const char* kDebugLineNotification = "KLDebugClientDidLogNotification";

  struct Lines {
    std::vector<std::string> lines;
    uint64_t cursor = 0;  // pass it to the next since()
  };

  // Starts observing the debug client; `eventLog` and `clock` must outlive the trace.
  DeviceTrace(platform::springboard::EventLog& eventLog, const platform::Clock& clock, platform::TimePoint origin);
  ~DeviceTrace();
  DeviceTrace(const DeviceTrace&) = delete;
  DeviceTrace& operator=(const DeviceTrace&) = delete;

  // Adds a line of the runner's own, stamped now (main thread).
  void note(const std::string& text);
  // A debug line of the plug-in, stamped now (any thread).
  void addDebugLine(const std::string& message);
  // Every line after `cursor` (0: from the first kept line), after taking in new events (main thread).
  Lines since(uint64_t cursor);
  // The cursor after the newest line, after taking in new events: later lines only (main thread).
  uint64_t end();
  // Forgets the events recorded so far (they are not shown); used after the device was set up.
  void skipEvents();

  // "[     1.234] text" for a time `t` after `origin`.
  static std::string format(platform::Duration sinceOrigin, const std::string& text);

 private:
  void collectEvents();
  void append(platform::TimePoint time, std::string text);

  platform::springboard::EventLog& eventLog_;
  const platform::Clock& clock_;
  platform::TimePoint origin_;
  std::thread::id mainThread_;
  uint64_t observer_ = 0;
  size_t eventIndex_ = 0;  // events of the log already taken in

  std::mutex mutex_;
  std::deque<std::string> lines_;
  uint64_t firstNumber_ = 1;                                            // number of lines_.front()
  std::vector<std::pair<platform::TimePoint, std::string>> offThread_;  // debug lines from other threads
};

}  // namespace tessra::device
