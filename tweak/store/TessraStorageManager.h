#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/PropertyList.h"
#include "tweak/vocabulary/ToggleType.h"

namespace platform {
class HBPreferences;
}

// The plug-in's one settings-and-store object, created on first use and kept
// for the life of the process. It mirrors every global option of the domain
// "com.kelvane.tessra2" in a public field (all zero until bindSettings() binds
// them, which only the home-screen start-up does), and holds the per-app
// customization store: the dictionary under "customizedApps", kept in memory
// as an immutable snapshot that every write replaces. All writes go to the
// entry of currentBundleId() and are saved at once. Used on the main thread of
// its process only.
class TessraStorageManager {
 public:
  // The one instance (thread-safe creation on first use).
  static TessraStorageManager& sharedInstance();

  TessraStorageManager(const TessraStorageManager&) = delete;
  TessraStorageManager& operator=(const TessraStorageManager&) = delete;

  // Settings, in declaration order. Read directly; only bindSettings() makes them follow the domain.
  bool enabled = false;
  bool itemsBeforeStockItems = false;
  bool showOrientationLockToggle = false;
  bool showBluetoothToggle = false;
  bool showCellularToggle = false;
  bool showWifiToggle = false;
  bool showAirplaneToggle = false;
  bool showDndToggle = false;
  bool showLocationToggle = false;
  bool showAutoBrightnessToggle = false;
  bool showAutoLockToggle = false;
  bool showLowPowerToggle = false;
  bool showNightShiftToggle = false;
  bool showVpnToggle = false;
  bool showRingerToggle = false;
  bool showDarkModeToggle = false;
  bool showReduceWhitePointToggle = false;
  bool showSmartInvertColorsToggle = false;
  bool showClassicInvertColorsToggle = false;
  bool showAssistiveTouchToggle = false;
  bool invertColors_onlyWithDarkModeEnabled = false;
  bool invertColors_onlyWithNightShiftEnabled = false;
  bool reduceWhitePoint_onlyWithDarkModeEnabled = false;
  bool reduceWhitePoint_onlyWithNightShiftEnabled = false;
  bool restorePreviousVolumeOnAppExit = false;
  bool restorePreviousBrightnessOnAppExit = false;
  bool restorePreviousOrientationLockOnAppExit = false;
  bool restorePreviousCellularOnAppExit = false;
  bool restorePreviousWifiOnAppExit = false;
  bool restorePreviousBluetoothOnAppExit = false;
  bool restorePreviousAirplaneOnAppExit = false;
  bool restorePreviousDNDOnAppExit = false;
  bool restorePreviousLocationOnAppExit = false;
  bool restorePreviousAutoBrightnessOnAppExit = false;
  bool restorePreviousAutoLockOnAppExit = false;
  bool restorePreviousLowPowerOnAppExit = false;
  bool restorePreviousNightShiftOnAppExit = false;
  bool restorePreviousVPNOnAppExit = false;
  bool restorePreviousRingerOnAppExit = false;
  bool restorePreviousDarkModeOnAppExit = false;
  bool restorePreviousReduceWhitePointOnAppExit = false;
  bool restorePreviousSmartInvertColorsOnAppExit = false;
  bool restorePreviousClassicInvertColorsOnAppExit = false;
  bool restorePreviousAssistiveTouchOnAppExit = false;
  bool hasToRestoreValuesOnLockScreen = false;
  bool showDisableNCToggleAction = false;
  bool showDisableCCToggleAction = false;
  bool showDisableHomeGestureToggleAction = false;
  bool showDisableReachabilityToggleAction = false;
  bool showDisableActivatorToggleAction = false;
  bool showHideNotificationBannersToggleAction = false;
  bool showHideStockAlertsToggleAction = false;
  bool showHideHomeBarToggleAction = false;
  bool showClearAppSwitcherToggleAction = false;
  bool showPlayMusicToggleAction = false;
  bool showPauseMusicToggleAction = false;
  bool hideNotificationBanners_showToastsEnabled = false;
  bool hideStockAlerts_showToastsEnabled = false;
  bool clearAllApps_dontKillNowPlayingAppEnabled = false;
  bool clearAllApps_dontKillNavigationAppEnabled = false;
  int64_t disableHomeGesture_activationMethod = 0;
  bool showVolumeHUD = false;
  bool showBrightnessHUD = false;
  bool brightnessAnimated = false;
  bool hideTessraMenu = false;
  bool volumeChangeConfirmationAlertEnabled = false;
  bool volumeChangeConfirmationAlertOnlyIfMediaPlaying = false;
  bool useCrossInsteadOfLongPressGestureForSliders = false;
  int64_t interfaceColorStyle = 0;
  bool showInformationTextOnBottom = false;
  bool debugInformationEnabled = false;

  // --- Settings ---

  // Creates the preferences object for the domain (kept for the life of the process), binds the
  // seventy keys to their fields with their defaults in binding order, and sets
  // showInformationTextOnBottom. Called once by the home-screen start-up; a second call does nothing.
  void bindSettings();
  // The preferences object made by bindSettings(), or null before.
  platform::HBPreferences* preferences() const { return preferences_.get(); }

  // Whether the panel offers the toggle or behaviour of `type` (dark mode also needs system 13.0+).
  static bool toggleHasToBeShown(ToggleType type);
  // Whether the engine restores the previous value of switch `type` when the app leaves; NO for behaviours.
  static bool previousValueHasToBeRestoredIfChangedForToggle(ToggleType type);
  // The panel's colour style: 0 dark, 1 light (2 follows the system; other stored values unchanged).
  int64_t getInterfaceColorStyle() const;

  // --- Store properties ---

  bool isPresentingTessraFromSettings() const { return isPresentingTessraFromSettings_; }
  void setIsPresentingTessraFromSettings(bool value) { isPresentingTessraFromSettings_ = value; }
  // The in-memory "customizedApps" dictionary; a snapshot that never changes once handed out.
  const platform::plist::Value& wholeStorageDictionary() const { return wholeStorageDictionary_; }
  // Replaces it with `value`, a dictionary of apps (or null: nothing loaded). Anything else is refused and logged:
  // the next save would otherwise write a store of only the app being edited.
  void setWholeStorageDictionary(platform::plist::Value value);
  const std::optional<std::string>& currentBundleId() const { return currentBundleId_; }
  void setCurrentBundleId(std::optional<std::string> value) { currentBundleId_ = std::move(value); }
  const std::optional<std::string>& currentAppName() const { return currentAppName_; }
  void setCurrentAppName(std::optional<std::string> value) { currentAppName_ = std::move(value); }
  const std::optional<std::string>& currentForegroundAppBundleId() const { return currentForegroundAppBundleId_; }
  void setCurrentForegroundAppBundleId(std::optional<std::string> value) {
    currentForegroundAppBundleId_ = std::move(value);
  }

  // --- Store writes (to the entry of currentBundleId; each saves the store) ---

  // Sets `key` of the current entry to `value` (a null value removes it).
  void setObjectForCurrentBundleId(platform::plist::Value value, std::string_view key);
  // Removes `key` of the current entry; creates no entry, but still saves.
  void removeObjectForCurrentBundleIdForKey(std::string_view key);
  // Stores percent / 100 under "volume" for 0 or more; removes "volume" for a negative (or NaN) value.
  void setVolumeForCurrentBundleId(double percent);
  // The same for "brightness".
  void setBrightnessForCurrentBundleId(double percent);
  // Stores `state` under the name of `type` in "toggles", or removes the name for -1.
  void setState(ToggleState state, ToggleType type);

  // --- Store reads ---

  // The app's entry: an empty dictionary when it has none, null when its value is not a dictionary.
  platform::plist::Value getDictionaryForBundleId(std::string_view bundleId) const;
  // The entry's "toggles" dictionary, or null.
  platform::plist::Value getTogglesDictionaryForBundleId(std::string_view bundleId) const;
  // The stored state of `type` read as a 32-bit integer, or -1. Never allocates.
  ToggleState getStateForToggle(ToggleType type, std::string_view bundleId) const;
  // The same for a toggle name.
  ToggleState getStateForToggleName(std::string_view name, std::string_view bundleId) const;
  // The stored volume (0 to 1) read as a 32-bit float, or -1.0.
  double getVolumeForBundleId(std::string_view bundleId) const;
  // The stored brightness (0 to 1) read as a 32-bit float, or -1.0.
  double getBrightnessForBundleId(std::string_view bundleId) const;
  // Whether the stored volume reads 0 or more.
  bool isVolumeCustomizedForBundleId(std::string_view bundleId) const;
  // Whether the stored brightness reads 0 or more.
  bool isBrightnessCustomizedForBundleId(std::string_view bundleId) const;
  // The number of "toggles" keys whose value is a number other than -1.
  int64_t getNbTogglesForBundleId(std::string_view bundleId) const;
  // Toggles count, plus one for a customized volume and one for a customized brightness.
  int64_t getNbCustomizedThingsForBundleId(std::string_view bundleId) const;

  // The reads above for currentBundleId() (nothing stored when it is unset).
  platform::plist::Value getDictionaryForCurrentBundleId() const;
  platform::plist::Value getTogglesDictionaryForCurrentBundleId() const;
  ToggleState getStateForCurrentBundleIdForToggle(ToggleType type) const;
  ToggleState getStateForCurrentBundleIdForToggleName(std::string_view name) const;
  double getVolumeForCurrentBundleId() const;
  double getBrightnessForCurrentBundleId() const;

  // --- Persistence ---

  // Reads "customizedApps" from the domain as it is on disk now; absent (or not a dictionary) gives an
  // empty store. Also what the plug-in does on "com.kelvane.tessra2/ClearAppCustomizationCache".
  void loadDictionaryFromStorage();
  // Writes the store under "customizedApps" and synchronizes; only when that succeeded, posts
  // "com.kelvane.tessra2/ReloadPrefs". Returns whether it was saved.
  bool saveDictionaryToStorage();

 private:
  friend class TessraStorageManagerTestApi;

  TessraStorageManager();
  ~TessraStorageManager();

  // The entry of `bundleId` if it is a dictionary, else null. Never allocates.
  const platform::plist::Value* entryFor(std::string_view bundleId) const;
  // The number stored under `key` of the app's entry, or null.
  const platform::plist::Value* entryNumber(std::string_view bundleId, std::string_view key) const;
  // Steps shared by every write: the new entry for the current app replaces the old one, then a save.
  void writeCurrentEntry(std::string_view key, const platform::plist::Value* value);

  bool isPresentingTessraFromSettings_ = false;
  platform::plist::Value wholeStorageDictionary_;
  std::optional<std::string> currentBundleId_;
  std::optional<std::string> currentAppName_;
  std::optional<std::string> currentForegroundAppBundleId_;
  std::unique_ptr<platform::HBPreferences> preferences_;
};
