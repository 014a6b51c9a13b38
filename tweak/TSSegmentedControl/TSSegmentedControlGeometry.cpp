#include "tweak/TSSegmentedControl/TSSegmentedControlGeometry.h"

#include <algorithm>
#include <cmath>

using platform::CGPoint;
using platform::CGRect;

double TSSegmentedControlGeometry::spacerViewWidthMultiplier() const {
  return count_ > 0 ? static_cast<double>(count_ - 1) / static_cast<double>(count_) : 0;
}

double TSSegmentedControlGeometry::selectorViewWidthMultiplier() const {
  return count_ > 0 ? 1.0 / static_cast<double>(count_) : 0;
}

double TSSegmentedControlGeometry::percentFromOffset(double x) const {
  const double s = spacerWidth();
  if (count_ < 2 || s <= 0) return 0;
  const double n1 = static_cast<double>(count_ - 1);
  return n1 - (x / s) * n1;
}

CGPoint TSSegmentedControlGeometry::offsetFromState(long state) const {
  if (count_ < 2) return {0, 0};
  return {static_cast<double>(count_ - 1 - state) * spacerWidth() / static_cast<double>(count_ - 1), 0};
}

long TSSegmentedControlGeometry::stateFromOffset(double x) const {
  const double s = spacerWidth();
  if (count_ < 2 || s <= 0) return 0;
  const double r = std::round((x / s) * static_cast<double>(count_ - 1));
  return count_ - 1 - static_cast<long>(r);
}

CGPoint TSSegmentedControlGeometry::nearestStateOffsetFromOffset(CGPoint offset) const {
  const double s = spacerWidth();
  if (count_ < 2 || s <= 0) return {0, offset.y};
  const double n1 = static_cast<double>(count_ - 1);
  const float q = std::round(static_cast<float>((offset.x / s) * n1));
  return {static_cast<double>(q) / n1 * s, offset.y};
}

long TSSegmentedControlGeometry::stateFromTapPoint(CGPoint point) const {
  const double w = selectorWidth();
  if (count_ < 1 || w <= 0) return 0;
  const double slot = std::floor(point.x / w);
  return static_cast<long>(std::clamp(slot, 0.0, static_cast<double>(count_ - 1)));
}

CGRect TSSegmentedControlGeometry::slotFrame(long index, double height) const {
  const double w = selectorWidth();
  return {{static_cast<double>(index) * w, 0}, {w, height}};
}

long TSSegmentedControlGeometry::leftStateIndexFromPercentage(double percent) {
  return static_cast<long>(std::floor(percent));
}

long TSSegmentedControlGeometry::rightStateIndexFromPercentage(double percent) {
  return static_cast<long>(std::floor(percent)) + 1;
}
