#pragma once

#include <functional>
#include <memory>

#include "platform/foundation/Clock.h"

namespace platform {

enum class Repeats { No, Yes };

// A timer on the main run loop (NSTimer). As with a run loop retaining its
// timers, the pending task keeps the timer alive until it has fired (one-shot)
// or is invalidated; keep the returned pointer to invalidate it. Fires on the
// main loop's thread.
class Timer : public std::enable_shared_from_this<Timer> {
 public:
  using Callback = std::function<void(Timer&)>;

  // Schedules a timer that fires after `interval` (and every `interval` when repeating).
  static std::shared_ptr<Timer> scheduledTimer(Duration interval, Repeats repeats, Callback callback);

  // Stops the timer; it never fires again.
  void invalidate() { valid_ = false; }
  // Whether the timer will still fire.
  bool isValid() const { return valid_; }
  // The timer's interval.
  Duration interval() const { return interval_; }

  Timer(Duration interval, Repeats repeats, Callback callback);

 private:
  void schedule();
  void fire();

  Duration interval_;
  Repeats repeats_;
  Callback callback_;
  bool valid_ = true;
};

}  // namespace platform
