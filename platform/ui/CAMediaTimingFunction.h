#pragma once

namespace platform {

// A timing curve: maps elapsed fraction of an animation's duration to the
// fraction of its change, as the cubic Bézier from (0,0) to (1,1) with two
// control points (CAMediaTimingFunction). A plain value.
class CAMediaTimingFunction {
 public:
  enum class Name { Linear, EaseIn, EaseOut, EaseInEaseOut, Default };

  constexpr CAMediaTimingFunction() = default;
  constexpr CAMediaTimingFunction(double c1x, double c1y, double c2x, double c2y)
      : c1x_(c1x), c1y_(c1y), c2x_(c2x), c2y_(c2y) {}

  // functionWithName: — linear (0,0,1,1), ease-in (0.42,0,1,1), ease-out (0,0,0.58,1),
  // ease-in-out (0.42,0,0.58,1), default (0.25,0.1,0.25,1).
  static CAMediaTimingFunction functionWithName(Name name);

  // The fraction of the change at elapsed fraction `t` (t clamped to 0 ... 1).
  double valueAt(double t) const;

  constexpr bool operator==(const CAMediaTimingFunction&) const = default;

 private:
  double c1x_ = 0, c1y_ = 0, c2x_ = 1, c2y_ = 1;
};

}  // namespace platform
