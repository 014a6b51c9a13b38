#pragma once

#include <optional>

#include "platform/preferences/HBAppearanceSettings.h"
#include "platform/preferences/PSListController.h"

namespace platform {

// Cephei's list controller (HBRootListController): a settings page that takes
// appearance settings and applies them to its view (tint) and table
// (separators) once the view exists, and hands them on to the pages it pushes.
class HBRootListController : public PSListController {
 public:
  // hb_setAppearanceSettings: — keeps the settings and applies them when the view is loaded.
  void hb_setAppearanceSettings(HBAppearanceSettings settings);
  const std::optional<HBAppearanceSettings>& hb_appearanceSettings() const { return appearance_; }

  void viewDidLoad() override;

 private:
  void applyAppearance();
  std::optional<HBAppearanceSettings> appearance_;
};

}  // namespace platform
