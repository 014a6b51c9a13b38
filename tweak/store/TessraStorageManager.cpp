#include "tweak/store/TessraStorageManager.h"

#include <array>
#include <cmath>

#include "platform/foundation/DarwinNotificationCenter.h"
#include "platform/foundation/DeviceInfo.h"
#include "platform/foundation/Log.h"
#include "platform/prefs/HBPreferences.h"
#include "tweak/store/TessraKeys.h"
#include "tweak/store/TessraSettings.h"
#include "tweak/vocabulary/ToggleType.h"

using platform::plist::Dictionary;
using platform::plist::Value;

namespace {

using M = TessraStorageManager;

// For each switch and behaviour (index = type), the setting that offers it in the panel and,
// for switches, the one that restores its previous value. Type 18 has neither.
struct ToggleSettings {
  bool M::*show;
  bool M::*restore;
};

constexpr std::array<ToggleSettings, 30> kToggleSettings{{
    {&M::showOrientationLockToggle, &M::restorePreviousOrientationLockOnAppExit},
    {&M::showBluetoothToggle, &M::restorePreviousBluetoothOnAppExit},
    {&M::showCellularToggle, &M::restorePreviousCellularOnAppExit},
    {&M::showWifiToggle, &M::restorePreviousWifiOnAppExit},
    {&M::showAirplaneToggle, &M::restorePreviousAirplaneOnAppExit},
    {&M::showDndToggle, &M::restorePreviousDNDOnAppExit},
    {&M::showLocationToggle, &M::restorePreviousLocationOnAppExit},
    {&M::showAutoBrightnessToggle, &M::restorePreviousAutoBrightnessOnAppExit},
    {&M::showAutoLockToggle, &M::restorePreviousAutoLockOnAppExit},
    {&M::showLowPowerToggle, &M::restorePreviousLowPowerOnAppExit},
    {&M::showNightShiftToggle, &M::restorePreviousNightShiftOnAppExit},
    {&M::showVpnToggle, &M::restorePreviousVPNOnAppExit},
    {&M::showRingerToggle, &M::restorePreviousRingerOnAppExit},
    {&M::showDarkModeToggle, &M::restorePreviousDarkModeOnAppExit},
    {&M::showReduceWhitePointToggle, &M::restorePreviousReduceWhitePointOnAppExit},
    {&M::showSmartInvertColorsToggle, &M::restorePreviousSmartInvertColorsOnAppExit},
    {&M::showClassicInvertColorsToggle, &M::restorePreviousClassicInvertColorsOnAppExit},
    {&M::showAssistiveTouchToggle, &M::restorePreviousAssistiveTouchOnAppExit},
    {nullptr, nullptr},
    {&M::showDisableNCToggleAction, nullptr},
    {&M::showDisableCCToggleAction, nullptr},
    {&M::showDisableHomeGestureToggleAction, nullptr},
    {&M::showDisableReachabilityToggleAction, nullptr},
    {&M::showDisableActivatorToggleAction, nullptr},
    {&M::showHideNotificationBannersToggleAction, nullptr},
    {&M::showHideStockAlertsToggleAction, nullptr},
    {&M::showHideHomeBarToggleAction, nullptr},
    {&M::showClearAppSwitcherToggleAction, nullptr},
    {&M::showPlayMusicToggleAction, nullptr},
    {&M::showPauseMusicToggleAction, nullptr},
}};

// The system version from which the dark mode switch exists.
constexpr double kDarkModeMinimumSystemVersion = 13.0;

const ToggleSettings* settingsForType(ToggleType type) {
  if (type < 0 || type >= static_cast<ToggleType>(kToggleSettings.size())) return nullptr;
  return &kToggleSettings[static_cast<size_t>(type)];
}

const Value& emptyDictionary() {
  static const Value empty{Dictionary{}};
  return empty;
}

double percentToFraction(double percent) { return percent / 100.0; }

}  // namespace

TessraStorageManager::TessraStorageManager() = default;
TessraStorageManager::~TessraStorageManager() = default;

TessraStorageManager& TessraStorageManager::sharedInstance() {
  // Never destroyed: bound preferences keep pointers to its fields for the life of the process.
  static TessraStorageManager* const instance = new TessraStorageManager();
  return *instance;
}

// --- Settings ---

void TessraStorageManager::bindSettings() {
  if (preferences_) return;
  preferences_ = std::make_unique<platform::HBPreferences>(std::string(tessra::kPreferencesDomain));
  auto settings = TessraSettings::all();
  for (size_t i = 0; i < settings.size(); ++i) {
    if (i == TessraSettings::kBoundBeforeInformationText) showInformationTextOnBottom = true;
    const SettingDescription& setting = settings[i];
    if (setting.type == SettingType::Bool)
      preferences_->registerBool(&(this->*setting.boolField), setting.defaultValue != 0, std::string(setting.key));
    else
      preferences_->registerInteger(&(this->*setting.integerField), setting.defaultValue, std::string(setting.key));
  }
}

bool TessraStorageManager::toggleHasToBeShown(ToggleType type) {
  const ToggleSettings* settings = settingsForType(type);
  if (!settings || !settings->show) return false;
  if (!(sharedInstance().*(settings->show))) return false;
  if (type == ToggleTypeDarkMode)
    return platform::DeviceInfo::current().systemVersionNumber() >= kDarkModeMinimumSystemVersion;
  return true;
}

bool TessraStorageManager::previousValueHasToBeRestoredIfChangedForToggle(ToggleType type) {
  if (toggleTypeIsAction(type)) return false;
  const ToggleSettings* settings = settingsForType(type);
  if (!settings || !settings->restore) return false;
  return sharedInstance().*(settings->restore);
}

int64_t TessraStorageManager::getInterfaceColorStyle() const {
  if (isPresentingTessraFromSettings_) return 0;
  if (interfaceColorStyle != 2) return interfaceColorStyle;
  return platform::DeviceInfo::current().darkModeEnabled() ? 0 : 1;
}

// --- Writes ---

void TessraStorageManager::writeCurrentEntry(const EntryEdit& edit, EntryCreation creation) {
  if (!currentBundleId_) {
    platform::Log::write(std::string(tessra::kMissingBundleIdMessage));
    return;
  }
  // A write before anything was loaded must not replace the stored apps with this one alone.
  if (wholeStorageDictionary_.isNull()) loadDictionaryFromStorage();
  wholeStorageDictionary_ = editedApps(wholeStorageDictionary_, edit, creation);
  saveEdit(edit, creation);
}

Value TessraStorageManager::editedApps(const Value& apps, const EntryEdit& edit, EntryCreation creation) const {
  Dictionary whole = apps.isDictionary() ? apps.dictionary() : Dictionary{};
  const Value* found = whole.find(*currentBundleId_);
  const Value* entry = found && found->isDictionary() ? found : nullptr;
  if (!entry && creation == EntryCreation::OnlyExisting) return Value(std::move(whole));
  Dictionary newEntry = entry ? entry->dictionary() : Dictionary{};
  edit(newEntry);
  whole.set(*currentBundleId_, Value(std::move(newEntry)));
  return Value(std::move(whole));
}

void TessraStorageManager::setObjectForCurrentBundleId(Value value, std::string_view key) {
  if (value.isNull()) {
    removeObjectForCurrentBundleIdForKey(key);
    return;
  }
  writeCurrentEntry([&](Dictionary& entry) { entry.set(std::string(key), value); }, EntryCreation::Create);
}

void TessraStorageManager::removeObjectForCurrentBundleIdForKey(std::string_view key) {
  writeCurrentEntry([&](Dictionary& entry) { entry.remove(key); }, EntryCreation::OnlyExisting);
}

void TessraStorageManager::setVolumeForCurrentBundleId(double percent) {
  if (percent >= 0)
    setObjectForCurrentBundleId(Value(percentToFraction(percent)), tessra::kVolumeKey);
  else
    removeObjectForCurrentBundleIdForKey(tessra::kVolumeKey);
}

void TessraStorageManager::setBrightnessForCurrentBundleId(double percent) {
  if (percent >= 0)
    setObjectForCurrentBundleId(Value(percentToFraction(percent)), tessra::kBrightnessKey);
  else
    removeObjectForCurrentBundleIdForKey(tessra::kBrightnessKey);
}

void TessraStorageManager::setState(ToggleState state, ToggleType type) {
  auto name = toggleNameForType(type);
  // A type without a name has no key to store under.
  if (!name) {
    if (!currentBundleId_) platform::Log::write(std::string(tessra::kMissingBundleIdMessage));
    return;
  }
  // The one toggle is the edit: laid over a newer store, the entry's other toggles stay as stored there.
  const std::string toggleName(*name);
  writeCurrentEntry(
      [&](Dictionary& entry) {
        const Value* current = entry.find(tessra::kTogglesKey);
        Dictionary toggles = current && current->isDictionary() ? current->dictionary() : Dictionary{};
        if (state != ToggleStateNotCustomized)
          toggles.set(toggleName, Value(static_cast<int64_t>(state)));
        else
          toggles.remove(toggleName);
        entry.set(std::string(tessra::kTogglesKey), Value(std::move(toggles)));
      },
      EntryCreation::Create);
}

// --- Reads ---

const Value* TessraStorageManager::entryFor(std::string_view bundleId) const {
  const Value* entry = wholeStorageDictionary_.find(bundleId);
  return entry && entry->isDictionary() ? entry : nullptr;
}

const Value* TessraStorageManager::entryNumber(std::string_view bundleId, std::string_view key) const {
  const Value* entry = entryFor(bundleId);
  if (!entry) return nullptr;
  const Value* number = entry->find(key);
  return number && number->isNumber() ? number : nullptr;
}

Value TessraStorageManager::getDictionaryForBundleId(std::string_view bundleId) const {
  const Value* entry = wholeStorageDictionary_.find(bundleId);
  if (!entry) return emptyDictionary();
  return entry->isDictionary() ? *entry : Value();
}

Value TessraStorageManager::getTogglesDictionaryForBundleId(std::string_view bundleId) const {
  const Value* entry = entryFor(bundleId);
  if (!entry) return Value();
  const Value* toggles = entry->find(tessra::kTogglesKey);
  return toggles && toggles->isDictionary() ? *toggles : Value();
}

ToggleState TessraStorageManager::getStateForToggle(ToggleType type, std::string_view bundleId) const {
  auto name = toggleNameForType(type);
  if (!name) return ToggleStateNotCustomized;
  const Value* entry = entryFor(bundleId);
  if (!entry) return ToggleStateNotCustomized;
  const Value* toggles = entry->find(tessra::kTogglesKey);
  if (!toggles || !toggles->isDictionary()) return ToggleStateNotCustomized;
  const Value* state = toggles->find(*name);
  if (!state || !state->isNumber()) return ToggleStateNotCustomized;
  return static_cast<ToggleState>(state->integerValue());
}

ToggleState TessraStorageManager::getStateForToggleName(std::string_view name, std::string_view bundleId) const {
  return getStateForToggle(toggleTypeForName(name), bundleId);
}

double TessraStorageManager::getVolumeForBundleId(std::string_view bundleId) const {
  const Value* volume = entryNumber(bundleId, tessra::kVolumeKey);
  return volume ? static_cast<double>(static_cast<float>(volume->doubleValue())) : -1.0;
}

double TessraStorageManager::getBrightnessForBundleId(std::string_view bundleId) const {
  const Value* brightness = entryNumber(bundleId, tessra::kBrightnessKey);
  return brightness ? static_cast<double>(static_cast<float>(brightness->doubleValue())) : -1.0;
}

bool TessraStorageManager::isVolumeCustomizedForBundleId(std::string_view bundleId) const {
  return getVolumeForBundleId(bundleId) >= 0;
}

bool TessraStorageManager::isBrightnessCustomizedForBundleId(std::string_view bundleId) const {
  return getBrightnessForBundleId(bundleId) >= 0;
}

int64_t TessraStorageManager::getNbTogglesForBundleId(std::string_view bundleId) const {
  const Value* entry = entryFor(bundleId);
  if (!entry) return 0;
  const Value* toggles = entry->find(tessra::kTogglesKey);
  if (!toggles || !toggles->isDictionary()) return 0;
  int64_t count = 0;
  for (const auto& [name, state] : toggles->dictionary())
    if (state.isNumber() && state.integerValue() != ToggleStateNotCustomized) ++count;
  return count;
}

int64_t TessraStorageManager::getNbCustomizedThingsForBundleId(std::string_view bundleId) const {
  return getNbTogglesForBundleId(bundleId) + (isVolumeCustomizedForBundleId(bundleId) ? 1 : 0) +
         (isBrightnessCustomizedForBundleId(bundleId) ? 1 : 0);
}

Value TessraStorageManager::getDictionaryForCurrentBundleId() const {
  return currentBundleId_ ? getDictionaryForBundleId(*currentBundleId_) : emptyDictionary();
}

Value TessraStorageManager::getTogglesDictionaryForCurrentBundleId() const {
  return currentBundleId_ ? getTogglesDictionaryForBundleId(*currentBundleId_) : Value();
}

ToggleState TessraStorageManager::getStateForCurrentBundleIdForToggle(ToggleType type) const {
  return currentBundleId_ ? getStateForToggle(type, *currentBundleId_) : ToggleStateNotCustomized;
}

ToggleState TessraStorageManager::getStateForCurrentBundleIdForToggleName(std::string_view name) const {
  return currentBundleId_ ? getStateForToggleName(name, *currentBundleId_) : ToggleStateNotCustomized;
}

double TessraStorageManager::getVolumeForCurrentBundleId() const {
  return currentBundleId_ ? getVolumeForBundleId(*currentBundleId_) : -1.0;
}

double TessraStorageManager::getBrightnessForCurrentBundleId() const {
  return currentBundleId_ ? getBrightnessForBundleId(*currentBundleId_) : -1.0;
}

// --- Persistence ---

void TessraStorageManager::setWholeStorageDictionary(Value value) {
  if (!value.isNull() && !value.isDictionary()) {
    platform::Log::write("Tessra: the app customizations must be a dictionary of apps, not " + value.describe() +
                         "; the store is unchanged");
    return;
  }
  wholeStorageDictionary_ = std::move(value);
}

void TessraStorageManager::loadDictionaryFromStorage() {
  platform::HBPreferences preferences{std::string(tessra::kPreferencesDomain)};
  Value stored = preferences.objectForKey(tessra::kCustomizedAppsKey);
  lastStoredApps_ = stored;
  if (stored.isDictionary()) {
    wholeStorageDictionary_ = std::move(stored);
    return;
  }
  if (!stored.isNull())
    platform::Log::write("Tessra: \"customizedApps\" is not a dictionary; starting from an empty store");
  wholeStorageDictionary_ = emptyDictionary();
}

bool TessraStorageManager::saveDictionaryToStorage() {
  // Nothing loaded means nothing to save: writing it would erase the stored apps.
  if (!wholeStorageDictionary_.isDictionary()) return false;
  platform::HBPreferences preferences{std::string(tessra::kPreferencesDomain)};
  bool saved = preferences.setObject(wholeStorageDictionary_, std::string(tessra::kCustomizedAppsKey));
  saved = preferences.synchronize() && saved;
  if (!saved) {
    platform::Log::write("Tessra: the app customizations could not be saved");
    return false;
  }
  lastStoredApps_ = wholeStorageDictionary_;
  announceSave();
  return true;
}

bool TessraStorageManager::saveEdit(const EntryEdit& edit, EntryCreation creation) {
  if (!wholeStorageDictionary_.isDictionary()) return false;
  platform::HBPreferences preferences{std::string(tessra::kPreferencesDomain)};
  bool replacedElsewhere = false;
  std::optional<Value> saved =
      preferences.updateObject(std::string(tessra::kCustomizedAppsKey), [&](const Value& onDisk) {
        // Unchanged since this process last read or saved it (or gone with a damaged file): the copy in memory,
        // which may hold edits that could not be saved before, is the store.
        if (!onDisk.isDictionary() || onDisk == lastStoredApps_) return wholeStorageDictionary_;
        replacedElsewhere = true;
        return editedApps(onDisk, edit, creation);
      });
  if (!saved || !saved->isDictionary() || !preferences.synchronize()) {
    platform::Log::write("Tessra: the app customizations could not be saved");
    return false;
  }
  if (replacedElsewhere)
    platform::Log::write(
        "Tessra: the app customizations were changed by another program; this edit was made on "
        "top of them");
  wholeStorageDictionary_ = *saved;
  lastStoredApps_ = std::move(*saved);
  announceSave();
  return true;
}

void TessraStorageManager::announceSave() const {
  platform::DarwinNotificationCenter::shared().postNotification(std::string(tessra::kReloadPrefsNotification));
}
