#pragma once

#include <memory>
#include <string>

#include "platform/springboard/screen/ScreenLabel.h"
#include "platform/springboard/screen/ScreenView.h"

namespace platform {

class UIVisualEffectView;

namespace springboard {

// A notification banner at the top of the screen (SBBannerView): a rounded,
// blurred card with the app's name, the title and the message. Hidden until a
// banner is shown. It slides down from above the screen when it appears
// (kSlideInDuration, easing out) and back up when it goes (kSlideOutDuration,
// easing in), as animations on the clock: its model values are the final ones
// at once (in place when shown; above the screen, then hidden, when gone).
// A banner that replaces the one on screen only changes the texts.
class BannerView final : public ScreenView {
 public:
  static constexpr double kSlideInDuration = 0.4;
  static constexpr double kSlideOutDuration = 0.3;

  BannerView();

  // Shows a banner (an empty title and message hide it); slides in when none was shown.
  void show(const std::string& appName, const std::string& title, const std::string& message);
  // Slides the banner out, when one is shown; it is hidden once above the screen.
  void hide();
  // Whether a banner is shown or coming in (not going out, not hidden).
  bool isPresented() const { return presented_; }

 protected:
  void layoutContents() override;

 private:
  // The translation that puts the banner just above the top of the screen.
  CGAffineTransform aboveScreen() const;

  bool presented_ = false;
  std::shared_ptr<UIVisualEffectView> card_;
  std::shared_ptr<ScreenLabel> app_;
  std::shared_ptr<ScreenLabel> title_;
  std::shared_ptr<ScreenLabel> message_;
};

}  // namespace springboard
}  // namespace platform
