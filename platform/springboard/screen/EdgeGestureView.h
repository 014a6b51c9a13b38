#pragma once

#include <functional>

#include "platform/springboard/screen/ScreenView.h"

namespace platform::springboard {

// A thin, invisible strip along an edge of the screen (SBEdgeGestureView)
// that turns a drag away from that edge into a system gesture: up from the
// bottom edge (home), down from the top edge (Notification Center, Control
// Center). The drag counts when it ends at least 40 points from where it
// started, in the strip's direction; a tap on the strip does nothing.
class EdgeGestureView final : public ScreenView {
 public:
  enum class Direction { Up, Down };
  static constexpr double kMinimumDistance = 40;

  EdgeGestureView(Direction direction, std::function<void()> action);
  Direction direction() const { return direction_; }

 private:
  Direction direction_;
  std::function<void()> action_;
};

}  // namespace platform::springboard
