#pragma once

#include <functional>
#include <vector>

#include "platform/ui/UIColor.h"
#include "platform/ui/render/BackdropBlur.h"
#include "platform/ui/render/BlurKernel.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace platform {

// A drop shadow in device pixels: colour (opacity folded into its alpha),
// gaussian spread and offset.
struct DeviceShadow {
  UIColor color;
  double sigma = 0;  // standard deviation, device pixels
  double dx = 0;     // offset, device pixels
  double dy = 0;
};

// Draws one layer's drop shadow: the shape's coverage drawn small, blurred
// with box passes, scaled back up and filled with the shadow colour, offset.
// The shape is drawn at a reduced size for wide shadows (the blur hides the
// difference), and the blurred result is kept: when the next frame draws the
// same coverage with the same spread, the blur is not redone. One painter
// per layer; it owns its buffers.
class ShadowPainter {
 public:
  // Draws the shape's coverage into a context whose transform maps device pixels to the mask.
  using CoverageFn = std::function<void(cairo_t* mask)>;

  ShadowPainter() = default;
  ~ShadowPainter();
  ShadowPainter(const ShadowPainter&) = delete;
  ShadowPainter& operator=(const ShadowPainter&) = delete;

  // Paints the shadow on `cr` of a shape whose coverage lies in `shapeDevice` (device pixels).
  void paint(cairo_t* cr, const PixelRect& shapeDevice, const DeviceShadow& shadow, const CoverageFn& coverage);
  // Whether the last paint reused the previous blur.
  bool lastWasCacheHit() const { return lastHit_; }

  // The reduction used for a spread of `sigma` device pixels.
  static int reductionFactor(double sigma);

 private:
  PixelBuffer mask_;     // the coverage the blur was made from
  PixelBuffer blurred_;  // its blur
  std::vector<uint32_t> scratch_;
  double sigma_ = -1;
  int factor_ = 0;
  bool lastHit_ = false;
};

}  // namespace platform
