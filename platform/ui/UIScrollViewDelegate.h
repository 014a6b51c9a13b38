#pragma once

#include "platform/ui/Geometry.h"

namespace platform {

class UIScrollView;

// What a scroll view tells its delegate (UIScrollViewDelegate); every method
// is optional (the defaults do nothing).
class UIScrollViewDelegate {
 public:
  virtual ~UIScrollViewDelegate() = default;
  // After every change of the content offset (dragged, decelerating, animated or set).
  virtual void scrollViewDidScroll(UIScrollView&) {}
  // A drag begins.
  virtual void scrollViewWillBeginDragging(UIScrollView&) {}
  // The finger lifts with `velocity` (points per millisecond, positive towards larger
  // offsets); `targetContentOffset` is where deceleration will rest and may be replaced.
  virtual void scrollViewWillEndDragging(UIScrollView&, CGPoint /*velocity*/, CGPoint* /*targetContentOffset*/) {}
  // The drag ended; `decelerate` tells whether the content keeps moving.
  virtual void scrollViewDidEndDragging(UIScrollView&, bool /*decelerate*/) {}
  // Deceleration (or the bounce back) came to rest.
  virtual void scrollViewDidEndDecelerating(UIScrollView&) {}
  // An animated setContentOffset came to rest.
  virtual void scrollViewDidEndScrollingAnimation(UIScrollView&) {}
};

}  // namespace platform
