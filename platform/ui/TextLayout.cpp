#include "platform/ui/TextLayout.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <list>
#include <string_view>
#include <unordered_map>

namespace platform {

namespace {

void applyFontOptions(PangoContext* context) {
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  pango_cairo_context_set_font_options(context, options);
  cairo_font_options_destroy(options);
  pango_cairo_context_set_resolution(context, 72);
}

// A measuring context on a tiny image surface with unhinted metrics, so sizes do
// not depend on the resolution the renderer draws at. One layout is reused for
// every measurement: configure() sets all of its properties each time.
struct Measurer {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  cairo_t* cr = cairo_create(surface);
  PangoLayout* layout = nullptr;
  Measurer() {
    PangoContext* context = pango_cairo_create_context(cr);
    applyFontOptions(context);
    layout = pango_layout_new(context);
    g_object_unref(context);
  }
  ~Measurer() {
    g_object_unref(layout);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
  }
  Measurer(const Measurer&) = delete;
  Measurer& operator=(const Measurer&) = delete;
};

Measurer& measurer() {
  thread_local Measurer m;
  return m;
}

// The last measurements, most recently used first. Long texts are not kept, so
// the cache holds at most kCapacity entries of at most kLongestText bytes each.
template <typename Value>
class MeasureCache {
 public:
  static constexpr size_t kCapacity = 256;
  static constexpr size_t kLongestText = 512;

  const Value* find(const std::string& key) {
    auto it = index_.find(key);
    if (it == index_.end()) return nullptr;
    order_.splice(order_.begin(), order_, it->second);
    return &it->second->second;
  }
  void insert(std::string key, const Value& value) {
    if (index_.count(key)) return;
    order_.emplace_front(std::move(key), value);
    index_.emplace(order_.front().first, order_.begin());
    if (order_.size() > kCapacity) {
      index_.erase(order_.back().first);
      order_.pop_back();
    }
  }
  size_t size() const { return order_.size(); }
  void clear() {
    index_.clear();
    order_.clear();
  }

 private:
  std::list<std::pair<std::string, Value>> order_;
  std::unordered_map<std::string_view, typename std::list<std::pair<std::string, Value>>::iterator> index_;
};

template <typename T>
void appendBytes(std::string& key, const T& value) {
  key.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// What a measurement yields.
struct Measured {
  CGSize size;
  int lines = 0;
  bool truncated = false;
};

// Measurements keyed by everything that shapes them: style, width and the text.
MeasureCache<Measured>& measurements() {
  thread_local MeasureCache<Measured> cache;
  return cache;
}

// `index` moved forward to the start of a UTF-8 character (Pango's ranges must not split one).
unsigned characterStart(const std::string& text, size_t index) {
  while (index < text.size() && (static_cast<unsigned char>(text[index]) & 0xC0) == 0x80) ++index;
  return static_cast<unsigned>(std::min(index, text.size()));
}

}  // namespace

TextLayout::Style TextLayout::Style::scaled(double scale) const {
  Style s = *this;
  s.font = font.fontWithSize(font.pointSize() * scale);
  for (auto& run : s.runs)
    if (run.font) run.font = run.font->fontWithSize(run.font->pointSize() * scale);
  return s;
}

TextLayout::TextLayout(std::string text, Style style, double width)
    : text_(std::move(text)), style_(style), width_(width) {
  if (text_.empty()) return;
  std::string key;
  const bool keep = text_.size() <= MeasureCache<Measured>::kLongestText;
  if (keep) {
    key.reserve(48 + text_.size());
    appendBytes(key, style_.font.pointSize());
    appendBytes(key, style_.font.weight());
    appendBytes(key, style_.alignment);
    appendBytes(key, style_.numberOfLines);
    appendBytes(key, style_.lineBreakMode);
    appendBytes(key, width_);
    appendBytes(key, style_.runs.size());
    for (const auto& run : style_.runs) {
      // Colours do not shape the text: only where the fonts are counts.
      appendBytes(key, run.location);
      appendBytes(key, run.length);
      appendBytes(key, run.font ? run.font->pointSize() : -1.0);
      appendBytes(key, run.font ? run.font->weight() : style_.font.weight());
    }
    key += text_;
    if (const Measured* m = measurements().find(key)) {
      size_ = m->size;
      lines_ = m->lines;
      truncated_ = m->truncated;
      return;
    }
  }
  measure();
  if (keep) measurements().insert(std::move(key), Measured{size_, lines_, truncated_});
}

void TextLayout::measure() {
  PangoLayout* layout = measurer().layout;
  configure(layout);
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  size_ = {logical.width / double(PANGO_SCALE), logical.height / double(PANGO_SCALE)};
  lines_ = pango_layout_get_line_count(layout);
  truncated_ = pango_layout_is_ellipsized(layout);
  // Wrapped text that the line limit cuts without an ellipsis mode still counts as cut.
  if (!truncated_ && style_.numberOfLines > 0 && width_ >= 0) {
    PangoLayout* full = pango_layout_copy(layout);
    pango_layout_set_height(full, -1);
    pango_layout_set_ellipsize(full, PANGO_ELLIPSIZE_NONE);
    truncated_ = pango_layout_get_line_count(full) > style_.numberOfLines;
    g_object_unref(full);
  }
}

size_t TextLayout::cachedMeasurements() { return measurements().size(); }

void TextLayout::forgetMeasurements() { measurements().clear(); }

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
  if (style_.runs.empty()) {
    pango_layout_set_attributes(layout, nullptr);  // the measuring layout is reused
  } else {
    PangoAttrList* list = pango_attr_list_new();
    for (const auto& run : style_.runs) {
      const unsigned start = characterStart(text_, run.location);
      const unsigned end = characterStart(text_, run.location + run.length);
      if (start >= end) continue;
      auto place = [&](PangoAttribute* attribute) {
        attribute->start_index = start;
        attribute->end_index = end;
        pango_attr_list_insert(list, attribute);
      };
      if (run.font) place(pango_attr_font_desc_new(run.font->pangoDescription().get()));
      if (run.foregroundColor) {
        auto channel = [](double c) { return static_cast<guint16>(std::lround(std::clamp(c, 0.0, 1.0) * 65535)); };
        const UIColor& c = *run.foregroundColor;
        place(pango_attr_foreground_new(channel(c.red()), channel(c.green()), channel(c.blue())));
        place(pango_attr_foreground_alpha_new(std::max<guint16>(1, channel(c.alpha()))));
      }
    }
    pango_layout_set_attributes(layout, list);
    pango_attr_list_unref(list);
  }
  PangoAlignment align = PANGO_ALIGN_LEFT;
  if (style_.alignment == NSTextAlignment::Center) align = PANGO_ALIGN_CENTER;
  if (style_.alignment == NSTextAlignment::Right) align = PANGO_ALIGN_RIGHT;
  pango_layout_set_alignment(layout, align);
  pango_layout_set_justify(layout, style_.alignment == NSTextAlignment::Justified);
  // What a new layout has; set here as well because measuring reuses one layout.
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
  pango_layout_set_height(layout, -1);
  pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_NONE);
  if (width_ < 0) {
    pango_layout_set_width(layout, -1);
    return;
  }
  pango_layout_set_width(layout, static_cast<int>(std::floor(width_ * PANGO_SCALE)));
  pango_layout_set_wrap(
      layout, style_.lineBreakMode == NSLineBreakMode::ByCharWrapping ? PANGO_WRAP_CHAR : PANGO_WRAP_WORD_CHAR);
  PangoEllipsizeMode mode = PANGO_ELLIPSIZE_NONE;
  switch (style_.lineBreakMode) {
    case NSLineBreakMode::ByTruncatingTail: mode = PANGO_ELLIPSIZE_END; break;
    case NSLineBreakMode::ByTruncatingHead: mode = PANGO_ELLIPSIZE_START; break;
    case NSLineBreakMode::ByTruncatingMiddle: mode = PANGO_ELLIPSIZE_MIDDLE; break;
    default: break;
  }
  if (style_.numberOfLines > 0) {
    pango_layout_set_height(layout, -style_.numberOfLines);
    pango_layout_set_ellipsize(layout,
                               mode == PANGO_ELLIPSIZE_NONE && style_.numberOfLines == 1 ? PANGO_ELLIPSIZE_NONE : mode);
    if (style_.numberOfLines == 1 && mode == PANGO_ELLIPSIZE_NONE) pango_layout_set_width(layout, -1);
  }
}

bool TextLayout::fitsAtScale(const std::string& text, const Style& style, CGSize box, double scale) {
  const Style s = style.scaled(scale);
  if (style.numberOfLines == 1) {
    TextLayout natural(text, s, -1);
    return natural.size().width <= box.width + 1e-6;
  }
  TextLayout wrapped(text, s, box.width);
  if (wrapped.isTruncated()) return false;
  return box.height <= 0 || wrapped.size().height <= box.height + 1e-6;
}

namespace {
double saneMinimumScale(double minimumScale) { return minimumScale >= 0 ? std::min(minimumScale, 1.0) : 0.0; }
}  // namespace

double TextLayout::searchFittingScale(const std::string& text, const Style& style, CGSize box, double minimumScale) {
  minimumScale = saneMinimumScale(minimumScale);
  auto fits = [&](int hundredths) { return fitsAtScale(text, style, box, hundredths / 100.0); };
  if (fits(100)) return 1;
  // Largest hundredth that fits, by bisection over the hundredths in [minimumScale, 1].
  int lo = static_cast<int>(std::ceil(minimumScale * 100 - 1e-9)), hi = 99;
  if (lo > hi || !fits(lo)) return minimumScale;
  while (lo < hi) {
    int mid = (lo + hi + 1) / 2;
    if (fits(mid))
      lo = mid;
    else
      hi = mid - 1;
  }
  return lo / 100.0;
}

double TextLayout::fittingScale(const std::string& text, const Style& style, CGSize box, double minimumScale) {
  // Wrapping does not scale with the font: search.
  if (style.numberOfLines != 1) return searchFittingScale(text, style, box, minimumScale);
  minimumScale = saneMinimumScale(minimumScale);
  auto fits = [&](int hundredths) { return fitsAtScale(text, style, box, hundredths / 100.0); };
  // One line is as wide as its natural width, which grows in proportion to the font size but
  // for rounding: start from the proportional estimate and step to the largest hundredth that fits.
  const double natural = TextLayout(text, style, -1).size().width;
  if (natural <= box.width + 1e-6) return 1;
  const int lo = static_cast<int>(std::ceil(minimumScale * 100 - 1e-9)), hi = 99;
  if (lo > hi) return minimumScale;
  const double estimate = std::floor(box.width / natural * 100 + 1e-9);
  int scale = std::isfinite(estimate) ? static_cast<int>(std::clamp(estimate, double(lo), double(hi))) : lo;
  if (fits(scale)) {
    while (scale < hi && fits(scale + 1)) ++scale;
    return scale / 100.0;
  }
  while (scale > lo) {
    if (fits(--scale)) return scale / 100.0;
  }
  return minimumScale;
}

}  // namespace platform
