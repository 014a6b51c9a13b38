#pragma once

#include <memory>

#include "platform/ui/UIGestureRecognizer.h"

namespace platform {

// Recognises a finger held still (UILongPressGestureRecognizer): Began once
// it has been down for minimumPressDuration without moving more than
// allowableMovement, Changed on later moves, Ended when it lifts. Lifted or
// moved away earlier, it fails.
class UILongPressGestureRecognizer : public UIGestureRecognizer {
 public:
  UILongPressGestureRecognizer() = default;
  explicit UILongPressGestureRecognizer(Action action) : UIGestureRecognizer(std::move(action)) {}
  ~UILongPressGestureRecognizer() override;

  // Seconds (default 0.5).
  double minimumPressDuration() const { return minDuration_; }
  void setMinimumPressDuration(double s) { minDuration_ = s; }
  // Points (default 10).
  double allowableMovement() const { return allowable_; }
  void setAllowableMovement(double p) { allowable_ = p; }

  void touchesBegan(const std::vector<UITouch*>& touches) override;
  void touchesMoved(const std::vector<UITouch*>& touches) override;
  void touchesEnded(const std::vector<UITouch*>& touches) override;
  void touchesCancelled(const std::vector<UITouch*>& touches) override;
  void reset() override;

 private:
  double minDuration_ = 0.5;
  double allowable_ = 10;
  CGPoint start_;
  std::shared_ptr<int> timerToken_;
};

}  // namespace platform
