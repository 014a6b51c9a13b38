#include "platform/ui/TextLayout.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {
// A measuring context on a tiny image surface with unhinted metrics, so sizes do
// not depend on the resolution the renderer draws at.
struct Measurer {
  cairo_surface_t* surface;
  cairo_t* cr;
  Measurer() {
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cr = cairo_create(surface);
  }
  ~Measurer() {
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
  }
};

Measurer& measurer() {
  thread_local Measurer m;
  return m;
}

void applyFontOptions(PangoContext* context) {
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  pango_cairo_context_set_font_options(context, options);
  cairo_font_options_destroy(options);
  pango_cairo_context_set_resolution(context, 72);
}
}  // namespace

TextLayout::TextLayout(std::string text, Style style, double width)
    : text_(std::move(text)), style_(style), width_(width) {
  PangoLayout* layout = createPangoLayout(measurer().cr);
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  size_ = {logical.width / double(PANGO_SCALE), logical.height / double(PANGO_SCALE)};
  if (text_.empty()) size_ = {0, 0};
  lines_ = text_.empty() ? 0 : pango_layout_get_line_count(layout);
  truncated_ = pango_layout_is_ellipsized(layout);
  // Wrapped text that the line limit cuts without an ellipsis mode still counts as cut.
  if (!truncated_ && style_.numberOfLines > 0 && width_ >= 0) {
    PangoLayout* full = pango_layout_copy(layout);
    pango_layout_set_height(full, -1);
    pango_layout_set_ellipsize(full, PANGO_ELLIPSIZE_NONE);
    truncated_ = pango_layout_get_line_count(full) > style_.numberOfLines;
    g_object_unref(full);
  }
  g_object_unref(layout);
}

PangoLayout* TextLayout::createPangoLayout(cairo_t* cr) const {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  applyFontOptions(pango_layout_get_context(layout));
  pango_layout_context_changed(layout);
  configure(layout);
  return layout;
}

void TextLayout::configure(PangoLayout* layout) const {
  auto desc = style_.font.pangoDescription();
  pango_layout_set_font_description(layout, desc.get());
  pango_layout_set_text(layout, text_.c_str(), static_cast<int>(text_.size()));
  PangoAlignment align = PANGO_ALIGN_LEFT;
  if (style_.alignment == NSTextAlignment::Center) align = PANGO_ALIGN_CENTER;
  if (style_.alignment == NSTextAlignment::Right) align = PANGO_ALIGN_RIGHT;
  pango_layout_set_alignment(layout, align);
  pango_layout_set_justify(layout, style_.alignment == NSTextAlignment::Justified);
  if (width_ < 0) {
    pango_layout_set_width(layout, -1);
    return;
  }
  pango_layout_set_width(layout, static_cast<int>(std::floor(width_ * PANGO_SCALE)));
  pango_layout_set_wrap(layout, style_.lineBreakMode == NSLineBreakMode::ByCharWrapping ? PANGO_WRAP_CHAR
                                                                                        : PANGO_WRAP_WORD_CHAR);
  PangoEllipsizeMode mode = PANGO_ELLIPSIZE_NONE;
  switch (style_.lineBreakMode) {
    case NSLineBreakMode::ByTruncatingTail: mode = PANGO_ELLIPSIZE_END; break;
    case NSLineBreakMode::ByTruncatingHead: mode = PANGO_ELLIPSIZE_START; break;
    case NSLineBreakMode::ByTruncatingMiddle: mode = PANGO_ELLIPSIZE_MIDDLE; break;
    default: break;
  }
  if (style_.numberOfLines > 0) {
    pango_layout_set_height(layout, -style_.numberOfLines);
    pango_layout_set_ellipsize(layout, mode == PANGO_ELLIPSIZE_NONE && style_.numberOfLines == 1
                                           ? PANGO_ELLIPSIZE_NONE
                                           : mode);
    if (style_.numberOfLines == 1 && mode == PANGO_ELLIPSIZE_NONE) pango_layout_set_width(layout, -1);
  }
}

double TextLayout::fittingScale(const std::string& text, const Style& style, CGSize box, double minimumScale) {
  minimumScale = std::clamp(minimumScale, 0.0, 1.0);
  auto fits = [&](double scale) {
    Style s = style;
    s.font = style.font.fontWithSize(style.font.pointSize() * scale);
    if (style.numberOfLines == 1) {
      TextLayout natural(text, s, -1);
      return natural.size().width <= box.width + 1e-6;
    }
    TextLayout wrapped(text, s, box.width);
    if (wrapped.isTruncated()) return false;
    return box.height <= 0 || wrapped.size().height <= box.height + 1e-6;
  };
  if (fits(1)) return 1;
  // Largest hundredth that fits, by bisection over the hundredths in [minimumScale, 1].
  int lo = static_cast<int>(std::ceil(minimumScale * 100 - 1e-9)), hi = 99;
  if (lo > hi || !fits(lo / 100.0)) return minimumScale;
  while (lo < hi) {
    int mid = (lo + hi + 1) / 2;
    if (fits(mid / 100.0)) lo = mid; else hi = mid - 1;
  }
  return lo / 100.0;
}

}  // namespace platform
