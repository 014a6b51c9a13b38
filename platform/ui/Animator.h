#pragma once

#include <memory>
#include <vector>

#include "platform/foundation/Clock.h"
#include "platform/ui/AnimationCurve.h"
#include "platform/ui/AnimationGroup.h"
#include "platform/ui/FrameTicker.h"
#include "platform/ui/UIViewTypes.h"

namespace platform {

// The process-wide animator: steps every running animation, transition and
// scroll motion on the main loop of the environment in force, at the display
// rate (every 1/120 s) and exactly at each one's end, for as long as any runs;
// idle, it schedules nothing. It also keeps the stack of UIView animation
// blocks whose property changes become animations. Main thread only.
class Animator {
 public:
  static constexpr double kFrameInterval = 1.0 / 120.0;

  // What a UIView animation block asks of the changes made inside it.
  struct BlockContext {
    double duration = 0;
    double delay = 0;
    UIViewAnimationOptions options = UIViewAnimationOptions::None;
    AnimationCurve curve;
    std::shared_ptr<AnimationGroup> group;
    bool disabled = false;  // performWithoutAnimation / transition bodies
  };

  static Animator& shared();

  // The clock's time now.
  static TimePoint now();
  // Starts stepping a ticker (held weakly) from the next frame.
  void add(const std::shared_ptr<FrameTicker>& ticker);
  // Steps everything to the clock's time now; finished tickers are dropped.
  void tick();
  // Tickers still running.
  size_t runningCount() const;

  void pushContext(BlockContext context);
  void popContext();
  // The innermost animation block, or null outside any (or inside a disabled one).
  const BlockContext* currentContext() const;

 private:
  Animator() = default;
  void schedule();
  friend struct TickGuard;

  std::vector<std::weak_ptr<FrameTicker>> running_;
  std::vector<BlockContext> contexts_;
  std::vector<TimePoint> pendingWakes_;  // times of queued ticks
  bool ticking_ = false;
};

}  // namespace platform
