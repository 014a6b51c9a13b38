#include "platform/springboard/CFPreferences.h"

#include "platform/springboard/DeviceState.h"

namespace platform {

using springboard::DeviceState;

void CFPreferencesSetAppValue(std::string_view key, plist::Value value, std::string_view applicationId) {
  DeviceState::shared().appPreferences().setValue(applicationId, key, std::move(value));
}

plist::Value CFPreferencesCopyAppValue(std::string_view key, std::string_view applicationId) {
  return DeviceState::shared().appPreferences().value(applicationId, key);
}

bool CFPreferencesAppSynchronize(std::string_view applicationId) {
  return DeviceState::shared().appPreferences().synchronize(applicationId);
}

bool CFPreferencesGetAppBooleanValue(std::string_view key, std::string_view applicationId,
                                     bool* keyExistsAndHasValidFormat) {
  plist::Value value = CFPreferencesCopyAppValue(key, applicationId);
  bool valid = false;
  bool result = false;
  if (value.isNumber()) {
    valid = true;
    result = value.boolValue();
  } else if (value.isString()) {
    const std::string& s = value.string();
    if (s == "true" || s == "YES" || s == "1") {
      valid = true;
      result = true;
    } else if (s == "false" || s == "NO" || s == "0") {
      valid = true;
    }
  }
  if (keyExistsAndHasValidFormat) *keyExistsAndHasValidFormat = valid;
  return result;
}

}  // namespace platform
