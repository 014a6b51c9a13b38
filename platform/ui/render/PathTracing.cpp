#include "platform/ui/render/PathTracing.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace platform {

void PathTracing::trace(cairo_t* cr, const UIBezierPath& path) {
  cairo_new_path(cr);
  for (const auto& e : path.elements()) {
    switch (e.type) {
      case UIBezierPath::ElementType::MoveTo: cairo_move_to(cr, e.point.x, e.point.y); break;
      case UIBezierPath::ElementType::LineTo: cairo_line_to(cr, e.point.x, e.point.y); break;
      case UIBezierPath::ElementType::CurveTo:
        cairo_curve_to(cr, e.control1.x, e.control1.y, e.control2.x, e.control2.y, e.point.x, e.point.y);
        break;
      case UIBezierPath::ElementType::Close: cairo_close_path(cr); break;
    }
  }
}

void PathTracing::traceRoundedRect(cairo_t* cr, const CGRect& rect, double radius) {
  cairo_new_path(cr);
  const CGRect r = CGRectStandardize(rect);
  const double w = r.size.width, h = r.size.height;
  radius = std::clamp(radius, 0.0, std::min(w, h) / 2);
  if (radius <= 0) {
    cairo_rectangle(cr, r.origin.x, r.origin.y, w, h);
    return;
  }
  const double x = r.origin.x, y = r.origin.y;
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - radius, y + radius, radius, -M_PI / 2, 0);
  cairo_arc(cr, x + w - radius, y + h - radius, radius, 0, M_PI / 2);
  cairo_arc(cr, x + radius, y + h - radius, radius, M_PI / 2, M_PI);
  cairo_arc(cr, x + radius, y + radius, radius, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void PathTracing::concat(cairo_t* cr, const CGAffineTransform& t) {
  cairo_matrix_t m;
  cairo_matrix_init(&m, t.a, t.b, t.c, t.d, t.tx, t.ty);
  cairo_transform(cr, &m);
}

}  // namespace platform
