#include "platform/springboard/AppsState.h"

#include <algorithm>

namespace platform::springboard {

void AppsState::reset(std::vector<InstalledApp> installed) {
  installed_ = std::move(installed);
  running_.clear();
  front_.clear();
  locked_ = siri_ = spotlight_ = controlCenter_ = notificationCenter_ = reachability_ = false;
}

const InstalledApp* AppsState::installedApp(std::string_view bundleIdentifier) const {
  for (const InstalledApp& app : installed_) {
    if (app.bundleIdentifier == bundleIdentifier) return &app;
  }
  return nullptr;
}

bool AppsState::isRunning(std::string_view bundleIdentifier) const {
  return std::find(running_.begin(), running_.end(), bundleIdentifier) != running_.end();
}

void AppsState::markUsed(std::string_view bundleIdentifier) {
  removeRunning(bundleIdentifier);
  running_.insert(running_.begin(), std::string(bundleIdentifier));
}

bool AppsState::removeRunning(std::string_view bundleIdentifier) {
  auto it = std::find(running_.begin(), running_.end(), bundleIdentifier);
  if (it == running_.end()) return false;
  running_.erase(it);
  return true;
}

}  // namespace platform::springboard
