#include "platform/ui/UIScrollView.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/Animator.h"
#include "platform/ui/ScrollMotion.h"
#include "platform/ui/UILayoutGuide.h"
#include "platform/ui/UIPanGestureRecognizer.h"

namespace platform {

namespace {
constexpr double kGlideDuration = 0.3;

// How far content dragged `d` points past an end moves (UIKit's rubber band).
double rubberBand(double d, double dimension) {
  if (dimension <= 0) return 0;
  return (1 - 1 / (d * 0.55 / dimension + 1)) * dimension;
}
}  // namespace

UIScrollView::UIScrollView(const CGRect& frame) : UIView(frame) {
  setClipsToBounds(true);
  pan_ = std::make_shared<UIPanGestureRecognizer>([this](UIGestureRecognizer&) { handlePan(); });
  addGestureRecognizer(pan_);
  contentGuide_ = std::make_shared<UILayoutGuide>();
  contentGuide_->owner_ = this;
  contentGuide_->content_ = true;
  contentGuide_->identifier_ = "UIScrollView-contentLayoutGuide";
}

UIScrollView::~UIScrollView() {
  stopMotion();
  contentGuide_->owner_ = nullptr;
}

UILayoutGuide& UIScrollView::contentLayoutGuide() { return *contentGuide_; }

void UIScrollView::setBounds(const CGRect& b) { UIView::setBounds(b); }

CGPoint UIScrollView::minimumContentOffset() const { return {-inset_.left, -inset_.top}; }

CGPoint UIScrollView::maximumContentOffset() const {
  CGPoint lo = minimumContentOffset();
  CGSize s = bounds().size;
  return {std::max(lo.x, contentSize_.width + inset_.right - s.width),
          std::max(lo.y, contentSize_.height + inset_.bottom - s.height)};
}

bool UIScrollView::canScrollX() const {
  return alwaysBounceH_ || contentSize_.width + inset_.left + inset_.right > bounds().size.width;
}

bool UIScrollView::canScrollY() const {
  return alwaysBounceV_ || contentSize_.height + inset_.top + inset_.bottom > bounds().size.height;
}

void UIScrollView::setScrollEnabled(bool e) {
  scrollEnabled_ = e;
  pan_->setEnabled(e);
}

void UIScrollView::moveTo(CGPoint offset) {
  CGRect b = bounds();
  if (b.origin == offset) return;
  UIView::setBounds({offset, b.size});
  if (delegate_) delegate_->scrollViewDidScroll(*this);
}

void UIScrollView::setContentOffset(CGPoint offset) {
  stopMotion();
  moveTo(offset);
}

void UIScrollView::setContentOffset(CGPoint offset, bool animated) {
  if (!animated) {
    setContentOffset(offset);
    return;
  }
  stopMotion();
  if (offset == contentOffset()) return;
  motion_ = std::make_shared<ScrollMotion>(ScrollMotion::glide(this, contentOffset(), offset, kGlideDuration));
  motion_->setBegin(Animator::now());
  Animator::shared().add(motion_);
}

void UIScrollView::stopMotion() {
  if (!motion_) return;
  motion_->stop();
  motion_.reset();
  decelerating_ = false;
}

void UIScrollView::motionEnded(bool animation) {
  motion_.reset();
  if (animation) {
    if (delegate_) delegate_->scrollViewDidEndScrollingAnimation(*this);
    return;
  }
  decelerating_ = false;
  if (delegate_) delegate_->scrollViewDidEndDecelerating(*this);
}

void UIScrollView::handlePan() {
  using S = UIGestureRecognizerState;
  CGPoint lo = minimumContentOffset(), hi = maximumContentOffset();
  switch (pan_->state()) {
    case S::Began:
      stopMotion();
      tracking_ = dragging_ = true;
      dragStartOffset_ = contentOffset();
      pan_->setTranslation({0, 0}, nullptr);
      if (delegate_) delegate_->scrollViewWillBeginDragging(*this);
      break;
    case S::Changed: {
      CGPoint t = pan_->translationInView(nullptr);
      CGPoint o = contentOffset();
      CGSize size = bounds().size;
      auto follow = [this](double start, double move, double min, double max, double dim) {
        double raw = start - move;
        if (!bounces_) return std::clamp(raw, min, max);
        if (raw < min) return min - rubberBand(min - raw, dim);
        if (raw > max) return max + rubberBand(raw - max, dim);
        return raw;
      };
      if (canScrollX()) o.x = follow(dragStartOffset_.x, t.x, lo.x, hi.x, size.width);
      if (canScrollY()) o.y = follow(dragStartOffset_.y, t.y, lo.y, hi.y, size.height);
      moveTo(o);
      break;
    }
    case S::Ended:
    case S::Cancelled: {
      tracking_ = false;
      CGPoint v{0, 0};
      if (pan_->state() == S::Ended) {
        CGPoint fv = pan_->velocityInView(nullptr);
        v = {canScrollX() ? -fv.x : 0, canScrollY() ? -fv.y : 0};
      }
      CGPoint o = contentOffset();
      double lambda = -std::log(std::clamp(decelerationRate_, 0.5, 0.999999)) * 1000;
      CGPoint target = o;
      bool outside = o.x < lo.x || o.x > hi.x || o.y < lo.y || o.y > hi.y;
      if (outside) {
        target = {std::clamp(o.x, lo.x, hi.x), std::clamp(o.y, lo.y, hi.y)};
      } else {
        target = {o.x + v.x / lambda, o.y + v.y / lambda};
        if (!bounces_) target = {std::clamp(target.x, lo.x, hi.x), std::clamp(target.y, lo.y, hi.y)};
      }
      if (delegate_) delegate_->scrollViewWillEndDragging(*this, {v.x / 1000, v.y / 1000}, &target);
      dragging_ = false;
      bool decelerate = outside || target != o;
      if (delegate_) delegate_->scrollViewDidEndDragging(*this, decelerate);
      if (!decelerate) break;
      decelerating_ = true;
      motion_ = std::make_shared<ScrollMotion>(
          ScrollMotion::deceleration(this, o, v, target, lo, hi, decelerationRate_, bounces_));
      motion_->setBegin(Animator::now());
      Animator::shared().add(motion_);
      break;
    }
    default: break;
  }
}

}  // namespace platform
