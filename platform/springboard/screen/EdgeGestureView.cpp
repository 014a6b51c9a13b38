#include "platform/springboard/screen/EdgeGestureView.h"

#include "platform/ui/UIPanGestureRecognizer.h"

namespace platform::springboard {

EdgeGestureView::EdgeGestureView(Direction direction, std::function<void()> action)
    : ScreenView("SBEdgeGestureView"), direction_(direction), action_(std::move(action)) {
  setDetail(direction == Direction::Up ? "bottom" : "top");
  addGestureRecognizer(std::make_shared<UIPanGestureRecognizer>([this](UIGestureRecognizer& g) {
    if (g.state() != UIGestureRecognizerState::Ended) return;
    const double dy = static_cast<UIPanGestureRecognizer&>(g).translationInView(nullptr).y;
    const bool far = direction_ == Direction::Up ? dy <= -kMinimumDistance : dy >= kMinimumDistance;
    if (far && action_) action_();
  }));
}

}  // namespace platform::springboard
