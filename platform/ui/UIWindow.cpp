#include "platform/ui/UIWindow.h"

#include <algorithm>

#include "platform/ui/Animator.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIGestureRecognizer.h"
#include "platform/ui/UIViewController.h"

namespace platform {

struct UIWindow::Tracked {
  std::shared_ptr<UITouch> touch;
  UIView* view = nullptr;
  std::shared_ptr<UIView> keepView;  // the hit view stays alive while it tracks the finger
  std::vector<std::shared_ptr<UIGestureRecognizer>> recognizers;
  bool viewCancelled = false;
};

UIWindow::UIWindow(const CGRect& frame) : UIView(frame) {
  isWindow_ = true;
  layer().setHidden(true);
  ui_internal::registerWindow(this);
}

UIWindow::~UIWindow() {
  ui_internal::unregisterWindow(this);
  for (auto& [finger, tracked] : tracked_) tracked->touch->window_ = nullptr;
}

void UIWindow::setRootViewController(std::shared_ptr<UIViewController> vc) {
  if (root_ == vc) return;
  if (root_ && root_->isViewLoaded() && root_->view()->superview() == this) root_->view()->removeFromSuperview();
  root_ = std::move(vc);
  if (!root_) return;
  auto view = root_->viewPtr();
  view->setFrame(bounds());
  view->setAutoresizingMask(UIViewAutoresizing::FlexibleWidth | UIViewAutoresizing::FlexibleHeight);
  bool visible = !isHidden();
  if (visible) root_->viewWillAppear(false);
  insertSubview(view, 0);
  if (visible) root_->viewDidAppear(false);
}

void UIWindow::makeKeyAndVisible() {
  makeKeyWindow();
  setHidden(false);
}

void UIWindow::makeKeyWindow() { ui_internal::setKeyWindow(this); }

bool UIWindow::isKeyWindow() const { return UIApplication::sharedApplication().keyWindow() == this; }

void UIWindow::setHidden(bool hidden) {
  bool wasHidden = isHidden();
  UIView::setHidden(hidden);
  if (wasHidden && !hidden) {
    order_ = ui_internal::nextWindowOrder();
    if (root_) {
      root_->viewWillAppear(false);
      root_->viewDidAppear(false);
    }
    setNeedsLayout();
  }
}

void UIWindow::setSafeAreaInsets(const UIEdgeInsets& insets) {
  safeArea_ = insets;
  setNeedsLayout();
}

bool UIWindow::isTracking(int finger) const { return tracked_.count(finger) != 0; }

void UIWindow::tap(CGPoint point) {
  sendTouch(UITouchPhase::Began, point);
  sendTouch(UITouchPhase::Ended, point);
}

bool UIWindow::sendTouch(UITouchPhase phase, CGPoint point, int finger) {
  double t = toSeconds(Animator::now().time_since_epoch());
  UIEvent event(t);
  using S = UIGestureRecognizerState;
  auto takesTouches = [](const UIGestureRecognizer& g) {
    return g.state() == S::Possible || g.state() == S::Began || g.state() == S::Changed;
  };

  if (phase == UITouchPhase::Began) {
    if (tracked_.count(finger)) return false;
    UIView* hit = hitTest(point, &event);
    for (auto& [f, tr] : tracked_) {
      if (tr->view && tr->view->isExclusiveTouch()) return false;
    }
    if (hit && hit->isExclusiveTouch() && !tracked_.empty()) return false;
    auto tr = std::make_shared<Tracked>();
    tr->touch = std::make_shared<UITouch>();
    UITouch& touch = *tr->touch;
    touch.phase_ = UITouchPhase::Began;
    touch.timestamp_ = t;
    touch.view_ = hit;
    touch.window_ = this;
    touch.location_ = touch.previous_ = point;
    touch.finger_ = finger;
    tr->view = hit;
    if (hit) tr->keepView = hit->weak_from_this().lock();
    for (UIView* v = hit; v; v = v->superview()) {
      for (const auto& g : v->gestureRecognizers()) {
        if (g->isEnabled()) tr->recognizers.push_back(g);
      }
    }
    tracked_[finger] = tr;
    for (const auto& g : tr->recognizers) {
      if (std::find(sequence_.begin(), sequence_.end(), g) == sequence_.end()) sequence_.push_back(g);
    }
    std::vector<UITouch*> touches{&touch};
    auto recognizers = tr->recognizers;
    for (const auto& g : recognizers) {
      if (takesTouches(*g)) g->touchesBegan(touches);
    }
    if (!tr->viewCancelled && hit) hit->touchesBegan(touches, &event);
    return hit != nullptr || !tr->recognizers.empty();
  }

  auto it = tracked_.find(finger);
  if (it == tracked_.end()) return false;
  auto tr = it->second;
  UITouch& touch = *tr->touch;
  touch.previous_ = touch.location_;
  touch.location_ = point;
  touch.timestamp_ = t;
  touch.phase_ = phase == UITouchPhase::Began ? UITouchPhase::Moved : phase;
  std::vector<UITouch*> touches{&touch};
  auto recognizers = tr->recognizers;
  for (const auto& g : recognizers) {
    if (!takesTouches(*g)) continue;
    switch (phase) {
      case UITouchPhase::Moved:
      case UITouchPhase::Stationary: g->touchesMoved(touches); break;
      case UITouchPhase::Ended: g->touchesEnded(touches); break;
      case UITouchPhase::Cancelled: g->touchesCancelled(touches); break;
      default: break;
    }
  }
  if (!tr->viewCancelled && tr->view) {
    switch (phase) {
      case UITouchPhase::Moved:
      case UITouchPhase::Stationary: tr->view->touchesMoved(touches, &event); break;
      case UITouchPhase::Ended: tr->view->touchesEnded(touches, &event); break;
      case UITouchPhase::Cancelled: tr->view->touchesCancelled(touches, &event); break;
      default: break;
    }
  }
  if (phase == UITouchPhase::Ended || phase == UITouchPhase::Cancelled) {
    tracked_.erase(finger);
    endSequenceIfIdle();
  }
  return true;
}

void UIWindow::recognizerRecognized(UIGestureRecognizer& g) {
  auto members = sequence_;
  for (const auto& other : members) {
    if (other.get() != &g && other->state() == UIGestureRecognizerState::Possible) other->failNow();
  }
  if (!g.cancelsTouchesInView()) return;
  auto tracked = tracked_;
  for (auto& [finger, tr] : tracked) {
    bool mine =
        std::any_of(tr->recognizers.begin(), tr->recognizers.end(), [&g](const auto& p) { return p.get() == &g; });
    if (!mine || tr->viewCancelled || !tr->view) continue;
    tr->viewCancelled = true;
    UIEvent event(tr->touch->timestamp());
    tr->touch->phase_ = UITouchPhase::Cancelled;
    std::vector<UITouch*> touches{tr->touch.get()};
    tr->view->touchesCancelled(touches, &event);
  }
}

bool UIWindow::isInSequence(const UIGestureRecognizer& g) const {
  return std::any_of(sequence_.begin(), sequence_.end(), [&g](const auto& p) { return p.get() == &g; });
}

void UIWindow::endSequenceIfIdle() {
  if (!tracked_.empty()) return;
  auto members = std::move(sequence_);
  sequence_.clear();
  for (const auto& g : members) {
    auto s = g->state();
    if (s == UIGestureRecognizerState::Ended || s == UIGestureRecognizerState::Cancelled ||
        s == UIGestureRecognizerState::Failed) {
      g->reset();
    }
  }
}

}  // namespace platform
