#include "platform/preferences/UITextField.h"

#include "platform/ui/UILabel.h"

namespace platform {

UITextField::UITextField(const CGRect& frame) : UIControl(frame) {
  label_ = std::make_shared<UILabel>();
  label_->setFont(UIFont::systemFontOfSize(17));
  label_->setTextAlignment(NSTextAlignment::Right);
  label_->setUserInteractionEnabled(false);
  addSubview(label_);
  refresh();
}

void UITextField::setText(std::string text) {
  text_ = std::move(text);
  refresh();
}

void UITextField::setTextFromUser(std::string text) {
  if (!isEnabled()) return;
  setText(std::move(text));
  sendActionsForControlEvents(UIControlEvents::ValueChanged);
}

void UITextField::setPlaceholder(std::string placeholder) {
  placeholder_ = std::move(placeholder);
  refresh();
}

void UITextField::layoutSubviews() {
  UIControl::layoutSubviews();
  label_->setFrame(bounds());
}

void UITextField::refresh() {
  label_->setText(text_.empty() ? placeholder_ : text_);
  label_->setTextColor(text_.empty() ? UIColor::lightGrayColor() : UIColor::blackColor());
}

}  // namespace platform
