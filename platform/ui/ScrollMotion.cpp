#include "platform/ui/ScrollMotion.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/UIScrollView.h"

namespace platform {

namespace {
constexpr double kSpring = 12;         // stiffness of the bounce (critically damped, per second)
constexpr double kRestDistance = 0.5;  // points: closer than this to the rest, the motion ends there
constexpr double kRestSpeed = 10;      // points per second
}  // namespace

double ScrollMotion::Axis::value(double t, bool* done) const {
  *done = false;
  if (!moving) {
    *done = true;
    return start;
  }
  if (springFromStart) {
    double d0 = start - edge, v = hitVelocity;
    double e = std::exp(-kSpring * t);
    double disp = (d0 + (v + kSpring * d0) * t) * e;
    double vel = e * (v - kSpring * (v + kSpring * d0) * t);
    if (std::fabs(disp) < kRestDistance && std::fabs(vel) < kRestSpeed) {
      *done = true;
      return edge;
    }
    return edge + disp;
  }
  if (hitTime >= 0 && t >= hitTime) {
    double tau = t - hitTime;
    if (hitVelocity == 0) {
      *done = true;
      return edge;
    }
    double disp = hitVelocity * tau * std::exp(-kSpring * tau);
    if (tau > 1 / kSpring && std::fabs(disp) < kRestDistance) {
      *done = true;
      return edge;
    }
    return edge + disp;
  }
  double x = start + (target - start) * (1 - std::exp(-lambda * t));
  if (std::fabs(target - x) < kRestDistance) {
    *done = true;
    return target;
  }
  return x;
}

ScrollMotion ScrollMotion::deceleration(UIScrollView* view, CGPoint start, CGPoint velocity, CGPoint target,
                                        CGPoint min, CGPoint max, double rate, bool bounces) {
  ScrollMotion m;
  m.view_ = view;
  double lambda = -std::log(std::clamp(rate, 0.5, 0.999999)) * 1000;
  auto setup = [&](Axis& a, double s, double v, double T, double lo, double hi) {
    a.start = s;
    a.lambda = lambda;
    a.target = T;
    if (s < lo || s > hi) {
      a.moving = true;
      a.springFromStart = true;
      a.edge = std::clamp(s, lo, hi);
      a.hitVelocity = bounces ? v : 0;
      if (!bounces) a.start = a.edge;
      return;
    }
    if (std::fabs(T - s) < 1e-9) return;
    a.moving = true;
    if (T < lo || T > hi) {
      a.edge = T < lo ? lo : hi;
      double frac = (a.edge - s) / (T - s);  // share of the decay that reaches the edge
      a.hitTime = frac >= 1 ? 0 : -std::log(1 - frac) / lambda;
      a.hitVelocity = bounces ? (T - s) * lambda * std::exp(-lambda * a.hitTime) : 0;
    }
  };
  setup(m.x_, start.x, velocity.x, target.x, min.x, max.x);
  setup(m.y_, start.y, velocity.y, target.y, min.y, max.y);
  return m;
}

ScrollMotion ScrollMotion::glide(UIScrollView* view, CGPoint start, CGPoint target, double duration) {
  ScrollMotion m;
  m.view_ = view;
  m.glide_ = true;
  m.glideFrom_ = start;
  m.glideTo_ = target;
  m.glideDuration_ = duration;
  m.glideCurve_ =
      AnimationCurve::timing(CAMediaTimingFunction::functionWithName(CAMediaTimingFunction::Name::EaseInEaseOut));
  return m;
}

CGPoint ScrollMotion::offsetAt(double elapsed, bool* done) const {
  if (glide_) {
    double p = glideCurve_.progressAt(elapsed, glideDuration_);
    *done = elapsed >= glideDuration_;
    if (*done) return glideTo_;
    return {glideFrom_.x + (glideTo_.x - glideFrom_.x) * p, glideFrom_.y + (glideTo_.y - glideFrom_.y) * p};
  }
  bool dx = false, dy = false;
  CGPoint p{x_.value(elapsed, &dx), y_.value(elapsed, &dy)};
  *done = dx && dy;
  return p;
}

TimePoint ScrollMotion::deadline() const { return glide_ ? begin_ + seconds(glideDuration_) : TimePoint::max(); }

bool ScrollMotion::step(TimePoint now) {
  if (!view_) return false;
  bool done = false;
  CGPoint p = offsetAt(toSeconds(now - begin_), &done);
  UIScrollView* view = view_;
  view->moveTo(p);
  if (!view_) return false;  // the delegate stopped the motion
  if (done) {
    view_ = nullptr;
    view->motionEnded(glide_);
    return false;
  }
  return true;
}

}  // namespace platform
