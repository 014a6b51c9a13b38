#pragma once

#include <cstdint>
#include <vector>

#include "platform/ui/UIColor.h"
#include "platform/ui/render/BlurKernel.h"

typedef struct _cairo_surface cairo_surface_t;

namespace platform {

// How a blur view looks: the blur's spread, a colour laid over the blurred
// backdrop and a saturation boost. The pixel scale decides how far the
// backdrop is reduced before blurring.
struct BlurLook {
  double sigmaPoints = 10;  // gaussian standard deviation, in points
  double saturation = 1.8;
  UIColor tint;             // laid over the blur (source-over)
  bool operator==(const BlurLook&) const = default;
};

// Integer pixel rectangle on a surface.
struct PixelRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const PixelRect&) const = default;
};

// The blurred image of what lies behind one blur view, with its cache.
// blur() reads a region of an already drawn surface, reduces it, blurs it
// with box passes, boosts saturation, scales it back up and lays the tint
// over it. It keeps a copy of the pixels it read: when the next frame finds
// the same pixels (and the same look and scale) behind the view it hands
// back the previous result without blurring again. Owns its result surface.
class BackdropBlur {
 public:
  BackdropBlur() = default;
  ~BackdropBlur();
  BackdropBlur(const BackdropBlur&) = delete;
  BackdropBlur& operator=(const BackdropBlur&) = delete;

  // The blurred region of `source` (ARGB32), region.width x region.height pixels; owned by this object.
  // `region` must lie inside the source. `scale` is the source's pixels per point.
  cairo_surface_t* blur(cairo_surface_t* source, const PixelRect& region, double scale, const BlurLook& look);
  // Whether the last blur() reused the previous result.
  bool lastWasCacheHit() const { return lastHit_; }
  // Whether the last result covers every pixel fully (an opaque backdrop, or an opaque tint).
  bool isOpaque() const { return opaque_; }

  // The reduction factor used at a pixel scale: blocks of about two points.
  static int reductionFactor(double scale);

 private:
  bool sameBackdrop(cairo_surface_t* source, const PixelRect& region) const;
  void keepBackdrop(cairo_surface_t* source, const PixelRect& region);

  cairo_surface_t* result_ = nullptr;
  PixelRect region_;
  double scale_ = 0;
  BlurLook look_;
  std::vector<uint32_t> backdrop_;  // the pixels the result was made from
  PixelBuffer reduced_;
  std::vector<uint32_t> scratch_;
  bool lastHit_ = false;
  bool opaque_ = false;
};

}  // namespace platform
