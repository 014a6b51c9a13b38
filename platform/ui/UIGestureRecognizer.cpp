#include "platform/ui/UIGestureRecognizer.h"

#include <algorithm>

#include "platform/ui/Animator.h"
#include "platform/ui/UIView.h"
#include "platform/ui/UIWindow.h"

namespace platform {

UIGestureRecognizer::UIGestureRecognizer(Action action) { addTarget(nullptr, std::move(action)); }

UIGestureRecognizer::~UIGestureRecognizer() {
  for (auto& w : mustFail_) {
    if (auto other = w.lock()) {
      auto& d = other->dependents_;
      d.erase(std::remove(d.begin(), d.end(), this), d.end());
    }
  }
  for (UIGestureRecognizer* d : dependents_) {
    auto& m = d->mustFail_;
    m.erase(std::remove_if(m.begin(), m.end(),
                           [this](const auto& w) {
                             auto s = w.lock();
                             return !s || s.get() == this;
                           }),
            m.end());
  }
}

void UIGestureRecognizer::addTarget(const void* target, Action action) {
  if (action) targets_.push_back({target, std::move(action)});
}

void UIGestureRecognizer::removeTarget(const void* target) {
  targets_.erase(std::remove_if(targets_.begin(), targets_.end(),
                                [target](const Target& t) { return target == nullptr || t.target == target; }),
                 targets_.end());
}

void UIGestureRecognizer::setEnabled(bool e) {
  enabled_ = e;
  if (e) return;
  if (state_ == UIGestureRecognizerState::Began || state_ == UIGestureRecognizerState::Changed) {
    setState(UIGestureRecognizerState::Cancelled);
  }
  reset();
}

void UIGestureRecognizer::requireGestureRecognizerToFail(const std::shared_ptr<UIGestureRecognizer>& other) {
  if (!other || other.get() == this) return;
  mustFail_.push_back(other);
  other->dependents_.push_back(this);
}

CGPoint UIGestureRecognizer::locationInView(const UIView* view) const {
  CGPoint p = lastLocation_;
  if (!touches_.empty()) {
    double x = 0, y = 0;
    for (UITouch* t : touches_) {
      x += t->windowLocation().x;
      y += t->windowLocation().y;
    }
    p = {x / touches_.size(), y / touches_.size()};
  }
  if (!view) return p;
  return view->convertPointFrom(p, nullptr);
}

double UIGestureRecognizer::now() { return toSeconds(Animator::now().time_since_epoch()); }

bool UIGestureRecognizer::shouldBegin() {
  if (!enabled_ || !view_) return false;
  UIView* hit = hitView_ ? hitView_ : view_;
  return hit->gestureRecognizerShouldBegin(*this);
}

void UIGestureRecognizer::trackTouches(const std::vector<UITouch*>& touches, bool add) {
  for (UITouch* t : touches) {
    lastLocation_ = t->windowLocation();
    auto it = std::find(touches_.begin(), touches_.end(), t);
    if (add && it == touches_.end()) {
      if (touches_.empty() && state_ == UIGestureRecognizerState::Possible) hitView_ = t->view();
      touches_.push_back(t);
    }
    if (!add && it != touches_.end()) touches_.erase(it);
  }
}

void UIGestureRecognizer::touchesBegan(const std::vector<UITouch*>& touches) { trackTouches(touches, true); }
void UIGestureRecognizer::touchesMoved(const std::vector<UITouch*>& touches) {
  for (UITouch* t : touches) lastLocation_ = t->windowLocation();
}
void UIGestureRecognizer::touchesEnded(const std::vector<UITouch*>& touches) { trackTouches(touches, false); }
void UIGestureRecognizer::touchesCancelled(const std::vector<UITouch*>& touches) { trackTouches(touches, false); }

void UIGestureRecognizer::cancelContinuousGesture() {
  using S = UIGestureRecognizerState;
  if (state_ == S::Began || state_ == S::Changed) {
    setState(S::Cancelled);
  } else if (state_ == S::Possible) {
    setState(S::Failed);
  }
}

void UIGestureRecognizer::reset() {
  state_ = UIGestureRecognizerState::Possible;
  pendingRecognition_ = false;
  touches_.clear();
  hitView_ = nullptr;
}

bool UIGestureRecognizer::waitingForFailures() const {
  for (const auto& w : mustFail_) {
    auto other = w.lock();
    if (other && other->enabled_ && other->state_ == UIGestureRecognizerState::Possible) return true;
  }
  return false;
}

void UIGestureRecognizer::setState(UIGestureRecognizerState s) {
  using S = UIGestureRecognizerState;
  if (s == S::Failed) {
    failNow();
    return;
  }
  bool recognizing = state_ == S::Possible && (s == S::Began || s == S::Ended);
  if (recognizing) {
    if (pendingRecognition_) return;
    if (!shouldBegin()) {
      failNow();
      return;
    }
    for (const auto& w : mustFail_) {
      auto other = w.lock();
      if (other && (other->state_ == S::Began || other->state_ == S::Changed || other->state_ == S::Ended)) {
        failNow();
        return;
      }
    }
    if (waitingForFailures()) {
      pendingRecognition_ = true;
      pendingState_ = s;
      return;
    }
  }
  commit(s);
}

void UIGestureRecognizer::commit(UIGestureRecognizerState s) {
  using S = UIGestureRecognizerState;
  S old = state_;
  bool recognizing = old == S::Possible && (s == S::Began || s == S::Ended);
  state_ = s;
  pendingRecognition_ = false;
  if (s == S::Failed) {
    auto deps = dependents_;
    for (UIGestureRecognizer* d : deps) d->otherRecognizerFinished();
    return;
  }
  UIWindow* window = view_ ? view_->window() : nullptr;
  if (recognizing) {
    if (window) window->recognizerRecognized(*this);
    auto deps = dependents_;
    for (UIGestureRecognizer* d : deps) d->otherRecognizerRecognized();
  }
  bool fires = recognizing || s == S::Changed || ((s == S::Ended || s == S::Cancelled) && old != S::Possible);
  if (fires) fireActions();
  bool terminal = s == S::Ended || s == S::Cancelled;
  if (terminal && !(window && window->isInSequence(*this))) reset();
}

void UIGestureRecognizer::failNow() {
  if (state_ != UIGestureRecognizerState::Possible) return;
  commit(UIGestureRecognizerState::Failed);
  UIWindow* window = view_ ? view_->window() : nullptr;
  if (!(window && window->isInSequence(*this))) reset();
}

void UIGestureRecognizer::otherRecognizerFinished() {
  if (!pendingRecognition_ || waitingForFailures()) return;
  // The recognised touches are over: ready for the next ones at once (a touch that is
  // beginning now may be its next tap).
  UIGestureRecognizerState s = pendingState_;
  commit(s);
  if (s == UIGestureRecognizerState::Ended) reset();
}

void UIGestureRecognizer::otherRecognizerRecognized() {
  if (state_ == UIGestureRecognizerState::Possible) {
    pendingRecognition_ = false;
    failNow();
  }
}

void UIGestureRecognizer::fireActions() {
  auto targets = targets_;
  for (auto& t : targets) t.action(*this);
}

}  // namespace platform
