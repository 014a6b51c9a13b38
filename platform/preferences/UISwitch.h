#pragma once

#include "platform/ui/UIControl.h"

namespace platform {

// An on/off switch (UISwitch): a 51 × 31 pill whose knob slides to the right
// when on. A tap flips it and sends ValueChanged; setOn does not send. The
// track takes the tint colour when on. Owned by its superview.
class UISwitch : public UIControl {
 public:
  static constexpr double kWidth = 51;
  static constexpr double kHeight = 31;

  explicit UISwitch(const CGRect& frame = CGRectZero);

  bool isOn() const { return on_; }
  // Sets the state without sending an action.
  void setOn(bool on, bool animated = false);
  // Flips the state as a tap does and sends ValueChanged (nothing while disabled).
  void toggle();

  void setEnabled(bool enabled) override;
  void tintColorDidChange() override;
  void layoutSubviews() override;
  CGSize intrinsicContentSize() const override { return {kWidth, kHeight}; }
  CGSize sizeThatFits(CGSize) override { return {kWidth, kHeight}; }

 private:
  void refreshLook();
  bool on_ = false;
  std::shared_ptr<UIView> knob_;
};

}  // namespace platform
