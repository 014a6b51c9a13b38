#pragma once

#include <memory>
#include <vector>

#include "platform/ui/Geometry.h"
#include "platform/ui/UITouch.h"
#include "platform/ui/UIViewTypes.h"

namespace platform {

class UIWindow;

namespace ui_internal {
// Bookkeeping of the window registry, for UIWindow.
void registerWindow(UIWindow* w);
void unregisterWindow(UIWindow* w);
void setKeyWindow(UIWindow* w);
unsigned long nextWindowOrder();
}  // namespace ui_internal

// The application object (UIApplication), kept minimal: the process's windows
// and key window, the layout direction, and touches on the screen. The
// simulated home screen derives from it and installs itself as the shared
// application; the window list is process-wide and survives that swap.
// Windows are listed, not owned: a window lives as long as someone holds it.
class UIApplication {
 public:
  UIApplication() = default;
  virtual ~UIApplication();
  UIApplication(const UIApplication&) = delete;
  UIApplication& operator=(const UIApplication&) = delete;

  // The installed application object, or a plain one made on first use.
  static UIApplication& sharedApplication();
  // Makes `app` the shared application (null goes back to a plain one).
  static void setSharedApplication(std::shared_ptr<UIApplication> app);

  // The key window, or null.
  UIWindow* keyWindow() const;
  // The live windows, back to front: by level, then by the order they were shown.
  std::vector<UIWindow*> windows() const;
  UIUserInterfaceLayoutDirection userInterfaceLayoutDirection() const;
  void setUserInterfaceLayoutDirection(UIUserInterfaceLayoutDirection d);

  // A touch at a screen point, delivered to the front-most visible window that takes it
  // (the window that took the finger's first touch keeps it). Returns whether one took it.
  bool sendTouch(UITouchPhase phase, CGPoint screenPoint, int finger = 0);
};

}  // namespace platform
