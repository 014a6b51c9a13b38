#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/springboard/DeviceConfiguration.h"
#include "platform/springboard/screen/ScreenView.h"

namespace platform {

class UIVisualEffectView;

namespace springboard {

class IconView;
class IconViewDelegate;
class SystemProfile;

// The dock: on a phone the SBDockView along the bottom, on a tablet the
// SBFloatingDockView (the class plug-ins hook to find and hide the iPad's
// dock) floating above the bottom edge and sized to its icons. Icons have no
// names in the dock. Mirrored in a right-to-left layout.
class DockView final : public ScreenView {
 public:
  DockView(const SystemProfile& profile, IconViewDelegate& delegate);

  // How many icons the dock holds at most.
  static size_t capacity(const SystemProfile& profile);
  // The dock's frame on a screen of `screen` size.
  static CGRect frameFor(const SystemProfile& profile, CGSize screen, size_t iconCount);

  void setApps(const std::vector<InstalledApp>& apps);
  IconView* iconFor(const std::string& bundleIdentifier) const;
  size_t iconCount() const { return icons_.size(); }

 protected:
  void layoutContents() override;

 private:
  const SystemProfile& profile_;
  IconViewDelegate& delegate_;
  double iconSide_;
  std::shared_ptr<UIVisualEffectView> platter_;
  std::vector<std::shared_ptr<IconView>> icons_;
};

}  // namespace springboard
}  // namespace platform
