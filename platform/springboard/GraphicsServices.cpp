#include "platform/springboard/GraphicsServices.h"

#include "platform/springboard/DeviceModel.h"

namespace platform {

void GSSendAppPreferencesChanged(std::string_view applicationId, std::string_view key) {
  springboard::DeviceModel::shared().appPreferences().notifyChanged(applicationId, key);
}

}  // namespace platform
