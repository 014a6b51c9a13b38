#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/UIAlertAction.h"
#include "platform/ui/UIViewController.h"

namespace platform {

class UILabel;

// Styles of alert (UIAlertControllerStyle, same values).
enum class UIAlertControllerStyle { ActionSheet = 0, Alert = 1 };

// An alert with a title (the controller's title()), a message and buttons (UIAlertController),
// presented over full screen with a cross-dissolve. Its view dims the screen
// and shows a box (270 points wide for alerts) with the title, the message
// and one button per action: cancel actions are listed last, destructive ones
// in red. A button (a real touch on it, or tapActionWithTitle for tests and
// tools) dismisses the alert and then runs the action's handler.
class UIAlertController : public UIViewController {
 public:
  // alertControllerWithTitle:message:preferredStyle:.
  static std::shared_ptr<UIAlertController> alertControllerWithTitle(std::string title, std::string message,
                                                                     UIAlertControllerStyle style);

  UIAlertController(std::string title, std::string message, UIAlertControllerStyle style);

  const std::string& message() const { return message_; }
  UIAlertControllerStyle preferredStyle() const { return style_; }
  void addAction(std::shared_ptr<UIAlertAction> action);
  const std::vector<std::shared_ptr<UIAlertAction>>& actions() const { return actions_; }
  // The actions in the order their buttons are shown (cancel last).
  std::vector<std::shared_ptr<UIAlertAction>> displayedActions() const;

  // Taps the first enabled action with the title: dismisses the alert (animated), then runs
  // the handler. Returns false when there is no such action or an action was already chosen.
  bool tapActionWithTitle(const std::string& title);

  void loadView() override;

 private:
  void choose(const std::shared_ptr<UIAlertAction>& action);

  std::string message_;
  UIAlertControllerStyle style_;
  std::vector<std::shared_ptr<UIAlertAction>> actions_;
  bool chosen_ = false;
};

}  // namespace platform
