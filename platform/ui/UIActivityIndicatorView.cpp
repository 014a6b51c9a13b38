#include "platform/ui/UIActivityIndicatorView.h"

#include "platform/ui/Animator.h"

namespace platform {

namespace {
double sideFor(UIActivityIndicatorViewStyle s) {
  return s == UIActivityIndicatorViewStyle::WhiteLarge || s == UIActivityIndicatorViewStyle::Large ? 37 : 20;
}
}  // namespace

UIActivityIndicatorView::UIActivityIndicatorView(UIActivityIndicatorViewStyle style)
    : UIView(CGRectMake(0, 0, sideFor(style), sideFor(style))), style_(style) {
  setHidden(true);
}

UIColor UIActivityIndicatorView::color() const {
  if (color_) return *color_;
  if (style_ == UIActivityIndicatorViewStyle::WhiteLarge || style_ == UIActivityIndicatorViewStyle::White) {
    return UIColor::whiteColor();
  }
  return UIColor::grayColor();
}

void UIActivityIndicatorView::startAnimating() {
  if (!started_) started_ = Animator::now();
  setHidden(false);
}

void UIActivityIndicatorView::stopAnimating() {
  started_.reset();
  if (hidesWhenStopped_) setHidden(true);
}

void UIActivityIndicatorView::setHidesWhenStopped(bool h) {
  hidesWhenStopped_ = h;
  if (!started_) setHidden(h);
}

double UIActivityIndicatorView::animationTime() const { return started_ ? toSeconds(Animator::now() - *started_) : 0; }

CGSize UIActivityIndicatorView::intrinsicContentSize() const { return {sideFor(style_), sideFor(style_)}; }

}  // namespace platform
