#include "platform/springboard/DeviceState.h"

#include <algorithm>
#include <utility>

namespace platform::springboard {

namespace {

// The apps every device has besides those configured.
void addSystemOverlays(std::vector<InstalledApp>& apps) {
  for (const auto& [bundle, name] :
       {std::pair{kSiriBundleIdentifier, "Siri"}, std::pair{kSpotlightBundleIdentifier, "Spotlight"}}) {
    bool present =
        std::any_of(apps.begin(), apps.end(), [&](const InstalledApp& a) { return a.bundleIdentifier == bundle; });
    if (!present) apps.push_back(InstalledApp{std::string(bundle), name, AppKind::System, ""});
  }
}

}  // namespace

DeviceState& DeviceState::shared() {
  // Never destroyed: hooks and objects may still read the device from static destructors.
  static DeviceState* state = new DeviceState;
  return *state;
}

DeviceState::DeviceState() { reset({}); }

void DeviceState::reset(DeviceConfiguration config) {
  config_ = std::move(config);
  addSystemOverlays(config_.installedApps);
  profile_ = std::make_unique<SystemProfile>(config_);
  log_.clear();
  switches_.reset();
  appPreferences_.reset();
  audio_.reset();
  display_.reset();
  haptics_.reset(config_.feedbackSupportLevel);
  battery_.reset();
  apps_.reset(config_.installedApps);
}

bool DeviceState::isSystemOverlay(std::string_view bundleIdentifier) {
  return bundleIdentifier == kSiriBundleIdentifier || bundleIdentifier == kSpotlightBundleIdentifier;
}

}  // namespace platform::springboard
