#pragma once

#include "platform/foundation/Clock.h"

namespace platform {

// Something the animator steps on every display frame while it runs: a
// property animation, a transition, a scroll view's motion. The animator
// holds tickers weakly; their owners keep them alive.
class FrameTicker {
 public:
  virtual ~FrameTicker() = default;
  // Steps to `now`; returns false once finished (the animator then drops it).
  virtual bool step(TimePoint now) = 0;
  // A time at which the ticker must be stepped even between frames (its end), or max.
  virtual TimePoint deadline() const { return TimePoint::max(); }
};

}  // namespace platform
