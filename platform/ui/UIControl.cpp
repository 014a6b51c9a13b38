#include "platform/ui/UIControl.h"

#include <algorithm>

#include "platform/ui/UITapGestureRecognizer.h"

namespace platform {

void UIControl::addTarget(const void* target, Action action, UIControlEvents events) {
  if (action) targets_.push_back({target, std::move(action), events});
}

void UIControl::removeTarget(const void* target, UIControlEvents events) {
  unsigned bits = static_cast<unsigned>(events);
  for (auto& t : targets_) {
    if (target == nullptr || t.target == target)
      t.events = static_cast<UIControlEvents>(static_cast<unsigned>(t.events) & ~bits);
  }
  targets_.erase(std::remove_if(targets_.begin(), targets_.end(),
                                [](const Target& t) { return static_cast<unsigned>(t.events) == 0; }),
                 targets_.end());
}

void UIControl::sendActionsForControlEvents(UIControlEvents events) {
  auto targets = targets_;  // an action may change the list
  for (auto& t : targets) {
    if (static_cast<unsigned>(t.events) & static_cast<unsigned>(events)) t.action(*this);
  }
}

UIControlState UIControl::state() const {
  unsigned s = 0;
  if (highlighted_) s |= static_cast<unsigned>(UIControlState::Highlighted);
  if (!enabled_) s |= static_cast<unsigned>(UIControlState::Disabled);
  if (selected_) s |= static_cast<unsigned>(UIControlState::Selected);
  return static_cast<UIControlState>(s);
}

bool UIControl::gestureRecognizerShouldBegin(UIGestureRecognizer& g) {
  auto* tap = dynamic_cast<UITapGestureRecognizer*>(&g);
  if (tap && tap->view() != this && tap->numberOfTapsRequired() == 1 && enabled_) return false;
  return true;
}

bool UIControl::insideWithSlop(CGPoint p) {
  return pointInside(p, nullptr) || CGRectContainsPoint(CGRectInset(bounds(), -kTrackingSlop, -kTrackingSlop), p);
}

void UIControl::touchesBegan(const std::vector<UITouch*>& touches, UIEvent*) {
  if (!enabled_ || touches.empty()) return;
  tracking_ = true;
  touchInside_ = true;
  setHighlighted(true);
  sendActionsForControlEvents(UIControlEvents::TouchDown);
}

void UIControl::touchesMoved(const std::vector<UITouch*>& touches, UIEvent*) {
  if (!tracking_ || touches.empty()) return;
  bool inside = insideWithSlop(touches.front()->locationInView(this));
  if (inside != touchInside_) {
    sendActionsForControlEvents(inside ? UIControlEvents::TouchDragEnter : UIControlEvents::TouchDragExit);
  }
  touchInside_ = inside;
  setHighlighted(inside);
  sendActionsForControlEvents(inside ? UIControlEvents::TouchDragInside : UIControlEvents::TouchDragOutside);
}

void UIControl::touchesEnded(const std::vector<UITouch*>& touches, UIEvent*) {
  if (!tracking_ || touches.empty()) return;
  tracking_ = false;
  bool inside = insideWithSlop(touches.front()->locationInView(this));
  touchInside_ = false;
  setHighlighted(false);
  sendActionsForControlEvents(inside ? UIControlEvents::TouchUpInside : UIControlEvents::TouchUpOutside);
}

void UIControl::touchesCancelled(const std::vector<UITouch*>&, UIEvent*) {
  if (!tracking_) return;
  tracking_ = false;
  touchInside_ = false;
  setHighlighted(false);
  sendActionsForControlEvents(UIControlEvents::TouchCancel);
}

}  // namespace platform
