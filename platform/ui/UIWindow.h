#pragma once

#include <map>
#include <memory>
#include <vector>

#include "platform/ui/UIScreen.h"
#include "platform/ui/UIView.h"

namespace platform {

class UIGestureRecognizer;
class UIViewController;

using UIWindowLevel = double;
inline constexpr UIWindowLevel UIWindowLevelNormal = 0;
inline constexpr UIWindowLevel UIWindowLevelStatusBar = 1000;
inline constexpr UIWindowLevel UIWindowLevelAlert = 2000;

// The root of a view tree on screen (UIWindow): a level, a root view
// controller whose view fills the window, key status, the device's safe-area
// insets, and the entry point of simulated touches. Windows start hidden;
// makeKeyAndVisible shows one. Touch delivery: a touch that begins is hit
// tested; the hit view and the gesture recognisers of it and its ancestors
// receive it; a recogniser that recognises cancels the view's touch.
class UIWindow : public UIView {
 public:
  // A window covering `frame` (the main screen's bounds by default).
  explicit UIWindow(const CGRect& frame = UIScreen::mainScreen().bounds());
  ~UIWindow() override;

  UIWindowLevel windowLevel() const { return level_; }
  void setWindowLevel(UIWindowLevel level) { level_ = level; }
  const std::shared_ptr<UIViewController>& rootViewController() const { return root_; }
  // Installs the controller; its view fills the window (with appearance calls when visible).
  void setRootViewController(std::shared_ptr<UIViewController> vc);
  // Shows the window and makes it the key window.
  void makeKeyAndVisible();
  void makeKeyWindow();
  bool isKeyWindow() const;
  void setHidden(bool hidden) override;

  // The device's safe-area insets (status bar, home indicator) in window coordinates.
  UIEdgeInsets windowSafeAreaInsets() const { return safeArea_; }
  void setSafeAreaInsets(const UIEdgeInsets& insets);

  // Delivers one simulated touch (window coordinates) at the environment clock's time.
  // `finger` tells simultaneous touches apart. Returns whether a view or recogniser took it.
  bool sendTouch(UITouchPhase phase, CGPoint point, int finger = 0);
  // Convenience: a touch down and up at the point.
  void tap(CGPoint point);
  // Whether a finger is down on this window.
  bool isTracking(int finger) const;

 private:
  friend class UIApplication;
  friend class UIGestureRecognizer;
  struct Tracked;
  // A recogniser of a touch sequence recognised: the others fail, the views' touches are cancelled.
  void recognizerRecognized(UIGestureRecognizer& g);
  // Whether `g` takes part in the touches now on this window.
  bool isInSequence(const UIGestureRecognizer& g) const;
  void endSequenceIfIdle();

  UIWindowLevel level_ = UIWindowLevelNormal;
  std::shared_ptr<UIViewController> root_;
  UIEdgeInsets safeArea_;
  std::map<int, std::shared_ptr<Tracked>> tracked_;
  std::vector<std::shared_ptr<UIGestureRecognizer>> sequence_;  // recognisers of the touches now down
  unsigned long order_ = 0;
};

}  // namespace platform
