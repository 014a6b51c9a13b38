#pragma once

#include <memory>
#include <string>

#include "platform/springboard/screen/ScreenLabel.h"
#include "platform/springboard/screen/ScreenView.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UIImageView.h"

namespace platform::springboard {

// The screen of the app in front (SBAppSceneView): the device runs few real
// apps, so each one is a plain light screen in its icon's colour with the
// app's name in the middle and its bundle identifier under it — unless the app
// has a process of its own that draws its screen (the Settings app), whose
// picture then fills the scene.
class AppSceneView final : public ScreenView {
 public:
  AppSceneView();

  // Shows the app (empty: nothing, the view hides).
  void showApp(const std::string& bundleIdentifier, const std::string& displayName);
  const std::string& bundleIdentifier() const { return bundleIdentifier_; }
  // The picture the app's own process drew, over the whole scene (null: the plain screen).
  void showContent(std::shared_ptr<UIImage> image);
  const std::shared_ptr<UIImage>& content() const { return contentImage_; }

 protected:
  void layoutContents() override;

 private:
  std::string bundleIdentifier_;
  std::shared_ptr<UIView> band_;
  std::shared_ptr<ScreenLabel> name_;
  std::shared_ptr<UILabel> identifier_;
  std::shared_ptr<UIImageView> content_;
  std::shared_ptr<UIImage> contentImage_;
};

}  // namespace platform::springboard
