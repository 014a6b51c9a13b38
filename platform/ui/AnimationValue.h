#pragma once

#include "platform/ui/LayerValue.h"

namespace platform {

// An animatable property's value as up to six numbers, so that blending is
// the same arithmetic for every type: a point (x, y), a size (w, h), a
// rectangle (x, y, w, h), a colour (r, g, b, a; nil = clear), a transform
// decomposed into (scale x, scale y, rotation, tx, ty) without shear, a number.
struct AnimationValue {
  double v[6] = {0, 0, 0, 0, 0, 0};

  // The numbers of a property's value.
  static AnimationValue from(LayerProperty p, const LayerValue& value);
  // The property's value back from the numbers.
  LayerValue toLayerValue(LayerProperty p) const;
  // from + (to - from) × t.
  static AnimationValue lerp(const AnimationValue& from, const AnimationValue& to, double t);
  // this + (a - b), for additive animations.
  void addDifference(const AnimationValue& a, const AnimationValue& b);
};

}  // namespace platform
