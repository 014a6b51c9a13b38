#include "platform/ui/UITapGestureRecognizer.h"

#include <cmath>

#include "platform/foundation/TaskEnvironment.h"

namespace platform {

namespace {
double distance(CGPoint a, CGPoint b) { return std::hypot(a.x - b.x, a.y - b.y); }
}  // namespace

UITapGestureRecognizer::~UITapGestureRecognizer() = default;

void UITapGestureRecognizer::touchesBegan(const std::vector<UITouch*>& touches) {
  UIGestureRecognizer::touchesBegan(touches);
  if (isWaitingToRecognize() || state() != UIGestureRecognizerState::Possible) return;
  timeoutToken_.reset();
  CGPoint p = lastWindowLocation();
  if (count_ == 0) {
    firstStart_ = p;
  } else if (distance(p, firstStart_) > kMaximumTapDistance) {
    fail();
    return;
  }
  start_ = p;
}

void UITapGestureRecognizer::touchesMoved(const std::vector<UITouch*>& touches) {
  UIGestureRecognizer::touchesMoved(touches);
  if (isWaitingToRecognize() || state() != UIGestureRecognizerState::Possible) return;
  if (distance(lastWindowLocation(), start_) > kAllowableMovement) fail();
}

void UITapGestureRecognizer::touchesEnded(const std::vector<UITouch*>& touches) {
  UIGestureRecognizer::touchesEnded(touches);
  if (isWaitingToRecognize() || state() != UIGestureRecognizerState::Possible) return;
  if (!this->touches().empty()) return;
  if (++count_ >= taps_) {
    setState(UIGestureRecognizerState::Ended);
  } else {
    armTimeout();
  }
}

void UITapGestureRecognizer::touchesCancelled(const std::vector<UITouch*>& touches) {
  UIGestureRecognizer::touchesCancelled(touches);
  if (isWaitingToRecognize() || state() != UIGestureRecognizerState::Possible) return;
  fail();
}

void UITapGestureRecognizer::reset() {
  UIGestureRecognizer::reset();
  count_ = 0;
  timeoutToken_.reset();
}

// The next tap must begin within the maximum interval, else the gesture fails.
void UITapGestureRecognizer::armTimeout() {
  timeoutToken_ = std::make_shared<int>(0);
  std::weak_ptr<int> token = timeoutToken_;
  TaskEnvironment::current().mainLoop().postDelayed(seconds(kMaximumTapInterval), [this, token] {
    if (token.expired()) return;
    timeoutToken_.reset();
    if (state() == UIGestureRecognizerState::Possible && !isWaitingToRecognize()) fail();
  });
}

void UITapGestureRecognizer::fail() {
  timeoutToken_.reset();
  setState(UIGestureRecognizerState::Failed);
}

}  // namespace platform
