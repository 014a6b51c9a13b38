#pragma once

#include <string_view>

// The names that the plug-in, the settings bundle and the `tessra` command
// share: the preference domain, the Darwin notifications, the keys of the
// per-app store, and the store's one log line.
namespace tessra {

// The preference domain that holds every setting and the per-app store.
inline constexpr std::string_view kPreferencesDomain = "com.kelvane.tessra2";

// Posted after each save; reloads the domain (and so the bound settings) in every process.
inline constexpr std::string_view kReloadPrefsNotification = "com.kelvane.tessra2/ReloadPrefs";
// Posted after "customizedApps" was replaced from outside; the plug-in reloads its store.
inline constexpr std::string_view kClearAppCustomizationCacheNotification =
    "com.kelvane.tessra2/ClearAppCustomizationCache";

// The domain key of the per-app store: bundle identifier -> entry.
inline constexpr std::string_view kCustomizedAppsKey = "customizedApps";
// The keys of one app's entry.
inline constexpr std::string_view kTogglesKey = "toggles";
inline constexpr std::string_view kVolumeKey = "volume";
inline constexpr std::string_view kBrightnessKey = "brightness";

// Logged when a write is asked for while no app is current.
inline constexpr std::string_view kMissingBundleIdMessage = "ERROR! CurrentBundleId must not be nil";

}  // namespace tessra
