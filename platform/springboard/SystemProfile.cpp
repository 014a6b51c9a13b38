#include "platform/springboard/SystemProfile.h"

#include <charconv>

namespace platform::springboard {

SystemProfile::SystemProfile(const DeviceConfiguration& config)
    : version_(config.systemVersion), kind_(config.kind), activator_(config.activatorInstalled) {
  // Read as the system reads a version as a number: "13.3.1" is 13.3.
  double number = 0;
  std::from_chars(version_.data(), version_.data() + version_.size(), number);
  number_ = number;
  major_ = static_cast<int>(number);
}

SwitcherQuitMethod SystemProfile::quitMethod() const {
  if (major_ >= 13) return SwitcherQuitMethod::DeleteAppLayoutsMatchingBundleIdentifier;
  if (major_ == 12) return SwitcherQuitMethod::QuitAppsRepresentedByAppLayout;
  return SwitcherQuitMethod::DeleteAppLayout;
}

}  // namespace platform::springboard
