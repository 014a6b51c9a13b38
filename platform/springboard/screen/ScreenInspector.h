#pragma once

#include <string>
#include <vector>

#include "platform/ui/Geometry.h"

namespace platform {

class UIView;
class UIWindow;

namespace springboard {

// Answers what a person sees on the screen, from the visible windows' view
// trees (model values): which view is drawn on top at a point, whether a view
// can be seen (not hidden, alpha above 0 all the way up, on screen and not
// covered by something drawn over its centre), and which visible view shows
// a text. Stateless; main thread.
class ScreenInspector {
 public:
  // The text a view shows: a label's text or a button's current title; empty otherwise.
  static std::string textOf(const UIView& view);
  // The front-most view that draws something (a background, text, an image, a blur) at `screenPoint`.
  static UIView* topDrawnViewAt(CGPoint screenPoint);
  // Whether `view` can be seen on a screen of `screenSize` points.
  static bool isVisible(UIView& view, CGSize screenSize);
  // The front-most visible view showing exactly `text`, or null.
  static UIView* findVisibleText(const std::string& text, CGSize screenSize);
  // The view's frame in screen coordinates.
  static CGRect screenFrame(const UIView& view);
};

}  // namespace springboard
}  // namespace platform
