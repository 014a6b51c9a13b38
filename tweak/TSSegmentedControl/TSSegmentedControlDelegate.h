#pragma once

#include "platform/ui/UIView.h"

class TSSegmentedControl;

// What a segmented control tells its owner while the selector moves and when
// it comes to rest. Every method is optional: the defaults do nothing. The
// control refers to its delegate weakly.
class TSSegmentedControlDelegate {
 public:
  virtual ~TSSegmentedControlDelegate() = default;

  // The user starts dragging the selector away from `state`.
  virtual void willChangeStateFromStateAtIndex(TSSegmentedControl&, long /*state*/) {}
  // A drag or an animated move came to rest on `to` (it may equal `from`).
  virtual void didChangeStateFromStateAtIndex(TSSegmentedControl&, long /*from*/, long /*to*/) {}
  // Every scroll step: the selector's left edge in the control.
  virtual void didScrollWithXOffset(TSSegmentedControl&, double /*xOffset*/) {}
  // Every scroll step: the left edge, the fractional state p, floor(p) and floor(p) + 1.
  virtual void didScrollWithXOffset(TSSegmentedControl&, double /*xOffset*/, double /*percent*/, long /*leftIndex*/,
                                    long /*rightIndex*/) {}
  // A tap beside the selector, on slot `index`.
  virtual void didTapAtIndex(TSSegmentedControl&, long /*index*/) {}
  // A slot's look was set for selection amount s (0 selected, +-1 not selected).
  virtual void setupStateAtIndex(TSSegmentedControl&, long /*index*/, platform::UIView& /*stateView*/,
                                 platform::UIView& /*selectedView*/, double /*selectionPercent*/) {}
  // A slot's look was reset.
  virtual void resetStateAtIndex(TSSegmentedControl&, long /*index*/, platform::UIView& /*stateView*/,
                                 platform::UIView& /*selectedView*/) {}
};
