#pragma once

#include "platform/ui/AnimationCurve.h"
#include "platform/ui/FrameTicker.h"
#include "platform/ui/Geometry.h"

namespace platform {

class UIScrollView;

// The movement of a scroll view's content after the finger lifts, or of an
// animated setContentOffset, stepped every frame. Per axis it is one of:
// decelerating to a resting offset (velocity decaying by the deceleration
// rate per millisecond, shaped so that it ends exactly at the rest), hitting
// an end and springing back to it, or springing back from past an end. A
// glide (animated offset) follows an ease-in-out curve. Owned by the scroll
// view; stops when the view stops it.
class ScrollMotion : public FrameTicker {
 public:
  // Deceleration from `start` with `velocity` (points per second) to `target`, within [min, max]
  // past which it bounces (or stops, without bounce).
  static ScrollMotion deceleration(UIScrollView* view, CGPoint start, CGPoint velocity, CGPoint target, CGPoint min,
                                   CGPoint max, double rate, bool bounces);
  // An ease-in-out glide from `start` to `target` over `duration` seconds.
  static ScrollMotion glide(UIScrollView* view, CGPoint start, CGPoint target, double duration);

  // The offset at `elapsed` seconds and whether the motion is over then.
  CGPoint offsetAt(double elapsed, bool* done) const;
  bool isGlide() const { return glide_; }

  bool step(TimePoint now) override;
  // A glide is stepped exactly at its end.
  TimePoint deadline() const override;
  void setBegin(TimePoint t) { begin_ = t; }
  // Detaches from the view (the view stopped it).
  void stop() { view_ = nullptr; }

 private:
  // One axis: decay toward `target` with constant `lambda`, then (optionally) a spring at an edge.
  struct Axis {
    bool moving = false;
    double start = 0;
    double target = 0;    // resting value of the decay
    double lambda = 0;    // decay per second
    double edge = 0;      // spring rest when it bounces
    double hitTime = -1;  // when the decay crosses the edge (-1: never)
    double hitVelocity = 0;
    bool springFromStart = false;  // released past the end: only the spring
    double value(double t, bool* done) const;
  };

  UIScrollView* view_ = nullptr;
  Axis x_, y_;
  bool glide_ = false;
  CGPoint glideFrom_, glideTo_;
  double glideDuration_ = 0;
  AnimationCurve glideCurve_;
  TimePoint begin_;
};

}  // namespace platform
