#pragma once

#include <memory>
#include <string>

#include "platform/springboard/screen/ScreenLabel.h"
#include "platform/springboard/screen/ScreenView.h"

namespace platform {

class UIVisualEffectView;

namespace springboard {

// A notification banner at the top of the screen
// (SBBannerView): a rounded, blurred card with the app's
// name, the title and the message. Hidden until a banner is shown.
class BannerView final : public ScreenView {
 public:
  BannerView();

  // Shows a banner (an empty title and message hide it).
  void show(const std::string& appName, const std::string& title, const std::string& message);
  void hide() { setHidden(true); }

 protected:
  void layoutContents() override;

 private:
  std::shared_ptr<UIVisualEffectView> card_;
  std::shared_ptr<ScreenLabel> app_;
  std::shared_ptr<ScreenLabel> title_;
  std::shared_ptr<ScreenLabel> message_;
};

}  // namespace springboard
}  // namespace platform
