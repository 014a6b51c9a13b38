#include "platform/ui/render/BackdropBlur.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace platform {

BackdropBlur::~BackdropBlur() {
  if (result_) cairo_surface_destroy(result_);
}

int BackdropBlur::reductionFactor(double scale) { return std::max(1, static_cast<int>(std::lround(4 * scale))); }

cairo_surface_t* BackdropBlur::blur(cairo_surface_t* source, const PixelRect& region, double scale,
                                    const BlurLook& look) {
  cairo_surface_flush(source);
  const int factor = reductionFactor(scale);
  const auto* data = cairo_image_surface_get_data(source);
  const int stride = cairo_image_surface_get_stride(source) / 4;
  const auto* origin = reinterpret_cast<const uint32_t*>(data) + static_cast<size_t>(region.y) * stride + region.x;
  BlurKernel::downsample(origin, region.width, region.height, stride, factor, reduced_);

  lastHit_ = result_ && region == region_ && scale == scale_ && look == look_ && reduced_.width == kept_.width &&
             reduced_.height == kept_.height && reduced_.pixels == kept_.pixels;
  if (lastHit_) return result_;
  kept_.width = reduced_.width;
  kept_.height = reduced_.height;
  kept_.pixels = reduced_.pixels;
  region_ = region;
  scale_ = scale;
  look_ = look;

  BlurKernel::gaussianApproximation(reduced_, look.sigmaPoints * scale / factor, scratch_);
  BlurKernel::saturate(reduced_, look.saturation);
  BlurKernel::tint(reduced_, look.tint);
  // A block average is opaque only when every pixel of the block was.
  opaque_ = BlurKernel::isOpaque(reduced_);

  if (!result_ || cairo_image_surface_get_width(result_) != region.width ||
      cairo_image_surface_get_height(result_) != region.height) {
    if (result_) cairo_surface_destroy(result_);
    result_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(region.width, 1), std::max(region.height, 1));
  }
  cairo_surface_flush(result_);
  BlurKernel::upscale(reduced_, factor, reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(result_)),
                      region.width, region.height, cairo_image_surface_get_stride(result_) / 4, scratch_);
  cairo_surface_mark_dirty(result_);
  return result_;
}

}  // namespace platform
