#pragma once

#include <vector>

#include "platform/ui/CALayer.h"
#include "platform/ui/UIColor.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace platform {

class CAGradientLayer;

// Paints a gradient layer's gradient and keeps the pixels: filling a large
// area with a gradient is slow, so when the next frame draws the same
// gradient at the same size, scale and sub-pixel position it is copied from
// the kept image instead. Transforms that rotate or skew are drawn directly.
// One painter per layer; it owns its image.
class GradientPainter {
 public:
  GradientPainter() = default;
  ~GradientPainter();
  GradientPainter(const GradientPainter&) = delete;
  GradientPainter& operator=(const GradientPainter&) = delete;

  // Fills the layer's bounds (user space of `cr`) with its gradient.
  void paint(cairo_t* cr, const CAGradientLayer& layer, const CALayer::Presentation& p);
  // Whether the last paint copied the kept image.
  bool lastWasCacheHit() const { return lastHit_; }

  // Draws the gradient straight onto `cr` (no cache).
  static void paintDirect(cairo_t* cr, const CAGradientLayer& layer, const CGRect& bounds);

 private:
  struct Key {
    std::vector<UIColor> colors;
    std::vector<double> locations;
    CGPoint start, end;
    CGSize size;
    double scaleX = 0, scaleY = 0, fractionX = 0, fractionY = 0;
    bool operator==(const Key&) const = default;
  };
  cairo_surface_t* image_ = nullptr;
  Key key_;
  bool lastHit_ = false;
};

}  // namespace platform
