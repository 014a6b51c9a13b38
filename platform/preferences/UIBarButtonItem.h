#pragma once

#include <functional>
#include <memory>
#include <string>

namespace platform {

enum class UIBarButtonItemStyle { Plain = 0, Done = 2 };

// A titled button of a navigation bar (UIBarButtonItem) and the action it
// runs when tapped. Shared by the navigation item that shows it.
class UIBarButtonItem {
 public:
  using Action = std::function<void(UIBarButtonItem& sender)>;

  UIBarButtonItem(std::string title, UIBarButtonItemStyle style, Action action)
      : title_(std::move(title)), style_(style), action_(std::move(action)) {}

  const std::string& title() const { return title_; }
  UIBarButtonItemStyle style() const { return style_; }
  bool isEnabled() const { return enabled_; }
  void setEnabled(bool enabled) { enabled_ = enabled; }
  // Runs the action as a tap does (nothing while disabled).
  void tap() {
    if (enabled_ && action_) action_(*this);
  }

 private:
  std::string title_;
  UIBarButtonItemStyle style_;
  Action action_;
  bool enabled_ = true;
};

}  // namespace platform
