#include "tweak/panel/PanelNotifications.h"

#include <string>

#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/PropertyList.h"
#include "tweak/store/TessraStorageManager.h"

namespace panel_notifications {

void postBottomLabelText(std::string_view text) {
  if (!TessraStorageManager::sharedInstance().showInformationTextOnBottom) return;
  platform::plist::Dictionary userInfo{{std::string(kBottomLabelTextKey), platform::plist::Value(std::string(text))}};
  platform::NotificationCenter::defaultCenter().postNotification(std::string(kSetBottomLabelText), nullptr,
                                                                 platform::plist::Value(std::move(userInfo)));
}

}  // namespace panel_notifications
