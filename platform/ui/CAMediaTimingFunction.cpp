#include "platform/ui/CAMediaTimingFunction.h"

#include <algorithm>
#include <cmath>

namespace platform {

CAMediaTimingFunction CAMediaTimingFunction::functionWithName(Name name) {
  switch (name) {
    case Name::Linear: return {0, 0, 1, 1};
    case Name::EaseIn: return {0.42, 0, 1, 1};
    case Name::EaseOut: return {0, 0, 0.58, 1};
    case Name::EaseInEaseOut: return {0.42, 0, 0.58, 1};
    case Name::Default: return {0.25, 0.1, 0.25, 1};
  }
  return {};
}

namespace {
// One coordinate of the cubic Bézier with end points 0 and 1.
double bezier(double p1, double p2, double s) {
  double u = 1 - s;
  return 3 * u * u * s * p1 + 3 * u * s * s * p2 + s * s * s;
}
double bezierSlope(double p1, double p2, double s) {
  double u = 1 - s;
  return 3 * u * u * p1 + 6 * u * s * (p2 - p1) + 3 * s * s * (1 - p2);
}
}  // namespace

double CAMediaTimingFunction::valueAt(double t) const {
  t = std::clamp(t, 0.0, 1.0);
  if (c1x_ == c1y_ && c2x_ == c2y_) return t;  // a straight line
  // Find the curve parameter s with x(s) = t: Newton steps, then bisection if they stall.
  double s = t;
  for (int i = 0; i < 8; ++i) {
    double err = bezier(c1x_, c2x_, s) - t;
    if (std::fabs(err) < 1e-9) return bezier(c1y_, c2y_, s);
    double slope = bezierSlope(c1x_, c2x_, s);
    if (std::fabs(slope) < 1e-7) break;
    s -= err / slope;
  }
  double lo = 0, hi = 1;
  s = t;
  for (int i = 0; i < 60; ++i) {
    double x = bezier(c1x_, c2x_, s);
    if (std::fabs(x - t) < 1e-10) break;
    if (x < t)
      lo = s;
    else
      hi = s;
    s = (lo + hi) / 2;
  }
  return bezier(c1y_, c2y_, s);
}

}  // namespace platform
