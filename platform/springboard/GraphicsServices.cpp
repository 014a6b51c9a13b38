#include "platform/springboard/GraphicsServices.h"

#include "platform/springboard/DeviceState.h"

namespace platform {

void GSSendAppPreferencesChanged(std::string_view applicationId, std::string_view key) {
  springboard::DeviceState::shared().appPreferences().notifyChanged(applicationId, key);
}

}  // namespace platform
