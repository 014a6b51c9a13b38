#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <queue>
#include <string>
#include <vector>

#include "platform/foundation/Clock.h"

namespace platform {

using Task = std::function<void()>;

// A queue of timed work that one or more threads drain: the main run loop,
// the global background queue and each serial operation queue are RunLoops.
// Thread-safe: any thread may post; the tasks run on whichever thread drives
// the loop (run() in the host programs, ManualTaskEnvironment in tests).
// Tasks due at the same time run in the order they were posted.
class RunLoop {
 public:
  // Identifies the next queued task, for picking the earliest across loops.
  struct Next {
    TimePoint due;
    uint64_t sequence = 0;
  };

  RunLoop(const Clock& clock, std::string name);
  ~RunLoop();
  RunLoop(const RunLoop&) = delete;
  RunLoop& operator=(const RunLoop&) = delete;

  // Queues `task` to run as soon as the loop gets to it.
  void post(Task task, const void* target = nullptr);
  // Queues `task` to run once `delay` has passed.
  void postDelayed(Duration delay, Task task, const void* target = nullptr);
  // Drops every queued task posted with `target`; returns how many were dropped.
  size_t cancelTasksForTarget(const void* target);

  // The earliest queued task, if any.
  std::optional<Next> next() const;
  // Runs the earliest task if it is due by the clock's time; returns whether one ran.
  bool runOneDueTask();
  // Blocks the calling thread running tasks as they fall due, until quit().
  void run();
  // Makes run() return in every thread that runs the loop (or the next run() return at
  // once when none is running); queued tasks are kept.
  void quit();
  // Makes run() return in every thread that runs the loop, now and for good: a thread that only gets to run()
  // later returns at once. For loops whose threads end with their owner (quit() re-arms the loop once its
  // runners have left, so a worker that starts late would wait forever).
  void shutdown();
  // The loop's name, for logs and thread names.
  const std::string& name() const { return name_; }
  // Number of queued tasks.
  size_t pendingCount() const;
  // The loop whose task is running on this thread, or null.
  static RunLoop* current();
  // Calls `observer` after every task except those posted with `quietTarget` (one observer; null removes it):
  // for work that follows any change, such as redrawing a screen. Set and cleared on the loop's own thread.
  void setTaskObserver(std::function<void()> observer, const void* quietTarget = nullptr);

 private:
  struct Entry {
    TimePoint due;
    uint64_t sequence;
    Task task;
    const void* target;
  };
  struct Later {
    bool operator()(const Entry& a, const Entry& b) const {
      return a.due != b.due ? a.due > b.due : a.sequence > b.sequence;
    }
  };
  void runEntry(Entry& entry);

  const Clock& clock_;
  std::string name_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::priority_queue<Entry, std::vector<Entry>, Later> queue_;
  bool quitting_ = false;
  bool shutDown_ = false;
  int runners_ = 0;
  std::function<void()> observer_;  // loop thread only
  const void* quietTarget_ = nullptr;
};

}  // namespace platform
