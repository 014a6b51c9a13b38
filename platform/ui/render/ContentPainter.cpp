#include "platform/ui/render/ContentPainter.h"

#include <cairo.h>

#include <cmath>

#include "platform/ui/UIActivityIndicatorView.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/render/ImageRasterCache.h"

namespace platform {

namespace {

// How much a pressed button's image keeps of its alpha.
constexpr double kDimmedImageAlpha = 0.35;

}  // namespace

void ContentPainter::paintImageView(cairo_t* cr, const UIImageView& view) {
  const auto& image = view.image();
  if (!image || !image->surface()) return;
  const CGRect rect = CGRectStandardize(view.imageRect());
  if (rect.size.width <= 0 || rect.size.height <= 0) return;
  double alpha = 1;
  if (auto* button = dynamic_cast<const UIButton*>(view.superview()); button && button->isImageDimmed())
    alpha = kDimmedImageAlpha;

  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(image->surface());
  const double sx = image->pixelWidth() / rect.size.width;
  const double sy = image->pixelHeight() / rect.size.height;
  cairo_matrix_t matrix;
  cairo_matrix_init(&matrix, sx, 0, 0, sy, -rect.origin.x * sx, -rect.origin.y * sy);
  cairo_pattern_set_matrix(pattern, &matrix);
  cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);

  const bool mask = view.drawsAsTemplate();
  const UIColor tint = mask ? view.tintColor() : UIColor();
  const double look[] = {mask ? 1.0 : 0.0, tint.red(), tint.green(), tint.blue(), tint.alpha(), alpha};
  ImageRasterCache::paint(cr, image->surface(), rect, look, 6, [&](cairo_t* g) {
    if (mask) {
      cairo_set_source_rgba(g, tint.red(), tint.green(), tint.blue(), tint.alpha() * alpha);
      cairo_mask(g, pattern);
    } else {
      cairo_set_source(g, pattern);
      cairo_paint_with_alpha(g, alpha);
    }
  });
  cairo_pattern_destroy(pattern);
}

void ContentPainter::paintActivityIndicator(cairo_t* cr, const UIActivityIndicatorView& spinner) {
  if (!spinner.isAnimating() && spinner.hidesWhenStopped()) return;
  const CGRect b = spinner.bounds();
  const double side = std::min(b.size.width, b.size.height);
  if (side <= 0) return;
  const double cx = b.origin.x + b.size.width / 2, cy = b.origin.y + b.size.height / 2;
  const double outer = side / 2, inner = outer * 0.45, width = side * 0.08;
  // Twelve spokes; the brightest one steps round once a second.
  constexpr int kSpokes = 12;
  const int lead = static_cast<int>(std::floor(spinner.animationTime() * kSpokes)) % kSpokes;
  const UIColor color = spinner.color();
  cairo_save(cr);
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int i = 0; i < kSpokes; ++i) {
    const double angle = -M_PI / 2 + i * 2 * M_PI / kSpokes;
    const int age = (lead - i + kSpokes) % kSpokes;
    const double alpha = 1.0 - 0.75 * age / (kSpokes - 1);
    cairo_set_source_rgba(cr, color.red(), color.green(), color.blue(), color.alpha() * alpha);
    cairo_move_to(cr, cx + std::cos(angle) * (inner + width / 2), cy + std::sin(angle) * (inner + width / 2));
    cairo_line_to(cr, cx + std::cos(angle) * (outer - width / 2), cy + std::sin(angle) * (outer - width / 2));
    cairo_stroke(cr);
  }
  cairo_restore(cr);
}

}  // namespace platform
