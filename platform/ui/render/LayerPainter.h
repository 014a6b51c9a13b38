#pragma once

#include <string>

#include "platform/ui/CALayer.h"

typedef struct _cairo cairo_t;

namespace platform {

class CAGradientLayer;

// Paints what a layer itself shows, in its bounds coordinates on the
// context: the background with rounded corners, a gradient layer's
// gradient, a shape layer's filled path, the border. Stateless.
class LayerPainter {
 public:
  // Moves the context from the superlayer's coordinates into the layer's bounds coordinates.
  static void enterLayer(cairo_t* cr, const CALayer::Presentation& p);
  // Background colour over the (rounded) bounds, multiplied by `alpha`.
  static void paintBackground(cairo_t* cr, const CALayer::Presentation& p, double alpha = 1);
  // What the background drawing depends on besides the bounds' size (a cache key).
  static std::string backgroundKey(const CALayer::Presentation& p, double alpha);
  // A gradient layer's gradient over `bounds`.
  static void paintGradient(cairo_t* cr, const CAGradientLayer& layer, const CGRect& bounds);
  // What the gradient drawing depends on besides the bounds' size (a cache key).
  static std::string gradientKey(const CAGradientLayer& layer);
  // The layer's own fill: a gradient layer's gradient or a shape layer's path.
  static void paintContents(cairo_t* cr, const CALayer& layer, const CALayer::Presentation& p);
  // The border, drawn inside the (rounded) bounds.
  static void paintBorder(cairo_t* cr, const CALayer& layer, const CALayer::Presentation& p);
  // A free layer (a mask): background and contents, moved by its own geometry and opacity.
  static void paintFreeLayer(cairo_t* cr, const CALayer& layer);
  // Clips to the (rounded) bounds.
  static void clipToBounds(cairo_t* cr, const CALayer::Presentation& p);
};

}  // namespace platform
