#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/ui/UIColor.h"

namespace platform {

// A premultiplied ARGB32 pixel buffer (Cairo's CAIRO_FORMAT_ARGB32 layout,
// rows packed without padding). Plain value owned by whoever holds it.
struct PixelBuffer {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // width * height, row-major

  uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The pixel steps of a backdrop blur, done at reduced resolution: average
// blocks down, blur with three box passes in each direction (close to a
// gaussian), adjust saturation, lay a tint over. Pure functions on buffers; the caller owns
// every buffer. Edges repeat their outermost pixels, so a blur near the
// screen's edge does not darken.
class BlurKernel {
 public:
  // Averages factor x factor blocks of `src` (a row stride in pixels) into `out`; partial edge blocks average what they
  // hold.
  static void downsample(const uint32_t* src, int width, int height, int stride, int factor, PixelBuffer& out);
  // One horizontal and one vertical box pass of half-width `radius` (at most 128), edges clamped; `scratch` is
  // reused storage.
  static void boxBlur(PixelBuffer& buffer, int radius, std::vector<uint32_t>& scratch);
  // Three box passes whose combined spread approximates a gaussian of standard deviation `sigma` pixels.
  static void gaussianApproximation(PixelBuffer& buffer, double sigma, std::vector<uint32_t>& scratch);
  // Scales colour saturation about each pixel's luminance (1 keeps it; premultiplied values stay valid).
  static void saturate(PixelBuffer& buffer, double amount);
  // Lays a colour over every pixel (source-over); a uniform colour commutes with scaling, so it can be laid small.
  static void tint(PixelBuffer& buffer, const UIColor& color);
  // Whether every pixel is fully opaque.
  static bool isOpaque(const PixelBuffer& buffer);
  // Scales `small` up into `out` (width x height pixels, `stride` in pixels), each small pixel spanning
  // `spanX` x `spanY` output pixels, with bilinear filtering between pixel centres, edges repeated: the reverse
  // of downsample() (spans equal to its factor), ready to show. `rows` is reused storage.
  static void upscale(const PixelBuffer& small, double spanX, double spanY, uint32_t* out, int width, int height,
                      int stride, std::vector<uint32_t>& rows);
  // Box half-width whose three passes give standard deviation close to `sigma` pixels (0 for tiny sigma).
  static int boxRadiusForSigma(double sigma);
};

}  // namespace platform
