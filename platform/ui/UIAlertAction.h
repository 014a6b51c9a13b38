#pragma once

#include <functional>
#include <memory>
#include <string>

namespace platform {

// Styles of alert buttons (UIAlertActionStyle, same values).
enum class UIAlertActionStyle { Default = 0, Cancel = 1, Destructive = 2 };

// One button of an alert (UIAlertAction): title, style and the handler run
// after the alert has been dismissed.
class UIAlertAction {
 public:
  using Handler = std::function<void(UIAlertAction&)>;

  // actionWithTitle:style:handler:.
  static std::shared_ptr<UIAlertAction> actionWithTitle(std::string title, UIAlertActionStyle style, Handler handler);

  const std::string& title() const { return title_; }
  UIAlertActionStyle style() const { return style_; }
  bool isEnabled() const { return enabled_; }
  void setEnabled(bool e) { enabled_ = e; }
  const Handler& handler() const { return handler_; }

  UIAlertAction(std::string title, UIAlertActionStyle style, Handler handler)
      : title_(std::move(title)), style_(style), handler_(std::move(handler)) {}

 private:
  std::string title_;
  UIAlertActionStyle style_;
  Handler handler_;
  bool enabled_ = true;
};

}  // namespace platform
