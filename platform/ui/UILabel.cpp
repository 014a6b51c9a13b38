#include "platform/ui/UILabel.h"

#include <cmath>

namespace platform {

UILabel::UILabel(const CGRect& frame) : UIView(frame) { setUserInteractionEnabled(false); }

void UILabel::setText(std::string text) {
  if (text == text_ && runs_.empty()) return;
  text_ = std::move(text);
  runs_.clear();
  invalidateIntrinsicContentSize();
}

NSAttributedString UILabel::attributedText() const {
  NSAttributedString attributed(text_);
  for (const auto& run : runs_) {
    if (run.font) attributed.addFont(*run.font, run.location, run.length);
    if (run.foregroundColor) attributed.addForegroundColor(*run.foregroundColor, run.location, run.length);
  }
  return attributed;
}

void UILabel::setAttributedText(const NSAttributedString& text) {
  text_ = text.string();
  runs_ = text.runs();
  invalidateIntrinsicContentSize();
}

void UILabel::setFont(const UIFont& font) {
  font_ = font;
  for (auto& run : runs_) run.font.reset();
  std::erase_if(runs_, [](const NSAttributedString::Run& run) { return !run.font && !run.foregroundColor; });
  invalidateIntrinsicContentSize();
}

void UILabel::setTextColor(const UIColor& c) {
  textColor_ = c;
  for (auto& run : runs_) run.foregroundColor.reset();
  std::erase_if(runs_, [](const NSAttributedString::Run& run) { return !run.font && !run.foregroundColor; });
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
  TextLayout::Style s{font, effectiveTextAlignment(), lines_, lineBreak_, runs_};
  // A shrunk font shrinks the runs' fonts alike.
  if (!runs_.empty() && font_.pointSize() > 0 && !(font == font_)) {
    const double scale = font.pointSize() / font_.pointSize();
    for (auto& run : s.runs)
      if (run.font) run.font = run.font->fontWithSize(run.font->pointSize() * scale);
  }
  return s;
}

UIFont UILabel::fittedFont() const {
  if (!adjusts_ || text_.empty()) return font_;
  CGSize box = bounds().size;
  if (fit_.text != text_ || fit_.runs != runs_ || !(fit_.font == font_) || fit_.box != box || fit_.lines != lines_ ||
      fit_.minScale != minScale_) {
    fit_ = {text_,
            runs_,
            font_,
            box,
            lines_,
            minScale_,
            TextLayout::fittingScale(text_, style(font_), {box.width, lines_ == 1 ? 0 : box.height}, minScale_)};
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
