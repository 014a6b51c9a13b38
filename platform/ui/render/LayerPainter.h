#pragma once

#include "platform/ui/CALayer.h"

typedef struct _cairo cairo_t;

namespace platform {

// Paints what a layer itself shows, in its bounds coordinates on the
// context: the background with rounded corners, a gradient layer's
// gradient, a shape layer's filled path, the border. Stateless.
class LayerPainter {
 public:
  // Moves the context from the superlayer's coordinates into the layer's bounds coordinates.
  static void enterLayer(cairo_t* cr, const CALayer::Presentation& p);
  // Background colour over the (rounded) bounds, multiplied by `alpha`.
  static void paintBackground(cairo_t* cr, const CALayer::Presentation& p, double alpha = 1);
  // The layer's own fill: a gradient layer's gradient (drawn directly) or a shape layer's path.
  static void paintContents(cairo_t* cr, const CALayer& layer, const CALayer::Presentation& p);
  // The border, drawn inside the (rounded) bounds.
  static void paintBorder(cairo_t* cr, const CALayer& layer, const CALayer::Presentation& p);
  // A free layer (a mask): background and contents, moved by its own geometry and opacity.
  static void paintFreeLayer(cairo_t* cr, const CALayer& layer);
  // Clips to the (rounded) bounds.
  static void clipToBounds(cairo_t* cr, const CALayer::Presentation& p);
};

}  // namespace platform
