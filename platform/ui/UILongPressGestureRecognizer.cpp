#include "platform/ui/UILongPressGestureRecognizer.h"

#include <cmath>

#include "platform/foundation/TaskEnvironment.h"

namespace platform {

UILongPressGestureRecognizer::~UILongPressGestureRecognizer() = default;

void UILongPressGestureRecognizer::touchesBegan(const std::vector<UITouch*>& touches) {
  bool first = this->touches().empty();
  UIGestureRecognizer::touchesBegan(touches);
  if (!first || state() != UIGestureRecognizerState::Possible) return;
  start_ = lastWindowLocation();
  timerToken_ = std::make_shared<int>(0);
  std::weak_ptr<int> token = timerToken_;
  TaskEnvironment::current().mainLoop().postDelayed(seconds(minDuration_), [this, token] {
    if (token.expired()) return;
    if (state() == UIGestureRecognizerState::Possible && !this->touches().empty()) {
      setState(UIGestureRecognizerState::Began);
    }
  });
}

void UILongPressGestureRecognizer::touchesMoved(const std::vector<UITouch*>& touches) {
  UIGestureRecognizer::touchesMoved(touches);
  using S = UIGestureRecognizerState;
  CGPoint p = lastWindowLocation();
  if (state() == S::Possible) {
    if (std::hypot(p.x - start_.x, p.y - start_.y) > allowable_) {
      timerToken_.reset();
      setState(S::Failed);
    }
  } else if (state() == S::Began || state() == S::Changed) {
    setState(S::Changed);
  }
}

void UILongPressGestureRecognizer::touchesEnded(const std::vector<UITouch*>& touches) {
  UIGestureRecognizer::touchesEnded(touches);
  if (!this->touches().empty()) return;
  timerToken_.reset();
  using S = UIGestureRecognizerState;
  if (state() == S::Began || state() == S::Changed) {
    setState(S::Ended);
  } else if (state() == S::Possible) {
    setState(S::Failed);
  }
}

void UILongPressGestureRecognizer::touchesCancelled(const std::vector<UITouch*>& touches) {
  UIGestureRecognizer::touchesCancelled(touches);
  timerToken_.reset();
  cancelContinuousGesture();
}

void UILongPressGestureRecognizer::reset() {
  UIGestureRecognizer::reset();
  timerToken_.reset();
}

}  // namespace platform
