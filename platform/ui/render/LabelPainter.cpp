#include "platform/ui/render/LabelPainter.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include "platform/ui/UILabel.h"

namespace platform {

namespace {

// A disabled label's text keeps this much of its alpha.
constexpr double kDisabledTextAlpha = 0.5;

}  // namespace

LabelPainter::~LabelPainter() {
  if (layout_) g_object_unref(layout_);
}

void LabelPainter::paint(cairo_t* cr, const UILabel& label) {
  lastHit_ = false;
  if (label.text().empty()) return;
  const UIColor& color = label.textColor();
  const double alpha = color.alpha() * (label.isEnabled() ? 1.0 : kDisabledTextAlpha);
  if (alpha <= 0) return;

  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  Key key{label.text(),
          label.attributeRuns(),
          label.font(),
          label.effectiveTextAlignment(),
          label.numberOfLines(),
          label.lineBreakMode(),
          label.adjustsFontSizeToFitWidth(),
          label.minimumScaleFactor(),
          label.bounds(),
          m.xx,
          m.yx,
          m.xy,
          m.yy};
  lastHit_ = layout_ && key == key_;
  if (!lastHit_) {
    if (layout_) g_object_unref(layout_);
    TextLayout text = label.textLayout();
    layout_ = text.createPangoLayout(cr);
    textRect_ = label.textRect();
    key_ = std::move(key);
  }
  cairo_set_source_rgba(cr, color.red(), color.green(), color.blue(), alpha);
  cairo_move_to(cr, textRect_.origin.x, textRect_.origin.y);
  pango_cairo_show_layout(cr, layout_);
}

}  // namespace platform
