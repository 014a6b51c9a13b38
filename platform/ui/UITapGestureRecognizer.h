#pragma once

#include <memory>

#include "platform/ui/UIGestureRecognizer.h"

namespace platform {

// Recognises one or more taps of one finger (UITapGestureRecognizer). A tap
// is a touch that moves less than 10 points; taps of a multi-tap gesture
// must follow within 0.35 s of each other and lie within 45 points of the
// first. Discrete: goes straight to Ended (recognised).
class UITapGestureRecognizer : public UIGestureRecognizer {
 public:
  static constexpr double kAllowableMovement = 10;
  static constexpr double kMaximumTapInterval = 0.35;
  static constexpr double kMaximumTapDistance = 45;

  UITapGestureRecognizer() = default;
  explicit UITapGestureRecognizer(Action action) : UIGestureRecognizer(std::move(action)) {}
  ~UITapGestureRecognizer() override;

  int numberOfTapsRequired() const { return taps_; }
  void setNumberOfTapsRequired(int n) { taps_ = n < 1 ? 1 : n; }
  int numberOfTouchesRequired() const { return 1; }

  void touchesBegan(const std::vector<UITouch*>& touches) override;
  void touchesMoved(const std::vector<UITouch*>& touches) override;
  void touchesEnded(const std::vector<UITouch*>& touches) override;
  void touchesCancelled(const std::vector<UITouch*>& touches) override;
  void reset() override;

 private:
  void armTimeout();
  void fail();

  int taps_ = 1;
  int count_ = 0;
  CGPoint start_;
  CGPoint firstStart_;
  std::shared_ptr<int> timeoutToken_;
};

}  // namespace platform
