#pragma once

#include <optional>

#include "platform/ui/UIColor.h"

namespace platform {

// Cephei's appearance settings of a settings page (HBAppearanceSettings): the
// tint of its controls and links and the colour of its row separators. A
// plain value handed to the page.
struct HBAppearanceSettings {
  std::optional<UIColor> tintColor;
  std::optional<UIColor> tableViewCellSeparatorColor;
};

}  // namespace platform
