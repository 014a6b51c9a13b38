#pragma once

#include <atomic>

#include "platform/foundation/Clock.h"

namespace platform {

// A clock that only moves when told to. Owned by ManualTaskEnvironment, which
// also runs the work that falls due as time moves; on its own it just keeps
// the time.
class ManualClock final : public Clock {
 public:
  TimePoint now() const override { return TimePoint(Duration(ticks_.load(std::memory_order_acquire))); }
  // Moves the time forward by `delta` (negative deltas are ignored).
  void advance(Duration delta) {
    if (delta.count() > 0) ticks_.fetch_add(delta.count(), std::memory_order_acq_rel);
  }
  // Moves the time to `when` if that is later than now.
  void advanceTo(TimePoint when) {
    auto target = when.time_since_epoch().count();
    auto cur = ticks_.load(std::memory_order_acquire);
    while (target > cur && !ticks_.compare_exchange_weak(cur, target)) {
    }
  }

 private:
  std::atomic<Duration::rep> ticks_{0};
};

}  // namespace platform
