#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "platform/ui/Geometry.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "tweak/toast/TSToastStyle.h"
#include "tweak/toast/ToastPosition.h"

namespace platform {
class UIImage;
class UIView;
}  // namespace platform

// The toast operations of every view (UIView(TessraToast)): build a toast
// box with an optional image, bold title and message; show it over a host
// view for a while, faded in and out over the style's fade duration; queue
// toasts on one host when the manager says so; dismiss one with a tap; show
// a spinner box. The host view is the first argument of each operation and
// must be held by a std::shared_ptr (every view of a window is); the toasts
// are its subviews while they show. Each appearance and disappearance, and
// each change of a queue, is announced in-process with
// kDidChangeNotification so that the device's trace can show it. Main thread only.
class TessraToast {
 public:
  TessraToast() = delete;

  using Text = std::optional<std::string>;
  using Completion = std::function<void(bool didTap)>;
  using ImagePtr = std::shared_ptr<platform::UIImage>;
  using StylePtr = std::shared_ptr<TSToastStyle>;

  // In-process notification; user info: "event" ("shown", "hidden", "queued", "unqueued"),
  // "title" and "message" (absent when nil), "duration", "visible" and "queued" (process-wide counts).
  static constexpr const char* kDidChangeNotification = "TessraToastsDidChangeNotification";
  // The turn of a toast on a device held in landscape right (3π/2) and left (π/2).
  static constexpr double kLandscapeRightRotation = 4.71238898038469;
  static constexpr double kLandscapeLeftRotation = 1.5707963267948966;

  // ts_makeToast: the message with the default duration and position, default style.
  static void ts_makeToast(platform::UIView& host, Text message);
  // ts_makeToast:duration:position:
  static void ts_makeToast(platform::UIView& host, Text message, double duration, const ToastPosition& position);
  // ts_makeToast:duration:position:style: (a null style is the manager's shared style).
  static void ts_makeToast(platform::UIView& host, Text message, double duration, const ToastPosition& position,
                           StylePtr style);
  // ts_makeToast:duration:position:title:image:style:completion:
  static void ts_makeToast(platform::UIView& host, Text message, double duration, const ToastPosition& position,
                           Text title, ImagePtr image, StylePtr style, Completion completion);
  // showToast: an already built toast with the default duration and position.
  static void showToast(platform::UIView& host, std::shared_ptr<platform::UIView> toast);
  // ts_showToast:duration:position:completion: — queues it or shows it now; a null toast does nothing.
  static void ts_showToast(platform::UIView& host, std::shared_ptr<platform::UIView> toast, double duration,
                           const ToastPosition& position, Completion completion);

  // hideToast: the first toast on screen.
  static void hideToast(platform::UIView& host);
  // hideToast: — `toast` when it is on screen over `host`; otherwise nothing.
  static void hideToast(platform::UIView& host, const platform::UIView* toast);
  // hideAllToasts: empties the queue and hides every toast on screen (the spinner stays).
  static void hideAllToasts(platform::UIView& host);
  // hideAllToasts:clearQueue:
  static void hideAllToasts(platform::UIView& host, bool includeActivity, bool clearQueue);
  // clearToastQueue: empties the queue, leaving the toasts on screen.
  static void clearToastQueue(platform::UIView& host);

  // makeToastActivity: a spinner box at `position`; nothing when the host already has one.
  static void makeToastActivity(platform::UIView& host, const ToastPosition& position);
  // hideToastActivity: fades the spinner box out and removes it.
  static void hideToastActivity(platform::UIView& host);

  // ts_toastViewForMessage:title:image:style: — null when message, title and image are all missing.
  static std::shared_ptr<platform::UIView> ts_toastViewForMessage(platform::UIView& host, Text message, Text title,
                                                                  ImagePtr image, StylePtr style);
  // ts_centerPointForPosition:withToast:
  static platform::CGPoint ts_centerPointForPosition(platform::UIView& host, const ToastPosition& position,
                                                     const platform::UIView& toast);
  // lun_removeConstraintsFromSubTree: removes, from `view` and every view below it, each of
  // its own constraints that is in `constraints`.
  static void lun_removeConstraintsFromSubTree(platform::UIView& view,
                                               const std::set<platform::NSLayoutConstraint::Ptr>& constraints);

 private:
  static void showNow(platform::UIView& host, const std::shared_ptr<platform::UIView>& toast, double duration,
                      const ToastPosition& position);
  static void ts_hideToast(platform::UIView& host, const std::shared_ptr<platform::UIView>& toast, bool fromTap);
  static void announce(const char* event, const platform::UIView& toast);
};
