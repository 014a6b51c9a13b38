#pragma once

#include <memory>

#include "platform/foundation/Clock.h"
#include "platform/ui/UIScrollViewDelegate.h"
#include "platform/ui/UIView.h"

namespace platform {

class UIPanGestureRecognizer;
class UILayoutGuide;
class ScrollMotion;

// A view that shows a movable window onto a larger content (UIScrollView).
// The content offset is the bounds origin. Dragging goes through its own pan
// recogniser: the content follows the finger, with a rubber band past the
// ends; on release the delegate may replace the resting offset, and the
// content decelerates (UIKit's normal rate, 0.998 per millisecond) to
// exactly that offset, or bounces back when it lies past an end. Motion is
// stepped by the display clock (Animator). Constraints between the scroll
// view and its own descendants refer to the content (contentLayoutGuide) and
// set the content size, as UIKit does.
class UIScrollView : public UIView {
 public:
  static constexpr double UIScrollViewDecelerationRateNormal = 0.998;
  static constexpr double UIScrollViewDecelerationRateFast = 0.99;

  explicit UIScrollView(const CGRect& frame = CGRectZero);
  ~UIScrollView() override;

  CGSize contentSize() const { return contentSize_; }
  void setContentSize(CGSize s) { contentSize_ = s; }
  CGPoint contentOffset() const { return bounds().origin; }
  // Moves the content at once (stopping any motion); the delegate hears scrollViewDidScroll.
  void setContentOffset(CGPoint offset);
  // With `animated`, glides there over 0.3 s (ease-in-out), reporting each step, and ends with
  // scrollViewDidEndScrollingAnimation.
  void setContentOffset(CGPoint offset, bool animated);
  UIEdgeInsets contentInset() const { return inset_; }
  void setContentInset(const UIEdgeInsets& i) { inset_ = i; }
  // Smallest and largest offsets in range (from the content size and insets).
  CGPoint minimumContentOffset() const;
  CGPoint maximumContentOffset() const;

  UIScrollViewDelegate* delegate() const { return delegate_; }
  // The delegate is referred to, not owned.
  void setDelegate(UIScrollViewDelegate* d) { delegate_ = d; }
  bool isScrollEnabled() const { return scrollEnabled_; }
  void setScrollEnabled(bool e);
  bool bounces() const { return bounces_; }
  void setBounces(bool b) { bounces_ = b; }
  bool alwaysBounceHorizontal() const { return alwaysBounceH_; }
  void setAlwaysBounceHorizontal(bool b) { alwaysBounceH_ = b; }
  bool alwaysBounceVertical() const { return alwaysBounceV_; }
  void setAlwaysBounceVertical(bool b) { alwaysBounceV_ = b; }
  bool showsHorizontalScrollIndicator() const { return showsH_; }
  void setShowsHorizontalScrollIndicator(bool s) { showsH_ = s; }
  bool showsVerticalScrollIndicator() const { return showsV_; }
  void setShowsVerticalScrollIndicator(bool s) { showsV_ = s; }
  // Fraction of velocity kept per millisecond while decelerating.
  double decelerationRate() const { return decelerationRate_; }
  void setDecelerationRate(double r) { decelerationRate_ = r; }

  bool isTracking() const { return tracking_; }
  bool isDragging() const { return dragging_; }
  bool isDecelerating() const { return decelerating_; }
  UIPanGestureRecognizer* panGestureRecognizer() const { return pan_.get(); }
  // The content's rectangle for constraints: origin (0, 0), size = contentSize.
  UILayoutGuide& contentLayoutGuide();

  void setBounds(const CGRect& bounds) override;

 private:
  friend class ScrollMotion;
  friend class LayoutSolver;
  void handlePan();
  void moveTo(CGPoint offset);
  void startMotion(CGPoint velocity);
  void motionEnded(bool animation);
  void stopMotion();
  bool canScrollX() const;
  bool canScrollY() const;

  CGSize contentSize_;
  UIEdgeInsets inset_;
  UIScrollViewDelegate* delegate_ = nullptr;
  bool scrollEnabled_ = true;
  bool bounces_ = true;
  bool alwaysBounceH_ = false;
  bool alwaysBounceV_ = false;
  bool showsH_ = true;
  bool showsV_ = true;
  double decelerationRate_ = UIScrollViewDecelerationRateNormal;
  bool tracking_ = false;
  bool dragging_ = false;
  bool decelerating_ = false;
  CGPoint dragStartOffset_;
  std::shared_ptr<UIPanGestureRecognizer> pan_;
  std::shared_ptr<UILayoutGuide> contentGuide_;
  std::shared_ptr<ScrollMotion> motion_;
};

}  // namespace platform
