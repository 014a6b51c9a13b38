#pragma once

#include <memory>
#include <string>

#include "platform/springboard/screen/ScreenLabel.h"
#include "platform/springboard/screen/ScreenView.h"

namespace platform::springboard {

// The screen of the app in front (SBAppSceneView): the device runs no real
// apps, so each one is a plain light screen in its icon's colour with the
// app's name in the middle and its bundle identifier under it.
class AppSceneView final : public ScreenView {
 public:
  AppSceneView();

  // Shows the app (empty: nothing, the view hides).
  void showApp(const std::string& bundleIdentifier, const std::string& displayName);
  const std::string& bundleIdentifier() const { return bundleIdentifier_; }

 protected:
  void layoutContents() override;

 private:
  std::string bundleIdentifier_;
  std::shared_ptr<UIView> band_;
  std::shared_ptr<ScreenLabel> name_;
  std::shared_ptr<UILabel> identifier_;
};

}  // namespace platform::springboard
