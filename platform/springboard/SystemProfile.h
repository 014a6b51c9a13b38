#pragma once

#include <string>
#include <string_view>

#include "platform/springboard/DeviceConfiguration.h"

namespace platform::springboard {

// Which of the three ways of quitting an app the switcher controller answers.
enum class SwitcherQuitMethod {
  QuitAppsRepresentedByAppLayout,            // _quitAppsRepresentedByAppLayout:forReason:
  DeleteAppLayout,                           // _deleteAppLayout:forReason:
  DeleteAppLayoutsMatchingBundleIdentifier,  // _deleteAppLayoutsMatchingBundleIdentifier:
};

// The rules by which the system version and the device kind decide which
// home-screen classes and methods exist. Everything that differs between
// versions is answered here, so the version branches of callers can all be
// exercised by configuring another device:
//
//   - SBVolumeControl, UIUserInterfaceStyleArbiter and SBMainWorkspace's
//     ringerControl exist from 13.0;
//   - brightness goes through SBDisplayBrightnessController (created with
//     new) from 13.0 and through the shared SBBrightnessController below;
//   - the switcher lists its layouts as appLayouts from 13.0 and as
//     recentAppLayouts below;
//   - the switcher quits an app with _deleteAppLayoutsMatchingBundleIdentifier:
//     on 13.x, _quitAppsRepresentedByAppLayout:forReason: on 12.x and
//     _deleteAppLayout:forReason: on 11.x (one branch per version, so each
//     fallback of a caller runs on some device);
//   - a layout item answers bundleIdentifier from 13.0 and displayIdentifier
//     below;
//   - an app layout answers rolesToLayoutItemsMap from 13.0; below, the map
//     is only the private field _rolesToLayoutItemsMap;
//   - SBFloatingDockView exists on tablets only;
//   - _LAActivator exists only when Activator is installed;
//   - the banner destination presents a notification with
//     _presentNotificationViewController:modal:forRequest:sourceAction:completion:
//     from 13.0 and with _presentNotificationViewController:modal:forRequest:completion:
//     below, and takes a banner away with _dismissPresentedBannerAnimated:reason:forceIfSticky:
//     from 13.0 and with dismissPresentedBannerAnimated: below.
class SystemProfile {
 public:
  explicit SystemProfile(const DeviceConfiguration& config);

  // The version string and its number as the system reads it ("13.3.1" reads 13.3).
  const std::string& systemVersion() const { return version_; }
  double versionNumber() const { return number_; }
  // The major version (11, 12, 13).
  int majorVersion() const { return major_; }
  DeviceKind kind() const { return kind_; }
  // The height in points of the status bar: 24 on a tablet, 44 on the phone (which has a notch).
  double statusBarHeight() const { return kind_ == DeviceKind::Tablet ? 24 : 44; }

  bool hasVolumeControl() const { return major_ >= 13; }
  bool hasInterfaceStyleArbiter() const { return major_ >= 13; }
  bool hasRingerControl() const { return major_ >= 13; }
  bool hasDisplayBrightnessController() const { return major_ >= 13; }
  bool hasBrightnessController() const { return major_ < 13; }
  // The selector of the switcher's layout list: "appLayouts" or "recentAppLayouts".
  std::string_view switcherLayoutsSelector() const { return major_ >= 13 ? "appLayouts" : "recentAppLayouts"; }
  SwitcherQuitMethod quitMethod() const;
  // The selector naming a layout item's app: "bundleIdentifier" or "displayIdentifier".
  std::string_view layoutItemIdentifierSelector() const {
    return major_ >= 13 ? "bundleIdentifier" : "displayIdentifier";
  }
  bool hasRolesToLayoutItemsMapMethod() const { return major_ >= 13; }
  bool hasFloatingDock() const { return kind_ == DeviceKind::Tablet; }
  bool hasActivator() const { return activator_; }
  // Whether banners are presented with the variant that takes a source action (13.0 on).
  bool presentsBannersWithSourceAction() const { return major_ >= 13; }

 private:
  std::string version_;
  double number_ = 0;
  int major_ = 0;
  DeviceKind kind_;
  bool activator_;
};

}  // namespace platform::springboard
