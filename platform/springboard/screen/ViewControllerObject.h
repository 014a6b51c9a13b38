#pragma once

#include <memory>

#include "platform/runtime/Object.h"

namespace platform {

class UIViewController;

namespace springboard {

// The runtime side of a view controller of the screen (the home screen's
// SBHomeScreenViewController): the object that messages and hooks reach. It
// knows its controller weakly, so an object kept alive by someone else
// answers null once the controller is gone. Its messages ("view",
// "isViewLoaded", "parentViewController", "presentingViewController") are
// registered by ScreenClasses: "view" answers the runtime object of the
// controller's view when that is a screen view, the others the object of the
// related controller when it has one. Main thread only.
class ViewControllerObject final : public Object {
 public:
  ~ViewControllerObject() override;

  // The controller of `obj` when it is a view controller's object and the controller lives; null otherwise.
  static UIViewController* controllerOf(const Object* obj);
  // The object bound to `controller`, or null when it has none.
  static id objectOf(const UIViewController* controller);

  // Binds the object to its controller (one object per controller: a later one takes over).
  void bind(const std::shared_ptr<UIViewController>& controller);

 private:
  std::weak_ptr<UIViewController> controller_;
  const UIViewController* bound_ = nullptr;
};

}  // namespace springboard
}  // namespace platform
