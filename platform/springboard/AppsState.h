#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/springboard/DeviceConfiguration.h"

namespace platform::springboard {

// What the user sees of the apps: the installed apps, the running apps (most
// recently used first, as the switcher lists them), the app in front (none on
// the home screen), the lock screen, and the system overlays. Only the data:
// the device operations that change it, and call the home screen's methods
// on the way, are DeviceModel's. Owned by DeviceModel; main thread only.
class AppsState {
 public:
  // Replaces the installed apps and clears everything else.
  void reset(std::vector<InstalledApp> installed);

  const std::vector<InstalledApp>& installedApps() const { return installed_; }
  // The installed app `bundleIdentifier`, or null.
  const InstalledApp* installedApp(std::string_view bundleIdentifier) const;

  // The running apps, most recently used first.
  const std::vector<std::string>& runningApps() const { return running_; }
  bool isRunning(std::string_view bundleIdentifier) const;
  // Puts the app first among the running apps (starting it when needed).
  void markUsed(std::string_view bundleIdentifier);
  // Removes the app from the running apps; answers whether it was running.
  bool removeRunning(std::string_view bundleIdentifier);

  // The bundle identifier of the app in front; empty on the home screen.
  const std::string& frontApp() const { return front_; }
  void setFrontApp(std::string bundleIdentifier) { front_ = std::move(bundleIdentifier); }

  bool locked() const { return locked_; }
  void setLocked(bool locked) { locked_ = locked; }
  bool siriVisible() const { return siri_; }
  void setSiriVisible(bool visible) { siri_ = visible; }
  bool spotlightVisible() const { return spotlight_; }
  void setSpotlightVisible(bool visible) { spotlight_ = visible; }
  bool controlCenterVisible() const { return controlCenter_; }
  void setControlCenterVisible(bool visible) { controlCenter_ = visible; }
  bool notificationCenterVisible() const { return notificationCenter_; }
  void setNotificationCenterVisible(bool visible) { notificationCenter_ = visible; }
  bool reachabilityActive() const { return reachability_; }
  void setReachabilityActive(bool active) { reachability_ = active; }

 private:
  std::vector<InstalledApp> installed_;
  std::vector<std::string> running_;
  std::string front_;
  bool locked_ = false;
  bool siri_ = false;
  bool spotlight_ = false;
  bool controlCenter_ = false;
  bool notificationCenter_ = false;
  bool reachability_ = false;
};

}  // namespace platform::springboard
