#pragma once

#include <string>

#include "platform/ui/UIControl.h"

namespace platform {

class UILabel;

// A one-line editable text (UITextField): its text or, while empty, its
// placeholder in grey. Typing is simulated by setTextFromUser, which sends
// EditingChanged-like ValueChanged. Owned by its superview.
class UITextField : public UIControl {
 public:
  explicit UITextField(const CGRect& frame = CGRectZero);

  const std::string& text() const { return text_; }
  void setText(std::string text);
  // Replaces the text as the user would and sends ValueChanged (nothing while disabled).
  void setTextFromUser(std::string text);
  void setPlaceholder(std::string placeholder);
  UILabel& label() const { return *label_; }

  void layoutSubviews() override;

 private:
  void refresh();
  std::string text_;
  std::string placeholder_;
  std::shared_ptr<UILabel> label_;
};

}  // namespace platform
