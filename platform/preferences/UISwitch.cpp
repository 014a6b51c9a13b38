#include "platform/preferences/UISwitch.h"

namespace platform {

UISwitch::UISwitch(const CGRect& frame) : UIControl(CGRectMake(frame.origin.x, frame.origin.y, kWidth, kHeight)) {
  layer().setCornerRadius(kHeight / 2);
  knob_ = std::make_shared<UIView>(CGRectMake(2, 2, kHeight - 4, kHeight - 4));
  knob_->setBackgroundColor(UIColor::whiteColor());
  knob_->layer().setCornerRadius((kHeight - 4) / 2);
  knob_->setUserInteractionEnabled(false);
  addSubview(knob_);
  addTarget(
      this, [](UIControl& sender) { static_cast<UISwitch&>(sender).toggle(); }, UIControlEvents::TouchUpInside);
  refreshLook();
}

void UISwitch::setOn(bool on, bool) {
  on_ = on;
  refreshLook();
}

void UISwitch::toggle() {
  if (!isEnabled()) return;
  setOn(!on_);
  sendActionsForControlEvents(UIControlEvents::ValueChanged);
}

void UISwitch::setEnabled(bool enabled) {
  UIControl::setEnabled(enabled);
  setAlpha(enabled ? 1.0 : 0.5);
}

void UISwitch::tintColorDidChange() { refreshLook(); }

void UISwitch::layoutSubviews() {
  UIControl::layoutSubviews();
  refreshLook();
}

void UISwitch::refreshLook() {
  setBackgroundColor(on_ ? tintColor() : UIColor::colorWithWhite(0.9, 1));
  double x = on_ ? bounds().size.width - kHeight + 2 : 2;
  knob_->setFrame(CGRectMake(x, 2, kHeight - 4, kHeight - 4));
}

}  // namespace platform
