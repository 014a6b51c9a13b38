#include "platform/preferences/UISlider.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/UITouch.h"

namespace platform {

namespace {
constexpr double kThumb = 28;
}

UISlider::UISlider(const CGRect& frame) : UIControl(frame) {
  track_ = std::make_shared<UIView>();
  track_->setBackgroundColor(UIColor::colorWithWhite(0.85, 1));
  fill_ = std::make_shared<UIView>();
  thumb_ = std::make_shared<UIView>();
  thumb_->setBackgroundColor(UIColor::whiteColor());
  thumb_->layer().setCornerRadius(kThumb / 2);
  thumb_->layer().setBorderWidth(0.5);
  thumb_->layer().setBorderColor(UIColor::colorWithWhite(0.7, 1));
  for (auto* v : {&track_, &fill_, &thumb_}) {
    (*v)->setUserInteractionEnabled(false);
    addSubview(*v);
  }
}

void UISlider::setValue(double value, bool) {
  if (std::isnan(value)) return;
  value_ = std::clamp(value, minimum_, maximum_);
  layoutSubviews();
}

void UISlider::setValueFromUser(double value) {
  if (!isEnabled()) return;
  setValue(value);
  sendActionsForControlEvents(UIControlEvents::ValueChanged);
}

void UISlider::setRange(double minimum, double maximum) {
  if (std::isnan(minimum) || std::isnan(maximum)) return;
  if (minimum > maximum) std::swap(minimum, maximum);
  minimum_ = minimum;
  maximum_ = maximum;
  setValue(value_);
}

void UISlider::setEnabled(bool enabled) {
  UIControl::setEnabled(enabled);
  setAlpha(enabled ? 1.0 : 0.5);
}

void UISlider::layoutSubviews() {
  UIControl::layoutSubviews();
  CGRect b = bounds();
  double usable = std::max(0.0, b.size.width - kThumb);
  double fraction = maximum_ > minimum_ ? (value_ - minimum_) / (maximum_ - minimum_) : 0;
  double midY = b.size.height / 2;
  track_->setFrame(CGRectMake(kThumb / 2, midY - 2, usable, 4));
  fill_->setFrame(CGRectMake(kThumb / 2, midY - 2, usable * fraction, 4));
  fill_->setBackgroundColor(tintColor());
  thumb_->setFrame(CGRectMake(usable * fraction, midY - kThumb / 2, kThumb, kThumb));
}

void UISlider::touchesEnded(const std::vector<UITouch*>& touches, UIEvent* event) {
  if (!touches.empty() && isEnabled()) {
    CGPoint p = touches.front()->locationInView(this);
    double usable = std::max(1.0, bounds().size.width - kThumb);
    double fraction = std::clamp((p.x - kThumb / 2) / usable, 0.0, 1.0);
    setValueFromUser(minimum_ + fraction * (maximum_ - minimum_));
  }
  UIControl::touchesEnded(touches, event);
}

}  // namespace platform
