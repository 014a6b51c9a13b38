#pragma once

#include "platform/ui/Geometry.h"

// The arithmetic of a segmented control of N states on a width W, as plain
// functions of (N, W) and the scroller's horizontal offset x. The content
// strip is a left spacer of width S = W (N - 1) / N, the selector (W / N) and
// a right spacer (S); the offset runs from 0 (the last state) to S (state 0).
// With fewer than two states nothing can move: every offset maps to state 0
// and percent 0, and no division by zero happens. A plain value.
class TSSegmentedControlGeometry {
 public:
  TSSegmentedControlGeometry(long statesCount, double width)
      : count_(statesCount < 0 ? 0 : statesCount), width_(width) {}

  long statesCount() const { return count_; }
  double width() const { return width_; }

  // (N - 1) / N; 0 without states.
  double spacerViewWidthMultiplier() const;
  // 1 / N; 0 without states.
  double selectorViewWidthMultiplier() const;
  // S = W (N - 1) / N: the width of each spacer and the largest offset.
  double spacerWidth() const { return width_ * spacerViewWidthMultiplier(); }
  // W / N: the width of a slot and of the selector.
  double selectorWidth() const { return width_ * selectorViewWidthMultiplier(); }
  // Width of the scroller's content: 2 S + W / N.
  double contentWidth() const { return 2 * spacerWidth() + selectorWidth(); }

  // p = (N - 1) - (x / S)(N - 1): the selector's position as a fractional state index.
  double percentFromOffset(double x) const;
  // The offset at which state i rests: (N - 1 - i) W / N.
  platform::CGPoint offsetFromState(long state) const;
  // The state nearest to the offset (halves rounded away from zero); not clamped past the ends.
  long stateFromOffset(double x) const;
  // The state offset nearest to `offset` (computed in single precision as the control does), same y.
  platform::CGPoint nearestStateOffsetFromOffset(platform::CGPoint offset) const;
  // The slot under a point of the control: floor(x / (W / N)), kept within 0 ... N - 1.
  long stateFromTapPoint(platform::CGPoint point) const;
  // The selector's left edge in the control: W - x - W / N.
  double selectorLeftEdge(double x) const { return width_ - x - selectorWidth(); }
  // The frame of slot i in the control (full height h).
  platform::CGRect slotFrame(long index, double height) const;
  // floor(p) and floor(p) + 1: the two slots the selector lies between.
  static long leftStateIndexFromPercentage(double percent);
  static long rightStateIndexFromPercentage(double percent);

 private:
  long count_;
  double width_;
};
