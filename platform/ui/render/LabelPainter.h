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

class UILabel;

// Draws a label's text: the layout the label measured (its TextLayout, with
// the shrunk font when it shrinks to fit), at the label's text rectangle, in
// its text colour (dimmed when disabled). Laying text out is the costly part
// of drawing it, so the Pango layout is kept and reused while nothing that
// shapes the text changed. One painter per label; it owns its layout.
class LabelPainter {
 public:
  LabelPainter() = default;
  ~LabelPainter();
  LabelPainter(const LabelPainter&) = delete;
  LabelPainter& operator=(const LabelPainter&) = delete;

  // Draws the label's text in its bounds coordinates on `cr`.
  void paint(cairo_t* cr, const UILabel& label);
  // Whether the last paint reused the kept layout.
  bool lastWasCacheHit() const { return lastHit_; }

 private:
  // Everything the layout and its placement depend on.
  struct Key {
    std::string text;
    std::vector<NSAttributedString::Run> runs;
    UIFont font;
    NSTextAlignment alignment = NSTextAlignment::Left;
    int lines = 1;
    NSLineBreakMode lineBreak = NSLineBreakMode::ByTruncatingTail;
    bool adjusts = false;
    double minimumScale = 0;
    CGRect bounds;
    double xx = 0, yx = 0, xy = 0, yy = 0;  // the drawing's scale and rotation
    bool operator==(const Key&) const = default;
  };

  PangoLayout* layout_ = nullptr;
  CGRect textRect_;
  Key key_;
  bool lastHit_ = false;
};

}  // namespace platform
