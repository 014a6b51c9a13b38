#pragma once

#include <string_view>

#include "platform/foundation/PropertyList.h"

namespace platform {

// CoreFoundation's application-preference calls, on the device's in-memory
// application domains (AppPreferencesState). Values are property-list values;
// a number holding one byte is an integer.

// Sets `key` of `applicationId` in this process (null removes it); stored on synchronize.
void CFPreferencesSetAppValue(std::string_view key, plist::Value value, std::string_view applicationId);
// The value of `key`, or null.
plist::Value CFPreferencesCopyAppValue(std::string_view key, std::string_view applicationId);
// Writes this process's changes of `applicationId` and reloads it; answers whether it succeeded.
bool CFPreferencesAppSynchronize(std::string_view applicationId);
// `key` read as a boolean (a number: non-zero; a string: "true"/"YES"/"1"); NO when absent or not
// readable, and then `*keyExistsAndHasValidFormat` (when given) is NO.
bool CFPreferencesGetAppBooleanValue(std::string_view key, std::string_view applicationId,
                                     bool* keyExistsAndHasValidFormat = nullptr);

}  // namespace platform
