#include "platform/ui/AnimationCurve.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {
// The envelope of the settled spring falls to 1/1000 of the distance at the end.
constexpr double kSettleLog = 6.907755278982137;  // ln(1000)
}  // namespace

AnimationCurve AnimationCurve::timing(const CAMediaTimingFunction& f) {
  AnimationCurve c;
  c.timing_ = f;
  return c;
}

AnimationCurve AnimationCurve::spring(double dampingRatio, double initialVelocity, double duration) {
  AnimationCurve c;
  c.spring_ = true;
  c.zeta_ = std::max(dampingRatio, 0.05);
  c.velocity_ = initialVelocity;
  double d = std::max(duration, 1e-3);
  if (c.zeta_ < 1) {
    c.omega_ = kSettleLog / (c.zeta_ * d);
  } else if (c.zeta_ == 1) {
    c.omega_ = 9.233 / d;  // e^{-x}(1 + x) = 1/1000
  } else {
    c.omega_ = kSettleLog / (d * (c.zeta_ - std::sqrt(c.zeta_ * c.zeta_ - 1)));
  }
  return c;
}

double AnimationCurve::progressAt(double elapsed, double duration) const {
  if (duration <= 0 || elapsed >= duration) return 1;
  if (elapsed <= 0) return 0;
  if (!spring_) return timing_.valueAt(elapsed / duration);
  // x(t) is the remaining fraction of the distance: x(0) = 1, x'(0) = -velocity.
  double t = elapsed, w = omega_, z = zeta_, v = velocity_;
  double x;
  if (z < 1) {
    double wd = w * std::sqrt(1 - z * z);
    x = std::exp(-z * w * t) * (std::cos(wd * t) + ((z * w - v) / wd) * std::sin(wd * t));
  } else if (z == 1) {
    x = std::exp(-w * t) * (1 + (w - v) * t);
  } else {
    double root = w * std::sqrt(z * z - 1);
    double r1 = -z * w + root, r2 = -z * w - root;
    double a = (-v - r2) / (r1 - r2);
    x = a * std::exp(r1 * t) + (1 - a) * std::exp(r2 * t);
  }
  return 1 - x;
}

}  // namespace platform
