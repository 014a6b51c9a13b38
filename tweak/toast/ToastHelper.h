#pragma once

#include <memory>
#include <optional>
#include <string>

#include "tweak/toast/TSToastStyle.h"

namespace platform {
class UIImage;
class UIViewController;
}  // namespace platform

// Toasts in the product's own look over a view controller: what the
// behaviours use to say what they have just hidden. Class operations only;
// each posts its work to the main queue so that callers on any thread can use it.
class ToastHelper {
 public:
  ToastHelper() = delete;

  static constexpr double kShortToastDuration = 1.5;

  // On the main queue, over `controller`'s view in the product style at the default position: a
  // plain toast of the text that is present when there is no image and title or message is
  // missing; otherwise a toast with title, message and image. Nothing without a controller.
  static void showToastWithTitle(std::optional<std::string> title, std::optional<std::string> message, double duration,
                                 std::shared_ptr<platform::UIImage> image,
                                 std::shared_ptr<platform::UIViewController> controller);
  // The product style; switches the manager's queueing on for the whole process.
  static std::shared_ptr<TSToastStyle> getTessraStyle();
  // On the main queue: queueing on, default duration 1.5 s, and a default toast of `message` over the controller.
  static void showToast(std::string message, std::shared_ptr<platform::UIViewController> controller);
  // showToast:fromController: over the top-most controller, only when debug information is on.
  static void showToast(std::string message);
};
