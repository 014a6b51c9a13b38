#pragma once

#include "platform/ui/UIControl.h"

namespace platform {

// A horizontal slider (UISlider) between minimumValue and maximumValue: a
// thin track filled in the tint colour up to a round thumb. setValue clamps
// and sends nothing; a user change (setValueFromUser) sends ValueChanged.
// Owned by its superview.
class UISlider : public UIControl {
 public:
  explicit UISlider(const CGRect& frame = CGRectZero);

  double value() const { return value_; }
  // Sets the value, clamped to the range, without sending an action.
  void setValue(double value, bool animated = false);
  // Sets the value as a drag would and sends ValueChanged (nothing while disabled).
  void setValueFromUser(double value);
  double minimumValue() const { return minimum_; }
  double maximumValue() const { return maximum_; }
  // Sets the range (swapped when given backwards) and clamps the value into it.
  void setRange(double minimum, double maximum);

  void setEnabled(bool enabled) override;
  void tintColorDidChange() override { layoutSubviews(); }
  void layoutSubviews() override;
  void touchesEnded(const std::vector<UITouch*>& touches, UIEvent* event) override;
  CGSize intrinsicContentSize() const override { return {UIViewNoIntrinsicMetric, 31}; }

 private:
  double value_ = 0;
  double minimum_ = 0;
  double maximum_ = 1;
  std::shared_ptr<UIView> track_;
  std::shared_ptr<UIView> fill_;
  std::shared_ptr<UIView> thumb_;
};

}  // namespace platform
