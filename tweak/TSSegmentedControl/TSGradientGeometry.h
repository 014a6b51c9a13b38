#pragma once

// Where the colours of a segmented control's gradient lie and where the
// gradient view sits while the selector moves, as pure functions of the
// number of states N and the back velocity v (how much faster than the
// selector the gradient slides). The gradient holds N + 2 groups of colours:
// group -1 (the left bounce), one per state, group N (the right bounce); each
// group spans one selector width, each gap between groups v selector widths,
// D = v (N + 1) + (N + 2) selector widths in all. A plain value.
class TSGradientGeometry {
 public:
  TSGradientGeometry(long statesCount, double backVelocity) : count_(statesCount), v_(backVelocity) {}

  // D: the gradient's length in selector widths.
  double totalLength() const;
  // Location of colour j of c in the group of state i (i = -1 and i = N are the bounces).
  double gradientLocationForStateAtIndex(long state, long colorIndex, long colorsCount) const;
  // Location of colour j of c in the bounce group: side 0 left, 1 right; 0 for any other side.
  double gradientLocationForBounce(unsigned long side, long colorIndex, long colorsCount) const;
  // Width of the gradient view for a control of width W: W D / N (0 without states).
  double gradientViewWidth(double controlWidth) const;
  // Left offset L of the gradient view from the control's left edge, for selector width sw and k = p / N.
  double gradientViewLeftOffset(double selectorWidth, double offsetFactor) const;
  // How far right of the gradient view's left edge the selector outline lies: sw k N - L.
  double maskShift(double selectorWidth, double offsetFactor) const;

 private:
  long count_;
  double v_;
};
