#pragma once

#include "platform/ui/Geometry.h"

namespace platform {

class UIView;
class UIWindow;

// Phase of a touch (UITouchPhase, same values).
enum class UITouchPhase { Began = 0, Moved = 1, Stationary = 2, Ended = 3, Cancelled = 4 };

// One finger on the screen (UITouch): the view it started on, where it is
// now and was before (in window coordinates), its phase and time. Made and
// owned by the window that delivers it.
class UITouch {
 public:
  UITouchPhase phase() const { return phase_; }
  // Seconds on the environment clock.
  double timestamp() const { return timestamp_; }
  // The view the touch began on (the hit-test result); null when none.
  UIView* view() const { return view_; }
  UIWindow* window() const { return window_; }
  // Location in `view`'s coordinates (window coordinates for null).
  CGPoint locationInView(const UIView* view) const;
  CGPoint previousLocationInView(const UIView* view) const;
  // Location in window coordinates.
  CGPoint windowLocation() const { return location_; }
  int finger() const { return finger_; }

 private:
  friend class UIWindow;
  UITouchPhase phase_ = UITouchPhase::Began;
  double timestamp_ = 0;
  UIView* view_ = nullptr;
  UIWindow* window_ = nullptr;
  CGPoint location_;
  CGPoint previous_;
  int finger_ = 0;
};

// The event that carries touches (UIEvent); only its time is used.
class UIEvent {
 public:
  explicit UIEvent(double timestamp = 0) : timestamp_(timestamp) {}
  double timestamp() const { return timestamp_; }

 private:
  double timestamp_;
};

}  // namespace platform
