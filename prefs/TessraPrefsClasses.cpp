#include "prefs/TessraPrefsClasses.h"

#include "prefs/TSAppsCustomizationPrefsListController.h"
#include "prefs/TSPrefsListController.h"
#include "prefs/TSVolumeConfigurationPrefsListController.h"

using platform::PSListController;

void TessraPrefsClasses::registerAll() {
  PSListController::registerControllerClass("TSPrefsListController",
                                            [] { return zTSBasePreferences::create<TSPrefsListController>(); });
  PSListController::registerControllerClass("TSSubPrefsListController",
                                            [] { return zTSBasePreferences::create<TSSubPrefsListController>(); });
  PSListController::registerControllerClass("TSVolumeConfigurationPrefsListController", [] {
    return zTSBasePreferences::create<TSVolumeConfigurationPrefsListController>();
  });
  PSListController::registerControllerClass("TSAppsCustomizationPrefsListController", [] {
    return zTSBasePreferences::create<TSAppsCustomizationPrefsListController>();
  });
}
