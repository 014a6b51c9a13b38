#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/springboard/screen/ScreenLabel.h"
#include "platform/springboard/screen/ScreenView.h"

namespace platform {

class UIButton;
class UIVisualEffectView;

namespace springboard {

// A system alert of the home screen (SBAlertView): a dimmed screen with a
// rounded card holding the title, the message and one "OK" button, whose tap
// runs the dismissal the owner gives. Hidden until an alert is shown.
class SystemAlertView final : public ScreenView {
 public:
  explicit SystemAlertView(std::function<void()> dismiss);

  // Shows an alert (an empty title and message hide it).
  void show(const std::string& title, const std::string& message);
  void hide() { setHidden(true); }

 protected:
  void layoutContents() override;

 private:
  std::function<void()> dismiss_;
  std::shared_ptr<UIVisualEffectView> card_;
  std::shared_ptr<ScreenLabel> title_;
  std::shared_ptr<ScreenLabel> message_;
  std::shared_ptr<UIView> separator_;
  std::shared_ptr<UIButton> ok_;
};

}  // namespace springboard
}  // namespace platform
