#include "platform/ui/UILabel.h"

#include <cmath>

namespace platform {

UILabel::UILabel(const CGRect& frame) : UIView(frame) { setUserInteractionEnabled(false); }

void UILabel::setText(std::string text) {
  if (text == text_) return;
  text_ = std::move(text);
  invalidateIntrinsicContentSize();
}

void UILabel::setFont(const UIFont& font) {
  font_ = font;
  invalidateIntrinsicContentSize();
}

void UILabel::setNumberOfLines(int n) {
  lines_ = n < 0 ? 0 : n;
  invalidateIntrinsicContentSize();
}

void UILabel::setLineBreakMode(NSLineBreakMode m) {
  lineBreak_ = m;
  invalidateIntrinsicContentSize();
}

void UILabel::setPreferredMaxLayoutWidth(double w) {
  preferredMax_ = w;
  invalidateIntrinsicContentSize();
}

void UILabel::setBounds(const CGRect& b) {
  double oldWidth = bounds().size.width;
  UIView::setBounds(b);
  if (lines_ != 1 && preferredMax_ <= 0 && b.size.width != oldWidth) invalidateIntrinsicContentSize();
}

NSTextAlignment UILabel::effectiveTextAlignment() const {
  bool rtl = effectiveUserInterfaceLayoutDirection() == UIUserInterfaceLayoutDirection::RightToLeft;
  switch (alignment_) {
    case NSTextAlignment::Natural: return rtl ? NSTextAlignment::Right : NSTextAlignment::Left;
    default: return alignment_;
  }
}

TextLayout::Style UILabel::style(const UIFont& font) const {
  return {font, effectiveTextAlignment(), lines_, lineBreak_};
}

UIFont UILabel::fittedFont() const {
  if (!adjusts_ || text_.empty()) return font_;
  CGSize box = bounds().size;
  if (fit_.text != text_ || !(fit_.font == font_) || fit_.box != box || fit_.lines != lines_ ||
      fit_.minScale != minScale_) {
    fit_ = {
        text_,     font_,
        box,       lines_,
        minScale_, TextLayout::fittingScale(text_, style(font_), {box.width, lines_ == 1 ? 0 : box.height}, minScale_)};
  }
  return font_.fontWithSize(font_.pointSize() * fit_.scale);
}

TextLayout UILabel::textLayout() const { return TextLayout(text_, style(fittedFont()), bounds().size.width); }

CGRect UILabel::textRect() const {
  CGRect b = bounds();
  double h = std::min(textLayout().size().height, b.size.height);
  return {{b.origin.x, b.origin.y + (b.size.height - h) / 2}, {b.size.width, h}};
}

CGSize UILabel::intrinsicContentSize() const {
  if (text_.empty()) return {0, 0};
  double width = -1;
  if (lines_ != 1) {
    if (preferredMax_ > 0)
      width = preferredMax_;
    else if (bounds().size.width > 0)
      width = bounds().size.width;
  }
  CGSize s = TextLayout(text_, style(font_), width).size();
  return {std::ceil(s.width), std::ceil(s.height)};
}

CGSize UILabel::sizeThatFits(CGSize size) {
  if (text_.empty()) return {0, 0};
  double width = (lines_ != 1 && size.width > 0) ? size.width : -1;
  CGSize s = TextLayout(text_, style(font_), width).size();
  return {std::ceil(s.width), std::ceil(s.height)};
}

}  // namespace platform
