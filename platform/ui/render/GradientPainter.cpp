#include "platform/ui/render/GradientPainter.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "platform/ui/CAGradientLayer.h"

namespace platform {

GradientPainter::~GradientPainter() {
  if (image_) cairo_surface_destroy(image_);
}

void GradientPainter::paintDirect(cairo_t* cr, const CAGradientLayer& layer, const CGRect& b) {
  const auto& colors = layer.colors();
  if (colors.empty()) return;
  const CGPoint s = layer.startPoint(), e = layer.endPoint();
  cairo_pattern_t* pattern =
      cairo_pattern_create_linear(b.origin.x + s.x * b.size.width, b.origin.y + s.y * b.size.height,
                                  b.origin.x + e.x * b.size.width, b.origin.y + e.y * b.size.height);
  const auto& locations = layer.locations();
  // Locations apply only when there is one per colour; otherwise the colours are spread evenly.
  const bool useLocations = locations.size() == colors.size();
  for (size_t i = 0; i < colors.size(); ++i) {
    const double offset =
        useLocations ? locations[i] : (colors.size() == 1 ? 0.0 : static_cast<double>(i) / (colors.size() - 1));
    const UIColor& c = colors[i];
    cairo_pattern_add_color_stop_rgba(pattern, std::clamp(offset, 0.0, 1.0), c.red(), c.green(), c.blue(), c.alpha());
  }
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
  cairo_set_source(cr, pattern);
  cairo_rectangle(cr, b.origin.x, b.origin.y, b.size.width, b.size.height);
  cairo_fill(cr);
  cairo_pattern_destroy(pattern);
}

void GradientPainter::paint(cairo_t* cr, const CAGradientLayer& layer, const CALayer::Presentation& p) {
  lastHit_ = false;
  if (layer.colors().empty()) return;
  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  const CGRect b = p.bounds;
  // Only an axis-aligned, positive scale maps to a kept image pixel for pixel.
  if (m.xy != 0 || m.yx != 0 || m.xx <= 0 || m.yy <= 0 || b.size.width <= 0 || b.size.height <= 0) {
    paintDirect(cr, layer, b);
    return;
  }
  // Device position of the bounds' corner, split into whole pixels and the fraction.
  double x = b.origin.x, y = b.origin.y;
  cairo_user_to_device(cr, &x, &y);
  const double wholeX = std::floor(x), wholeY = std::floor(y);
  Key key{layer.colors(), layer.locations(), layer.startPoint(), layer.endPoint(), b.size,
          m.xx, m.yy, std::round((x - wholeX) * 256) / 256, std::round((y - wholeY) * 256) / 256};
  const int width = static_cast<int>(std::ceil(key.fractionX + b.size.width * m.xx));
  const int height = static_cast<int>(std::ceil(key.fractionY + b.size.height * m.yy));
  if (width <= 0 || height <= 0 || static_cast<double>(width) * height > 64e6) {
    paintDirect(cr, layer, b);
    return;
  }
  lastHit_ = image_ && key == key_;
  if (!lastHit_) {
    if (image_) cairo_surface_destroy(image_);
    image_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* g = cairo_create(image_);
    cairo_translate(g, key.fractionX, key.fractionY);
    cairo_scale(g, m.xx, m.yy);
    cairo_translate(g, -b.origin.x, -b.origin.y);
    paintDirect(g, layer, b);
    cairo_destroy(g);
    cairo_surface_flush(image_);
    key_ = std::move(key);
  }
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_set_source_surface(cr, image_, wholeX, wholeY);
  cairo_paint(cr);
  cairo_restore(cr);
}

}  // namespace platform
