#include "platform/ui/render/LayerPainter.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "platform/ui/CAGradientLayer.h"
#include "platform/ui/CAShapeLayer.h"
#include "platform/ui/render/PathTracing.h"
#include "platform/ui/render/RasterCache.h"
#include "platform/ui/render/RasterPlacement.h"

namespace platform {

namespace {

void setColor(cairo_t* cr, const UIColor& c, double alpha = 1) {
  cairo_set_source_rgba(cr, c.red(), c.green(), c.blue(), c.alpha() * alpha);
}

void paintShape(cairo_t* cr, const CAShapeLayer& layer) {
  if (!layer.path() || !layer.fillColor() || layer.fillColor()->alpha() <= 0) return;
  PathTracing::trace(cr, *layer.path());
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  setColor(cr, *layer.fillColor());
  cairo_fill(cr);
}

}  // namespace

void LayerPainter::enterLayer(cairo_t* cr, const CALayer::Presentation& p) {
  cairo_translate(cr, p.position.x, p.position.y);
  if (!CGAffineTransformIsIdentity(p.transform)) PathTracing::concat(cr, p.transform);
  cairo_translate(cr, -p.bounds.size.width / 2 - p.bounds.origin.x, -p.bounds.size.height / 2 - p.bounds.origin.y);
}

void LayerPainter::paintBackground(cairo_t* cr, const CALayer::Presentation& p, double alpha) {
  if (!p.backgroundColor || p.backgroundColor->alpha() <= 0) return;
  PathTracing::traceRoundedRect(cr, p.bounds, p.cornerRadius);
  setColor(cr, *p.backgroundColor, alpha);
  cairo_fill(cr);
}

std::string LayerPainter::backgroundKey(const CALayer::Presentation& p, double alpha) {
  std::string key;
  if (p.backgroundColor) RasterCache::append(key, *p.backgroundColor);
  RasterCache::append(key, p.cornerRadius);
  RasterCache::append(key, alpha);
  return key;
}

void LayerPainter::paintGradient(cairo_t* cr, const CAGradientLayer& layer, const CGRect& b) {
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

std::string LayerPainter::gradientKey(const CAGradientLayer& layer) {
  std::string key;
  for (const auto& c : layer.colors()) RasterCache::append(key, c);
  RasterCache::append(key, layer.colors().size());
  for (double l : layer.locations()) RasterCache::append(key, l);
  RasterCache::append(key, layer.startPoint());
  RasterCache::append(key, layer.endPoint());
  return key;
}

void LayerPainter::paintContents(cairo_t* cr, const CALayer& layer, const CALayer::Presentation& p) {
  if (auto* gradient = dynamic_cast<const CAGradientLayer*>(&layer)) {
    paintGradient(cr, *gradient, p.bounds);
  } else if (auto* shape = dynamic_cast<const CAShapeLayer*>(&layer)) {
    paintShape(cr, *shape);
  }
}

void LayerPainter::paintBorder(cairo_t* cr, const CALayer& layer, const CALayer::Presentation& p) {
  const double width = layer.borderWidth();
  if (width <= 0 || !layer.borderColor() || layer.borderColor()->alpha() <= 0) return;
  const CGRect inner = CGRectInset(p.bounds, width / 2, width / 2);
  PathTracing::traceRoundedRect(cr, inner, std::max(p.cornerRadius - width / 2, 0.0));
  cairo_set_line_width(cr, width);
  setColor(cr, *layer.borderColor());
  cairo_stroke(cr);
}

void LayerPainter::paintFreeLayer(cairo_t* cr, const CALayer& layer) {
  if (layer.isHidden()) return;
  const CALayer::Presentation p = layer.presentation();
  if (p.opacity <= 0) return;
  cairo_save(cr);
  enterLayer(cr, p);
  const bool group = p.opacity < 1;
  if (group) cairo_push_group(cr);
  paintBackground(cr, p);
  paintContents(cr, layer, p);
  paintBorder(cr, layer, p);
  if (group) {
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, p.opacity);
  }
  cairo_restore(cr);
}

void LayerPainter::clipToBounds(cairo_t* cr, const CALayer::Presentation& p) {
  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  if (rasterPlacement() == RasterPlacement::NearestPixel && p.cornerRadius <= 0 && m.xy == 0 && m.yx == 0) {
    // In a picture seen only blurred, an upright clip is taken to whole pixels, as drawings are laid there.
    double x0 = p.bounds.origin.x, y0 = p.bounds.origin.y;
    double x1 = x0 + p.bounds.size.width, y1 = y0 + p.bounds.size.height;
    cairo_user_to_device(cr, &x0, &y0);
    cairo_user_to_device(cr, &x1, &y1);
    x0 = std::round(x0), y0 = std::round(y0), x1 = std::round(x1), y1 = std::round(y1);
    cairo_identity_matrix(cr);
    cairo_rectangle(cr, std::min(x0, x1), std::min(y0, y1), std::fabs(x1 - x0), std::fabs(y1 - y0));
    cairo_set_matrix(cr, &m);
    cairo_clip(cr);
    return;
  }
  PathTracing::traceRoundedRect(cr, p.bounds, p.cornerRadius);
  cairo_clip(cr);
}

}  // namespace platform
