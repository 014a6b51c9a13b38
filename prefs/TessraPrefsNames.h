#pragma once

// The names the settings bundle shares with the plug-in and the device: the
// preference domain, the notifications, the files it installs and uses.
namespace tessra::prefs {

inline constexpr const char* kDomain = "com.kelvane.tessra2";
inline constexpr const char* kReloadPrefsNotification = "com.kelvane.tessra2/ReloadPrefs";
inline constexpr const char* kClearCacheNotification = "com.kelvane.tessra2/ClearAppCustomizationCache";
inline constexpr const char* kShowInterfaceNotification = "tessra2.showTessraInterfaceWithBundleId";
inline constexpr const char* kBundleIdKey = "bundleId";
inline constexpr const char* kCustomizedAppsKey = "customizedApps";
inline constexpr const char* kMasterSwitchKey = "enabled";

inline constexpr const char* kBundlePath = "/Library/PreferenceBundles/Tessra2Prefs.bundle";
inline constexpr const char* kHeaderImage = "/Library/PreferenceBundles/Tessra2Prefs.bundle/header.png";
inline constexpr const char* kIconImage = "/Library/PreferenceBundles/Tessra2Prefs.bundle/icon@3x.png";
inline constexpr const char* kPluginPath = "/Library/MobileSubstrate/DynamicLibraries/Tessra2.dylib";
inline constexpr const char* kKillallPath = "/usr/bin/killall";
inline constexpr const char* kKillallArgument = "backboardd";

}  // namespace tessra::prefs
