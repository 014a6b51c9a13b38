#pragma once

#include <memory>

#include "platform/springboard/screen/ScreenLabel.h"
#include "platform/springboard/screen/ScreenView.h"

namespace platform {

class UIVisualEffectView;

namespace springboard {

// Siri (SiriPresentationView: a dark veil with the listening orb and its
// question) or Spotlight (SPUISearchView: a blurred veil with the search
// field), drawn over whatever is in front while it is shown.
class SystemOverlayView final : public ScreenView {
 public:
  enum class Kind { Siri, Spotlight };

  explicit SystemOverlayView(Kind kind);
  Kind kind() const { return kind_; }

 protected:
  void layoutContents() override;

 private:
  Kind kind_;
  std::shared_ptr<UIVisualEffectView> veil_;
  std::shared_ptr<UIView> accent_;  // the orb, or the search field
  std::shared_ptr<ScreenLabel> text_;
};

}  // namespace springboard
}  // namespace platform
