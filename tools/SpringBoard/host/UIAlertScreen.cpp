#include "tools/SpringBoard/host/UIAlertScreen.h"

#include "platform/ui/UIAlertAction.h"
#include "platform/ui/UIAlertController.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIWindow.h"

namespace tessra::device {

std::shared_ptr<platform::UIAlertController> UIAlertScreen::topAlert() const {
  std::vector<platform::UIWindow*> windows = platform::UIApplication::sharedApplication().windows();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    platform::UIWindow* window = *it;
    if (!window || window->isHidden()) continue;
    std::shared_ptr<platform::UIAlertController> found;
    for (auto controller = window->rootViewController(); controller;
         controller = controller->presentedViewController()) {
      if (auto alert = std::dynamic_pointer_cast<platform::UIAlertController>(controller)) found = alert;
    }
    if (found) return found;
  }
  return nullptr;
}

std::optional<VisibleAlert> UIAlertScreen::visibleAlert() {
  auto alert = topAlert();
  if (!alert) return std::nullopt;
  VisibleAlert visible;
  visible.title = alert->title();
  visible.message = alert->message();
  for (const auto& action : alert->displayedActions()) visible.buttons.push_back(action->title());
  return visible;
}

bool UIAlertScreen::tapButton(const std::string& title) {
  auto alert = topAlert();
  return alert && alert->tapActionWithTitle(title);
}

}  // namespace tessra::device
