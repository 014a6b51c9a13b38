#pragma once

#include <string>
#include <vector>

#include "platform/ui/NSAttributedString.h"
#include "platform/ui/TextLayout.h"
#include "platform/ui/UIFont.h"
#include "platform/ui/UIView.h"

namespace platform {

// A view that shows a text (UILabel), plain or attributed (fonts and colours
// over ranges of it): font, colour, alignment, line limit,
// tail truncation, and shrinking the font to fit the width down to a minimum
// scale. The text is vertically centred in the bounds. Measurement uses
// TextLayout, which is also what the renderer draws with (textLayout()).
// Takes no touches by default.
class UILabel : public UIView {
 public:
  explicit UILabel(const CGRect& frame = CGRectZero);

  const std::string& text() const { return text_; }
  // Shows `text` without attributes.
  void setText(std::string text);
  // The text with the fonts and colours over ranges of it (none for a plain text).
  NSAttributedString attributedText() const;
  // Shows the attributed text: its runs' fonts and colours, the label's elsewhere.
  void setAttributedText(const NSAttributedString& text);
  // The attributed text's runs that still apply (none for a plain text).
  const std::vector<NSAttributedString::Run>& attributeRuns() const { return runs_; }
  const UIFont& font() const { return font_; }
  // The font of the whole text: it also replaces the fonts of an attributed text.
  void setFont(const UIFont& font);
  // Default opaque black.
  const UIColor& textColor() const { return textColor_; }
  // The colour of the whole text: it also replaces the colours of an attributed text.
  void setTextColor(const UIColor& c);
  // Default Natural (left, or right in a right-to-left layout).
  NSTextAlignment textAlignment() const { return alignment_; }
  void setTextAlignment(NSTextAlignment a) { alignment_ = a; }
  // Left, Center or Right as drawn (Natural resolved by the layout direction).
  NSTextAlignment effectiveTextAlignment() const;
  // 0 = unlimited; default 1.
  int numberOfLines() const { return lines_; }
  void setNumberOfLines(int n);
  NSLineBreakMode lineBreakMode() const { return lineBreak_; }
  void setLineBreakMode(NSLineBreakMode m);
  bool adjustsFontSizeToFitWidth() const { return adjusts_; }
  void setAdjustsFontSizeToFitWidth(bool a) { adjusts_ = a; }
  double minimumScaleFactor() const { return minScale_; }
  void setMinimumScaleFactor(double s) { minScale_ = s; }
  // Width at which a multi-line label wraps when measuring its natural size (0: its current width).
  double preferredMaxLayoutWidth() const { return preferredMax_; }
  void setPreferredMaxLayoutWidth(double w);
  // Disabled labels are drawn dimmed.
  bool isEnabled() const { return enabled_; }
  void setEnabled(bool e) { enabled_ = e; }

  // The font as drawn in the current bounds: scaled down to fit when shrinking is on.
  UIFont fittedFont() const;
  // The text as drawn in the current bounds (fitted font, bounds width, line limit).
  TextLayout textLayout() const;
  // Where the text is drawn in the bounds: full width, its height, vertically centred.
  CGRect textRect() const;

  CGSize intrinsicContentSize() const override;
  CGSize sizeThatFits(CGSize size) override;
  void setBounds(const CGRect& bounds) override;

 private:
  TextLayout::Style style(const UIFont& font) const;

  std::string text_;
  std::vector<NSAttributedString::Run> runs_;
  UIFont font_ = UIFont::systemFontOfSize(17);
  UIColor textColor_ = UIColor::blackColor();
  NSTextAlignment alignment_ = NSTextAlignment::Natural;
  int lines_ = 1;
  NSLineBreakMode lineBreak_ = NSLineBreakMode::ByTruncatingTail;
  bool adjusts_ = false;
  double minScale_ = 0;
  double preferredMax_ = 0;
  bool enabled_ = true;
  // Last shrink-to-fit result, reused while text, font and box are unchanged.
  struct FitCache {
    std::string text;
    std::vector<NSAttributedString::Run> runs;
    UIFont font;
    CGSize box;
    int lines = -1;
    double minScale = -1;
    double scale = 1;
  };
  mutable FitCache fit_;
};

}  // namespace platform
