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
  UIColor tint;  // laid over the blur (source-over)
  bool operator==(const BlurLook&) const = default;
};

// Integer pixel rectangle on a surface.
struct PixelRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const PixelRect&) const = default;
};

// The blurred image of what lies behind one blur view, with its cache.
// blur() reduces a region of an already drawn surface (block averages, read
// straight from the surface), blurs it with box passes, boosts saturation,
// lays the tint over it and scales it back up. The result depends on the
// reduced pixels alone, so those are what it keeps: when the next frame
// reduces to the same pixels (with the same look, scale and region) it hands
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
  // The same blur of a backdrop that was drawn small rather than drawn large and reduced, scaled up straight
  // onto `target`'s `region` (replacing its pixels). `small` (ARGB32) holds the region drawn at
  // 1/reductionFactor(scale) of `scale`, one pixel a block (the region may be stretched by less than a block to
  // fill its last pixels). Draws nothing and answers false when the blur is not opaque.
  bool blurSmallOnto(cairo_surface_t* small, cairo_surface_t* target, const PixelRect& region, double scale,
                     const BlurLook& look);
  // Whether the last call reused the previous blur.
  bool lastWasCacheHit() const { return lastHit_; }
  // Whether the last result covers every pixel fully (an opaque backdrop, or an opaque tint).
  bool isOpaque() const { return opaque_; }

  // The reduction factor used at a pixel scale: blocks of about four points.
  static int reductionFactor(double scale);

 private:
  // Blurs reduced_ into blurred_ unless reduced_ equals the pixels blurred last time with the same look.
  void prepare(const PixelRect& region, double scale, const BlurLook& look);
  // Scales blurred_ up into result_ unless it holds it already.
  void makeResult(const PixelRect& region);

  cairo_surface_t* result_ = nullptr;
  bool resultMade_ = false;  // result_ holds blurred_ scaled up
  PixelRect region_;
  double scale_ = 0;
  BlurLook look_;
  PixelBuffer reduced_;
  PixelBuffer kept_;     // the reduced pixels blurred_ was made from
  PixelBuffer blurred_;  // kept_ blurred, saturated and tinted
  std::vector<uint32_t> scratch_;
  double spanX_ = 0, spanY_ = 0;  // the region's pixels that one pixel of reduced_ stands for
  double keptSpanX_ = 0, keptSpanY_ = 0;
  bool lastHit_ = false;
  bool opaque_ = false;
};

}  // namespace platform
