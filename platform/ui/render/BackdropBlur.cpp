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
  spanX_ = spanY_ = factor;
  prepare(region, scale, look);
  makeResult(region);
  return result_;
}

bool BackdropBlur::blurSmallOnto(cairo_surface_t* small, cairo_surface_t* target, const PixelRect& region, double scale,
                                 const BlurLook& look) {
  cairo_surface_flush(small);
  const int factor = reductionFactor(scale);
  reduced_.width = std::min((region.width + factor - 1) / factor, cairo_image_surface_get_width(small));
  reduced_.height = std::min((region.height + factor - 1) / factor, cairo_image_surface_get_height(small));
  reduced_.pixels.resize(static_cast<size_t>(reduced_.width) * reduced_.height);
  const auto* data = cairo_image_surface_get_data(small);
  const int stride = cairo_image_surface_get_stride(small);
  for (int y = 0; y < reduced_.height; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
    std::copy(row, row + reduced_.width, &reduced_.pixels[static_cast<size_t>(y) * reduced_.width]);
  }
  // Drawn small, the region may have been stretched to fill whole pixels: each spans a hair less than a block.
  spanX_ = static_cast<double>(region.width) / std::max(reduced_.width, 1);
  spanY_ = static_cast<double>(region.height) / std::max(reduced_.height, 1);
  prepare(region, scale, look);
  if (!opaque_) return false;
  cairo_surface_flush(target);
  const int targetStride = cairo_image_surface_get_stride(target) / 4;
  auto* origin = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(target)) +
                 static_cast<size_t>(region.y) * targetStride + region.x;
  if (!lastHit_) {
    // A new blur (the backdrop moves) is scaled up once, straight onto the frame.
    BlurKernel::upscale(blurred_, spanX_, spanY_, origin, region.width, region.height, targetStride, scratch_);
  } else {
    // The same blur again (a still backdrop) is kept scaled up: copying is cheaper than scaling again.
    makeResult(region);
    const auto* from = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(result_));
    const int fromStride = cairo_image_surface_get_stride(result_) / 4;
    for (int y = 0; y < region.height; ++y)
      std::copy_n(from + static_cast<size_t>(y) * fromStride, region.width,
                  origin + static_cast<size_t>(y) * targetStride);
  }
  cairo_surface_mark_dirty(target);
  return true;
}

void BackdropBlur::makeResult(const PixelRect& region) {
  if (resultMade_) return;
  if (!result_ || cairo_image_surface_get_width(result_) != region.width ||
      cairo_image_surface_get_height(result_) != region.height) {
    if (result_) cairo_surface_destroy(result_);
    result_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(region.width, 1), std::max(region.height, 1));
  }
  cairo_surface_flush(result_);
  BlurKernel::upscale(blurred_, spanX_, spanY_, reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(result_)),
                      region.width, region.height, cairo_image_surface_get_stride(result_) / 4, scratch_);
  cairo_surface_mark_dirty(result_);
  resultMade_ = true;
}

void BackdropBlur::prepare(const PixelRect& region, double scale, const BlurLook& look) {
  const int factor = reductionFactor(scale);
  lastHit_ = !kept_.pixels.empty() && spanX_ == keptSpanX_ && spanY_ == keptSpanY_ && region == region_ &&
             scale == scale_ && look == look_ && reduced_.width == kept_.width && reduced_.height == kept_.height &&
             reduced_.pixels == kept_.pixels;
  if (lastHit_) return;
  kept_.width = reduced_.width;
  kept_.height = reduced_.height;
  kept_.pixels = reduced_.pixels;
  keptSpanX_ = spanX_;
  keptSpanY_ = spanY_;
  region_ = region;
  scale_ = scale;
  look_ = look;

  std::swap(blurred_, reduced_);
  BlurKernel::gaussianApproximation(blurred_, look.sigmaPoints * scale / factor, scratch_);
  BlurKernel::saturate(blurred_, look.saturation);
  BlurKernel::tint(blurred_, look.tint);
  // A block average is opaque only when every pixel of the block was.
  opaque_ = BlurKernel::isOpaque(blurred_);
  resultMade_ = false;
}

}  // namespace platform
