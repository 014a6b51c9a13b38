#include "platform/ui/render/LayerPainter.h"

#include <cairo.h>

#include <algorithm>

#include "platform/ui/CAGradientLayer.h"
#include "platform/ui/CAShapeLayer.h"
#include "platform/ui/render/GradientPainter.h"
#include "platform/ui/render/PathTracing.h"

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

void LayerPainter::paintContents(cairo_t* cr, const CALayer& layer, const CALayer::Presentation& p) {
  if (auto* gradient = dynamic_cast<const CAGradientLayer*>(&layer)) {
    GradientPainter::paintDirect(cr, *gradient, p.bounds);
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
  PathTracing::traceRoundedRect(cr, p.bounds, p.cornerRadius);
  cairo_clip(cr);
}

}  // namespace platform
