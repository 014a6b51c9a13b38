#include "tweak/TSSegmentedControl/TSGradientGeometry.h"

namespace {
// j / (c - 1): a colour's place inside its group (a group always has two colours or more).
double placeInGroup(long colorIndex, long colorsCount) {
  return colorsCount > 1 ? static_cast<double>(colorIndex) / static_cast<double>(colorsCount - 1) : 0;
}
}  // namespace

double TSGradientGeometry::totalLength() const {
  const double n = static_cast<double>(count_);
  return v_ * (n + 1) + (n + 2);
}

double TSGradientGeometry::gradientLocationForStateAtIndex(long state, long colorIndex, long colorsCount) const {
  return (placeInGroup(colorIndex, colorsCount) + (v_ + 1) * static_cast<double>(state + 1)) / totalLength();
}

double TSGradientGeometry::gradientLocationForBounce(unsigned long side, long colorIndex, long colorsCount) const {
  const double d = totalLength();
  if (side == 0) return placeInGroup(colorIndex, colorsCount) / d;
  if (side == 1) return (placeInGroup(colorIndex, colorsCount) + d - 1) / d;
  return 0;
}

double TSGradientGeometry::gradientViewWidth(double controlWidth) const {
  return count_ > 0 ? controlWidth * totalLength() / static_cast<double>(count_) : 0;
}

double TSGradientGeometry::gradientViewLeftOffset(double selectorWidth, double offsetFactor) const {
  const double n = static_cast<double>(count_);
  return (-1 - n * offsetFactor) * selectorWidth * (v_ + 1) + selectorWidth * offsetFactor * n;
}

double TSGradientGeometry::maskShift(double selectorWidth, double offsetFactor) const {
  return selectorWidth * offsetFactor * static_cast<double>(count_) -
         gradientViewLeftOffset(selectorWidth, offsetFactor);
}
