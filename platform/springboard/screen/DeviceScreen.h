#pragma once

#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Clock.h"
#include "platform/runtime/Object.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/UITouch.h"

namespace platform {

class UIImage;
class UIView;
class UIViewController;
class UIWindow;
class ViewRenderer;

namespace springboard {

class DeviceModel;
class HomeScreenView;

// The screen of a simulated device: what it shows and the one way to touch
// it. Making it registers the screen's runtime classes for the device's
// system version (make it after DeviceModel::configure and before plug-ins
// load), sets the main screen (375 × 812 points at 3× on a phone, 1024 × 1366
// at 2× on a tablet), the layout direction of the device's language, and
// shows the home screen in a key window whose root view controller is what
// the home screen presents over. That controller's runtime object
// (SBHomeScreenViewController) is the icon controller's parentViewController,
// and the icon pages' object is the icon controller's view, while the screen lives.
//
// touch() takes a finger in screen points: a touch that begins outside the
// screen is ignored; later points are clamped to the screen. When the finger
// lifts the event log records what it did and what it began on: "tap
// SBIconView com.apple.Maps", "longpress ...", "drag ..." (moved 10 points or
// more; held 0.5 s or more is a long press). render() draws every visible
// window; needsDisplay() says whether a new frame would differ (a new picture
// from an app that draws its own scene counts). Owns its
// window and views; main thread.
class DeviceScreen {
 public:
  struct Options {
    // The device's language ("ar", "he_IL"...); empty: LC_ALL, LC_MESSAGES or LANG.
    std::string language;
    // The wall-clock time the status bar shows; none: 9:41 on Tuesday, January 9, moving with the device's clock.
    std::function<std::time_t()> wallClock;
    // The picture an app with a process of its own drew of its screen, shown as its scene while it is in front;
    // null (or no function) for the plain scene. Asked on every update while an app is in front.
    std::function<std::shared_ptr<UIImage>(const std::string& bundleIdentifier)> sceneContent;
    // A finger on the scene of the app in front (one that began there, not on a system gesture's strip), in
    // points, offered to the app's own process: it answers at the touch's beginning whether it takes the touch,
    // whose later phases then go to it too. No function: the home screen's own scene takes every touch.
    std::function<bool(UITouchPhase phase, CGPoint point)> sceneTouch;
  };

  explicit DeviceScreen(DeviceModel& model) : DeviceScreen(model, Options{}) {}
  DeviceScreen(DeviceModel& model, Options options);
  ~DeviceScreen();
  DeviceScreen(const DeviceScreen&) = delete;
  DeviceScreen& operator=(const DeviceScreen&) = delete;

  // The screen's size in points and its pixels per point.
  CGSize size() const;
  double scale() const;

  // One finger on the screen; answers whether something took the touch.
  bool touch(UITouchPhase phase, CGPoint point);
  // Whether a finger is down.
  bool isTouching() const { return touching_; }

  // Brings the views up to date with the device and lays them out.
  void update();
  // Whether the screen changed since the last render (state, animations, windows).
  bool needsDisplay();
  // The whole screen now, at `scale` pixels per point (after update()).
  std::shared_ptr<UIImage> render(double scale);

  HomeScreenView& home() const { return *home_; }
  UIWindow& window() const { return *window_; }
  // The controller whose view is the home screen: what presents over it.
  const std::shared_ptr<UIViewController>& rootViewController() const { return root_; }
  // How a trace names the view a touch reached: "SBIconView com.apple.Maps", "UIButton \"OK\"".
  static std::string describe(const UIView* view);
  // Whether the language (an identifier such as "ar_SA") reads right to left.
  static bool isRightToLeft(const std::string& language);
  // The time and the date the device shows now ("9:41", "Tuesday, January 9").
  std::pair<std::string, std::string> timeAndDate() const;

 private:
  std::string signature() const;

  DeviceModel& model_;
  Options options_;
  TimePoint start_;
  std::shared_ptr<UIWindow> window_;
  std::shared_ptr<UIViewController> root_;
  Ref<Object> homeController_;  // the runtime object of root_ (SBHomeScreenViewController)
  std::shared_ptr<HomeScreenView> home_;
  std::unique_ptr<ViewRenderer> renderer_;
  bool touching_ = false;
  bool touchOnScene_ = false;  // the touch began on the scene and the app's own process took it
  CGPoint touchStart_;
  double touchStartTime_ = 0;
  double touchTravel_ = 0;
  UIView* touchView_ = nullptr;
  std::shared_ptr<UIView> touchViewHold_;
  std::string lastSignature_;
  std::shared_ptr<UIImage> sceneContent_;  // what the app in front drew, as last shown
  bool dirty_ = true;
};

}  // namespace springboard
}  // namespace platform
