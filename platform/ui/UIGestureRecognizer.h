#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/Geometry.h"
#include "platform/ui/UITouch.h"

namespace platform {

class UIView;

// States of a recogniser (UIGestureRecognizerState, same values); Ended is also "recognized".
enum class UIGestureRecognizerState { Possible = 0, Began = 1, Changed = 2, Ended = 3, Cancelled = 4, Failed = 5 };

// Turns the touches on a view into a gesture (UIGestureRecognizer). A
// recogniser belongs to the view it was added to (which owns it) and receives
// the touches that begin on that view or its descendants. Only one
// recogniser of a touch sequence recognises: the first to begin or recognise
// makes the others fail, and cancels the hit view's own touch handling
// (cancelsTouchesInView). A recogniser that requires another to fail waits
// for that one's outcome. A single-tap recogniser does not take a tap that
// lands on a control inside its view: the control's own action wins. Actions
// run when the state changes (began, changed, ended, cancelled).
class UIGestureRecognizer {
 public:
  using Action = std::function<void(UIGestureRecognizer&)>;

  UIGestureRecognizer() = default;
  // initWithTarget:action:.
  explicit UIGestureRecognizer(Action action);
  virtual ~UIGestureRecognizer();
  UIGestureRecognizer(const UIGestureRecognizer&) = delete;
  UIGestureRecognizer& operator=(const UIGestureRecognizer&) = delete;

  // addTarget:action: — `target` identifies the pair for removeTarget.
  void addTarget(const void* target, Action action);
  void removeTarget(const void* target);
  UIGestureRecognizerState state() const { return state_; }
  UIView* view() const { return view_; }
  bool isEnabled() const { return enabled_; }
  // Disabling cancels a gesture in progress.
  void setEnabled(bool e);
  bool cancelsTouchesInView() const { return cancelsTouches_; }
  void setCancelsTouchesInView(bool c) { cancelsTouches_ = c; }
  // This recogniser waits until `other` has failed, and fails if it recognises.
  void requireGestureRecognizerToFail(const std::shared_ptr<UIGestureRecognizer>& other);
  // Where the touch is (the centroid of the touches), in `view`'s coordinates.
  CGPoint locationInView(const UIView* view) const;
  // Touches taking part now.
  size_t numberOfTouches() const { return touches_.size(); }

  // --- Touch input, delivered by the window ---
  virtual void touchesBegan(const std::vector<UITouch*>& touches);
  virtual void touchesMoved(const std::vector<UITouch*>& touches);
  virtual void touchesEnded(const std::vector<UITouch*>& touches);
  virtual void touchesCancelled(const std::vector<UITouch*>& touches);
  // Back to Possible, forgetting touches and timers (after a sequence ends).
  virtual void reset();

 protected:
  // Moves to a state, running the actions where UIKit does; checks the failure requirements.
  void setState(UIGestureRecognizerState s);
  // Time on the environment clock, in seconds.
  static double now();
  // Whether the gesture may start now (enabled, view allows it).
  bool shouldBegin();
  const std::vector<UITouch*>& touches() const { return touches_; }
  CGPoint lastWindowLocation() const { return lastLocation_; }
  void trackTouches(const std::vector<UITouch*>& touches, bool add);
  // Whether it has recognised and waits for recognisers it requires to fail.
  bool isWaitingToRecognize() const { return pendingRecognition_; }
  // The cancel rule of continuous gestures (pan, long press): a gesture in progress (Began, Changed)
  // becomes Cancelled, one not begun yet (Possible) Failed; a finished one stays as it is.
  void cancelContinuousGesture();

 private:
  friend class UIView;
  friend class UIWindow;
  void fireActions();
  bool waitingForFailures() const;
  void otherRecognizerFinished();
  void otherRecognizerRecognized();
  void commit(UIGestureRecognizerState s);
  void failNow();

  UIView* view_ = nullptr;
  struct Target {
    const void* target;
    Action action;
  };
  std::vector<Target> targets_;
  UIGestureRecognizerState state_ = UIGestureRecognizerState::Possible;
  bool enabled_ = true;
  bool cancelsTouches_ = true;
  bool pendingRecognition_ = false;  // recognised, waiting for required failures
  UIGestureRecognizerState pendingState_ = UIGestureRecognizerState::Ended;
  UIView* hitView_ = nullptr;  // view of the first touch of the sequence (for shouldBegin)
  std::vector<std::weak_ptr<UIGestureRecognizer>> mustFail_;
  std::vector<UIGestureRecognizer*> dependents_;
  std::vector<UITouch*> touches_;
  CGPoint lastLocation_;
};

}  // namespace platform
