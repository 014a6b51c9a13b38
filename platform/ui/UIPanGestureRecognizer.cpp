#include "platform/ui/UIPanGestureRecognizer.h"

#include <cmath>

#include "platform/ui/UIView.h"

namespace platform {

namespace {
constexpr double kVelocityWindow = 0.1;  // seconds of moves that make the velocity
}

void UIPanGestureRecognizer::sample(CGPoint p) {
  double t = now();
  current_ = p;
  samples_.emplace_back(t, p);
  while (samples_.size() > 2 && t - samples_.front().first > kVelocityWindow) samples_.pop_front();
}

void UIPanGestureRecognizer::touchesBegan(const std::vector<UITouch*>& touches) {
  bool first = this->touches().empty();
  UIGestureRecognizer::touchesBegan(touches);
  if (first && state() == UIGestureRecognizerState::Possible) {
    samples_.clear();
    origin_ = lastWindowLocation();
    sample(origin_);
  }
}

void UIPanGestureRecognizer::touchesMoved(const std::vector<UITouch*>& touches) {
  UIGestureRecognizer::touchesMoved(touches);
  sample(locationInView(nullptr));
  using S = UIGestureRecognizerState;
  if (state() == S::Possible) {
    if (std::hypot(current_.x - origin_.x, current_.y - origin_.y) >= kHysteresis &&
        this->touches().size() >= minTouches_) {
      setState(S::Began);
    }
  } else if (state() == S::Began || state() == S::Changed) {
    setState(S::Changed);
  }
}

void UIPanGestureRecognizer::touchesEnded(const std::vector<UITouch*>& touches) {
  if (!touches.empty()) sample(touches.front()->windowLocation());
  UIGestureRecognizer::touchesEnded(touches);
  if (!this->touches().empty()) return;
  using S = UIGestureRecognizerState;
  if (state() == S::Began || state() == S::Changed) {
    setState(S::Ended);
  } else if (state() == S::Possible) {
    setState(S::Failed);
  }
}

void UIPanGestureRecognizer::touchesCancelled(const std::vector<UITouch*>& touches) {
  UIGestureRecognizer::touchesCancelled(touches);
  cancelContinuousGesture();
}

void UIPanGestureRecognizer::reset() {
  UIGestureRecognizer::reset();
  samples_.clear();
}

CGPoint UIPanGestureRecognizer::windowTranslation() const { return {current_.x - origin_.x, current_.y - origin_.y}; }

CGPoint UIPanGestureRecognizer::translationInView(const UIView* view) const {
  if (!view) return windowTranslation();
  CGPoint a = view->convertPointFrom(origin_, nullptr), b = view->convertPointFrom(current_, nullptr);
  return {b.x - a.x, b.y - a.y};
}

void UIPanGestureRecognizer::setTranslation(CGPoint t, const UIView* view) {
  if (!view) {
    origin_ = {current_.x - t.x, current_.y - t.y};
    return;
  }
  CGPoint c = view->convertPointFrom(current_, nullptr);
  origin_ = view->convertPoint({c.x - t.x, c.y - t.y}, nullptr);
}

CGPoint UIPanGestureRecognizer::velocityInView(const UIView* view) const {
  if (samples_.size() < 2) return {0, 0};
  const auto& a = samples_.front();
  const auto& b = samples_.back();
  double dt = b.first - a.first;
  if (dt <= 0) return {0, 0};
  // A finger that rested before lifting has no speed left.
  if (now() - b.first > kVelocityWindow) return {0, 0};
  CGPoint pa = a.second, pb = b.second;
  if (view) {
    pa = view->convertPointFrom(pa, nullptr);
    pb = view->convertPointFrom(pb, nullptr);
  }
  return {(pb.x - pa.x) / dt, (pb.y - pa.y) / dt};
}

}  // namespace platform
