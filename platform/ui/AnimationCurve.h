#pragma once

#include "platform/ui/CAMediaTimingFunction.h"

namespace platform {

// How an animation's progress (0 at the start, 1 at the end) follows time:
// a timing function, or a spring given by damping ratio and initial velocity
// (UIView's usingSpringWithDamping:initialSpringVelocity:). The spring's
// stiffness is chosen so that it settles within the animation's duration; at
// the end the progress is exactly 1. A spring may overshoot (progress > 1).
class AnimationCurve {
 public:
  AnimationCurve() = default;
  // A curve that follows a timing function.
  static AnimationCurve timing(const CAMediaTimingFunction& f);
  // A spring: damping ratio (1 = critical, below 1 oscillates), initial velocity in
  // animation distances per second, settling within `duration` seconds.
  static AnimationCurve spring(double dampingRatio, double initialVelocity, double duration);

  // Progress at `elapsed` seconds into an animation of `duration` seconds.
  double progressAt(double elapsed, double duration) const;
  bool isSpring() const { return spring_; }

 private:
  bool spring_ = false;
  CAMediaTimingFunction timing_;
  double zeta_ = 1, omega_ = 1, velocity_ = 0;
};

}  // namespace platform
