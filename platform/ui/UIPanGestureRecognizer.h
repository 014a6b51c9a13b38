#pragma once

#include <deque>
#include <utility>

#include "platform/ui/UIGestureRecognizer.h"

namespace platform {

// Recognises a drag (UIPanGestureRecognizer): begins once the finger has
// moved 10 points from where it went down, then reports Changed on each move
// and Ended when it lifts (Cancelled when the touch is cancelled). The
// translation is measured from the touch-down point (or from the last
// setTranslation); the velocity from the moves of the last 100 ms.
class UIPanGestureRecognizer : public UIGestureRecognizer {
 public:
  static constexpr double kHysteresis = 10;

  UIPanGestureRecognizer() = default;
  explicit UIPanGestureRecognizer(Action action) : UIGestureRecognizer(std::move(action)) {}

  size_t minimumNumberOfTouches() const { return minTouches_; }
  void setMinimumNumberOfTouches(size_t n) { minTouches_ = n; }
  // Movement since the start, in `view`'s coordinate axes (points).
  CGPoint translationInView(const UIView* view) const;
  // Resets the reference so that the translation now reads `t`.
  void setTranslation(CGPoint t, const UIView* view);
  // Points per second in `view`'s coordinate axes.
  CGPoint velocityInView(const UIView* view) const;

  void touchesBegan(const std::vector<UITouch*>& touches) override;
  void touchesMoved(const std::vector<UITouch*>& touches) override;
  void touchesEnded(const std::vector<UITouch*>& touches) override;
  void touchesCancelled(const std::vector<UITouch*>& touches) override;
  void reset() override;

 private:
  void sample(CGPoint p);
  CGPoint windowTranslation() const;

  size_t minTouches_ = 1;
  CGPoint origin_;   // window coordinates of the translation's zero
  CGPoint current_;  // window coordinates now
  std::deque<std::pair<double, CGPoint>> samples_;
};

}  // namespace platform
