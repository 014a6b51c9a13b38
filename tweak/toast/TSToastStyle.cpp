#include "tweak/toast/TSToastStyle.h"

#include <algorithm>
#include <cmath>

namespace {

// NaN is no share at all.
double clampedShare(double value) { return std::isnan(value) ? 0.0 : std::clamp(value, 0.0, 1.0); }

}  // namespace

std::shared_ptr<TSToastStyle> TSToastStyle::createWithDefaultStyle() {
  return std::shared_ptr<TSToastStyle>(new TSToastStyle());
}

void TSToastStyle::setMaxWidthPercentage(double percentage) { maxWidthPercentage_ = clampedShare(percentage); }

void TSToastStyle::setMaxHeightPercentage(double percentage) { maxHeightPercentage_ = clampedShare(percentage); }
