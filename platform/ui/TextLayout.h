#pragma once

#include <string>
#include <vector>

#include "platform/ui/Geometry.h"
#include "platform/ui/NSAttributedString.h"
#include "platform/ui/UIFont.h"
#include "platform/ui/UIViewTypes.h"

typedef struct _cairo cairo_t;
typedef struct _PangoLayout PangoLayout;

namespace platform {

// One text laid out with Pango in one font (or the fonts of an attributed text), wrapped to a width and cut to a
// number of lines: what labels measure and what the renderer draws. The
// renderer asks createPangoLayout() for a layout set up exactly like the
// measurement (same font, width, wrapping, ellipsis, font options), so the
// drawn text has the measured size. Measurements are kept in a small cache
// (most recently used first), so the same text in the same style and width is
// laid out once; drawing still builds its own layout. Main thread only.
class TextLayout {
 public:
  struct Style {
    UIFont font;
    NSTextAlignment alignment = NSTextAlignment::Left;  // Natural is resolved by the caller
    int numberOfLines = 1;                              // 0 = unlimited
    NSLineBreakMode lineBreakMode = NSLineBreakMode::ByTruncatingTail;
    // Fonts and colours over ranges of the text (an attributed text); `font` elsewhere.
    std::vector<NSAttributedString::Run> runs = {};

    // The same style with every font (`font` and the runs' fonts) at `scale` of its size.
    Style scaled(double scale) const;
  };

  // Lays out `text`; a negative width means no limit (no wrapping, no truncation).
  TextLayout(std::string text, Style style, double width);

  // Size of the laid-out text in points (logical extents, not rounded).
  CGSize size() const { return size_; }
  // Lines after wrapping and the line limit.
  int lineCount() const { return lines_; }
  // Whether an ellipsis cut the text.
  bool isTruncated() const { return truncated_; }
  const std::string& text() const { return text_; }
  const Style& style() const { return style_; }
  double width() const { return width_; }

  // A new Pango layout on `cr` configured like this one (the caller unrefs it with g_object_unref).
  PangoLayout* createPangoLayout(cairo_t* cr) const;

  // The largest font scale in [minimumScale, 1] at which the text fits `box` (width, and height
  // when positive) without truncation; minimumScale when nothing fits. Scales step by 1/100.
  static double fittingScale(const std::string& text, const Style& style, CGSize box, double minimumScale);

 private:
  friend class TextLayoutTestApi;

  // Lays the text out on the measuring context and sets size_, lines_ and truncated_.
  void measure();
  // The measurement cache's entry count, and emptying it (for tests).
  static size_t cachedMeasurements();
  static void forgetMeasurements();
  void configure(PangoLayout* layout) const;
  // Whether the text at `scale` of the style's font fits `box` (see fittingScale).
  static bool fitsAtScale(const std::string& text, const Style& style, CGSize box, double scale);
  // fittingScale by bisection over every hundredth: the reference the one-line estimate must match.
  static double searchFittingScale(const std::string& text, const Style& style, CGSize box, double minimumScale);

  std::string text_;
  Style style_;
  double width_;
  CGSize size_;
  int lines_ = 0;
  bool truncated_ = false;
};

}  // namespace platform
