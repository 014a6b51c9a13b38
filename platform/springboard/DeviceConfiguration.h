#pragma once

#include <string>
#include <vector>

namespace platform::springboard {

// Phone or tablet: decides, for instance, whether a floating dock exists.
enum class DeviceKind { Phone, Tablet };

// Whether an app ships with the system or was installed by the user.
enum class AppKind { System, User };

// One installed application, as the device's app list names it.
struct InstalledApp {
  std::string bundleIdentifier;
  std::string displayName;
  AppKind kind = AppKind::User;
  std::string icon;  // icon file name inside the device, may be empty
};

// What kind of device to simulate. Changing it (DeviceModel::configure)
// starts a fresh home screen: new classes, new objects, default state.
struct DeviceConfiguration {
  std::string systemVersion = "13.3";
  DeviceKind kind = DeviceKind::Phone;
  // Whether the Activator library is installed (its class _LAActivator exists).
  bool activatorInstalled = false;
  // UIDevice _feedbackSupportLevel: 0 none, 1 system sounds, 2 impact feedback generator.
  long feedbackSupportLevel = 2;
  // The installed apps; Siri and Spotlight are always added as system apps.
  std::vector<InstalledApp> installedApps = defaultInstalledApps();

  // A small set of system and user apps for a fresh device.
  static std::vector<InstalledApp> defaultInstalledApps();
};

}  // namespace platform::springboard
