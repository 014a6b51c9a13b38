#include "platform/ui/render/BackdropBlur.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace platform {

BackdropBlur::~BackdropBlur() {
  if (result_) cairo_surface_destroy(result_);
}

int BackdropBlur::reductionFactor(double scale) { return std::max(1, static_cast<int>(std::lround(2 * scale))); }

bool BackdropBlur::sameBackdrop(cairo_surface_t* source, const PixelRect& region) const {
  if (backdrop_.size() != static_cast<size_t>(region.width) * region.height) return false;
  const unsigned char* data = cairo_image_surface_get_data(source);
  const int stride = cairo_image_surface_get_stride(source);
  const size_t rowBytes = static_cast<size_t>(region.width) * 4;
  for (int y = 0; y < region.height; ++y) {
    const unsigned char* row = data + static_cast<size_t>(region.y + y) * stride + static_cast<size_t>(region.x) * 4;
    if (std::memcmp(row, &backdrop_[static_cast<size_t>(y) * region.width], rowBytes) != 0) return false;
  }
  return true;
}

void BackdropBlur::keepBackdrop(cairo_surface_t* source, const PixelRect& region) {
  backdrop_.resize(static_cast<size_t>(region.width) * region.height);
  const unsigned char* data = cairo_image_surface_get_data(source);
  const int stride = cairo_image_surface_get_stride(source);
  const size_t rowBytes = static_cast<size_t>(region.width) * 4;
  for (int y = 0; y < region.height; ++y) {
    const unsigned char* row = data + static_cast<size_t>(region.y + y) * stride + static_cast<size_t>(region.x) * 4;
    std::memcpy(&backdrop_[static_cast<size_t>(y) * region.width], row, rowBytes);
  }
}

cairo_surface_t* BackdropBlur::blur(cairo_surface_t* source, const PixelRect& region, double scale,
                                    const BlurLook& look) {
  cairo_surface_flush(source);
  lastHit_ = result_ && region == region_ && scale == scale_ && look == look_ && sameBackdrop(source, region);
  if (lastHit_) return result_;

  keepBackdrop(source, region);
  region_ = region;
  scale_ = scale;
  look_ = look;

  const int factor = reductionFactor(scale);
  BlurKernel::downsample(backdrop_.data(), region.width, region.height, region.width, factor, reduced_);
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
  cairo_surface_t* small = cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(reduced_.pixels.data()), CAIRO_FORMAT_ARGB32, reduced_.width, reduced_.height,
      reduced_.width * 4);
  cairo_t* cr = cairo_create(result_);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(small);
  cairo_matrix_t matrix;
  cairo_matrix_init_scale(&matrix, 1.0 / factor, 1.0 / factor);
  cairo_pattern_set_matrix(pattern, &matrix);
  cairo_pattern_set_filter(pattern, CAIRO_FILTER_BILINEAR);
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
  cairo_set_source(cr, pattern);
  cairo_paint(cr);
  cairo_pattern_destroy(pattern);
  cairo_destroy(cr);
  cairo_surface_destroy(small);
  cairo_surface_flush(result_);
  return result_;
}

}  // namespace platform
