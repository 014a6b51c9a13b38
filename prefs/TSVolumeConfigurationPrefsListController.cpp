#include "prefs/TSVolumeConfigurationPrefsListController.h"

#include "platform/foundation/Log.h"

using namespace platform;

void TSVolumeConfigurationPrefsListController::enableDisableCellIfNeededForKey(const std::string& key,
                                                                               const plist::Value& value) {
  Log::write("enableDisableCellIfNeededForKey " + key + " value " + value.describe());
  if (key == "volumeChangeConfirmationAlertEnabled")
    enableCellWithKey(value.boolValue(), "volumeChangeConfirmationAlertOnlyIfMediaPlaying");
}
