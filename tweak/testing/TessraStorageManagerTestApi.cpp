#include "tweak/testing/TessraStorageManagerTestApi.h"

#include "platform/prefs/HBPreferences.h"
#include "tweak/store/TessraSettings.h"

void TessraStorageManagerTestApi::reset() {
  TessraStorageManager& manager = TessraStorageManager::sharedInstance();
  manager.preferences_.reset();
  for (const SettingDescription& setting : TessraSettings::all()) {
    if (setting.type == SettingType::Bool)
      manager.*setting.boolField = false;
    else
      manager.*setting.integerField = 0;
  }
  manager.showInformationTextOnBottom = false;
  manager.isPresentingTessraFromSettings_ = false;
  manager.wholeStorageDictionary_ = platform::plist::Value();
  manager.currentBundleId_.reset();
  manager.currentAppName_.reset();
  manager.currentForegroundAppBundleId_.reset();
}
