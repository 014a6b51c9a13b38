#pragma once

#include <functional>
#include <vector>

#include "platform/ui/UIView.h"

namespace platform {

// Control events (UIControlEvents, same bits).
enum class UIControlEvents : unsigned {
  TouchDown = 1 << 0,
  TouchDownRepeat = 1 << 1,
  TouchDragInside = 1 << 2,
  TouchDragOutside = 1 << 3,
  TouchDragEnter = 1 << 4,
  TouchDragExit = 1 << 5,
  TouchUpInside = 1 << 6,
  TouchUpOutside = 1 << 7,
  TouchCancel = 1 << 8,
  ValueChanged = 1 << 12,
  PrimaryActionTriggered = 1 << 13,
};
constexpr UIControlEvents operator|(UIControlEvents a, UIControlEvents b) { return flagsOr(a, b); }

// Control states (UIControlState, same bits); Normal is 0.
enum class UIControlState : unsigned { Normal = 0, Highlighted = 1 << 0, Disabled = 1 << 1, Selected = 1 << 2 };
constexpr UIControlState operator|(UIControlState a, UIControlState b) { return flagsOr(a, b); }

// A view that tracks touches and sends actions to targets (UIControl).
// A touch highlights it while inside; lifting the finger inside sends
// TouchUpInside, elsewhere TouchUpOutside. "Inside" is pointInside() grown by
// 70 points on every side once the touch has begun, as UIKit tracks a finger
// that slips off a control. A touch taken over by a gesture recogniser is
// cancelled (TouchCancel).
class UIControl : public UIView {
 public:
  using Action = std::function<void(UIControl& sender)>;
  static constexpr double kTrackingSlop = 70;

  explicit UIControl(const CGRect& frame = CGRectZero) : UIView(frame) {}

  // addTarget:action:forControlEvents: — `target` identifies the pair for removeTarget.
  void addTarget(const void* target, Action action, UIControlEvents events);
  // Drops the target's actions for those events (a null target: every target).
  void removeTarget(const void* target, UIControlEvents events);
  // Runs the actions registered for any of the events, in registration order.
  void sendActionsForControlEvents(UIControlEvents events);

  bool isEnabled() const { return enabled_; }
  virtual void setEnabled(bool e) { enabled_ = e; }
  bool isSelected() const { return selected_; }
  virtual void setSelected(bool s) { selected_ = s; }
  bool isHighlighted() const { return highlighted_; }
  virtual void setHighlighted(bool h) { highlighted_ = h; }
  UIControlState state() const;
  // Whether a touch is being tracked, and whether it is inside now.
  bool isTracking() const { return tracking_; }
  bool isTouchInside() const { return touchInside_; }

  // A single-tap recogniser of an ancestor does not take a tap meant for this control.
  bool gestureRecognizerShouldBegin(UIGestureRecognizer& g) override;
  void touchesBegan(const std::vector<UITouch*>& touches, UIEvent* event) override;
  void touchesMoved(const std::vector<UITouch*>& touches, UIEvent* event) override;
  void touchesEnded(const std::vector<UITouch*>& touches, UIEvent* event) override;
  void touchesCancelled(const std::vector<UITouch*>& touches, UIEvent* event) override;

 private:
  bool insideWithSlop(CGPoint p);
  struct Target {
    const void* target;
    Action action;
    UIControlEvents events;
  };
  std::vector<Target> targets_;
  bool enabled_ = true;
  bool selected_ = false;
  bool highlighted_ = false;
  bool tracking_ = false;
  bool touchInside_ = false;
};

}  // namespace platform
