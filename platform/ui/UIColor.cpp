#include "platform/ui/UIColor.h"

#include <algorithm>

namespace platform {

UIColor UIColor::interpolate(const UIColor& from, const UIColor& to, double t) {
  auto mix = [t](double a, double b) { return std::clamp(a + (b - a) * t, 0.0, 1.0); };
  return {mix(from.r_, to.r_), mix(from.g_, to.g_), mix(from.b_, to.b_), mix(from.a_, to.a_)};
}

}  // namespace platform
