#include "platform/ui/AnimationValue.h"

#include <cmath>

namespace platform {

AnimationValue AnimationValue::from(LayerProperty p, const LayerValue& value) {
  AnimationValue a;
  switch (p) {
    case LayerProperty::Position:
      if (auto pt = std::get_if<CGPoint>(&value)) {
        a.v[0] = pt->x;
        a.v[1] = pt->y;
      }
      break;
    case LayerProperty::ShadowOffset:
      if (auto s = std::get_if<CGSize>(&value)) {
        a.v[0] = s->width;
        a.v[1] = s->height;
      }
      break;
    case LayerProperty::Bounds:
      if (auto r = std::get_if<CGRect>(&value)) {
        a.v[0] = r->origin.x;
        a.v[1] = r->origin.y;
        a.v[2] = r->size.width;
        a.v[3] = r->size.height;
      }
      break;
    case LayerProperty::BackgroundColor:
    case LayerProperty::ShadowColor:
      if (auto c = std::get_if<UIColor>(&value)) {
        a.v[0] = c->red();
        a.v[1] = c->green();
        a.v[2] = c->blue();
        a.v[3] = c->alpha();
      }
      break;
    case LayerProperty::Transform:
      if (auto t = std::get_if<CGAffineTransform>(&value)) {
        double sx = std::hypot(t->a, t->b);
        double rot = std::atan2(t->b, t->a);
        double sy = sx != 0 ? (t->a * t->d - t->b * t->c) / sx : std::hypot(t->c, t->d);
        a.v[0] = sx;
        a.v[1] = sy;
        a.v[2] = rot;
        a.v[3] = t->tx;
        a.v[4] = t->ty;
      } else {
        a.v[0] = a.v[1] = 1;
      }
      break;
    case LayerProperty::Opacity:
    case LayerProperty::CornerRadius:
    case LayerProperty::ShadowOpacity:
    case LayerProperty::ShadowRadius: a.v[0] = layerValueAsDouble(value); break;
  }
  return a;
}

LayerValue AnimationValue::toLayerValue(LayerProperty p) const {
  switch (p) {
    case LayerProperty::Position: return CGPoint{v[0], v[1]};
    case LayerProperty::ShadowOffset: return CGSize{v[0], v[1]};
    case LayerProperty::Bounds: return CGRect{{v[0], v[1]}, {v[2], v[3]}};
    case LayerProperty::BackgroundColor:
    case LayerProperty::ShadowColor:
      return UIColor::interpolate(UIColor(v[0], v[1], v[2], v[3]), UIColor(v[0], v[1], v[2], v[3]), 0);
    case LayerProperty::Transform: {
      double c = std::cos(v[2]), s = std::sin(v[2]);
      return CGAffineTransform{v[0] * c, v[0] * s, -v[1] * s, v[1] * c, v[3], v[4]};
    }
    case LayerProperty::Opacity:
    case LayerProperty::CornerRadius:
    case LayerProperty::ShadowOpacity:
    case LayerProperty::ShadowRadius: return v[0];
  }
  return {};
}

AnimationValue AnimationValue::lerp(const AnimationValue& from, const AnimationValue& to, double t) {
  AnimationValue r;
  for (int i = 0; i < 6; ++i) r.v[i] = from.v[i] + (to.v[i] - from.v[i]) * t;
  return r;
}

void AnimationValue::addDifference(const AnimationValue& a, const AnimationValue& b) {
  for (int i = 0; i < 6; ++i) v[i] += a.v[i] - b.v[i];
}

}  // namespace platform
