#pragma once

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "tweak/catalogue/Tessra2OneStateToggle.h"

// A behaviour of an app (types 19 to 29): either active (1) or not set (-1).
// Its bottom text says whether it is enforced while the app is in front or
// done once when it opens. Its own catalogue lookups cover the behaviours only.
class Tessra2Action : public Tessra2OneStateToggle {
 public:
  using Tessra2OneStateToggle::Tessra2OneStateToggle;

  // "<name> while using <app>" for 19-26, "<name> when opening <app>" for 27-29; empty for -1 or another type.
  std::string getBottomTextForCurrentState() const override;

  // The 11 behaviours, types 19 to 29 in order, with the current app's states and the panel's visibility.
  static std::vector<std::shared_ptr<Tessra2Action>> getAllActions();
  // The storage name of behaviour `type`, or nothing.
  static std::optional<std::string_view> getNameForToggleType(ToggleType type);
  // The behaviour named exactly `name`, or 30.
  static ToggleType getToggleTypeFromName(std::string_view name);
  // The readable name of behaviour `type`, or nothing.
  static std::optional<std::string_view> getReadableNameForToggleType(ToggleType type);
};
