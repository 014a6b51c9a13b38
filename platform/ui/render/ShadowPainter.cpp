#include "platform/ui/render/ShadowPainter.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace platform {

ShadowPainter::~ShadowPainter() = default;

int ShadowPainter::reductionFactor(double sigma) { return std::clamp(static_cast<int>(sigma / 2.5), 1, 8); }

void ShadowPainter::paint(cairo_t* cr, const PixelRect& shape, const DeviceShadow& shadow, const CoverageFn& coverage) {
  lastHit_ = false;
  if (shadow.color.alpha() <= 0 || shape.width <= 0 || shape.height <= 0) return;
  const double sigma = std::max(shadow.sigma, 0.0);
  const int factor = reductionFactor(sigma);
  // Room for the blur to spread: three standard deviations, in whole reduced pixels.
  const int margin = static_cast<int>(std::ceil(3 * sigma / factor)) + 1;
  const int originX = shape.x - margin * factor;
  const int originY = shape.y - margin * factor;
  const int width = (shape.width + factor - 1) / factor + 2 * margin;
  const int height = (shape.height + factor - 1) / factor + 2 * margin;

  // The coverage, drawn small.
  PixelBuffer mask;
  mask.width = width;
  mask.height = height;
  mask.pixels.assign(static_cast<size_t>(width) * height, 0);
  {
    cairo_surface_t* surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(mask.pixels.data()),
                                                                   CAIRO_FORMAT_ARGB32, width, height, width * 4);
    cairo_t* m = cairo_create(surface);
    cairo_scale(m, 1.0 / factor, 1.0 / factor);
    cairo_translate(m, -originX, -originY);
    coverage(m);
    cairo_destroy(m);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
  }

  lastHit_ = sigma == sigma_ && factor == factor_ && mask.width == mask_.width && mask.height == mask_.height &&
             mask.pixels == mask_.pixels;
  if (!lastHit_) {
    mask_ = std::move(mask);
    sigma_ = sigma;
    factor_ = factor;
    blurred_ = mask_;
    BlurKernel::gaussianApproximation(blurred_, sigma / factor, scratch_);
  }

  cairo_surface_t* blurred =
      cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(blurred_.pixels.data()), CAIRO_FORMAT_ARGB32,
                                          blurred_.width, blurred_.height, blurred_.width * 4);
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(blurred);
  cairo_matrix_t matrix;
  cairo_matrix_init_translate(&matrix, -(originX + shadow.dx), -(originY + shadow.dy));
  cairo_matrix_t shrink;
  cairo_matrix_init_scale(&shrink, 1.0 / factor, 1.0 / factor);
  cairo_matrix_multiply(&matrix, &matrix, &shrink);
  cairo_pattern_set_matrix(pattern, &matrix);
  cairo_pattern_set_filter(pattern, CAIRO_FILTER_BILINEAR);
  cairo_set_source_rgba(cr, shadow.color.red(), shadow.color.green(), shadow.color.blue(), shadow.color.alpha());
  cairo_mask(cr, pattern);
  cairo_pattern_destroy(pattern);
  cairo_restore(cr);
  cairo_surface_destroy(blurred);
}

}  // namespace platform
