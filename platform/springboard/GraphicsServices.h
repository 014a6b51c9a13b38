#pragma once

#include <string_view>

namespace platform {

// GraphicsServices: tells the system that `key` of the application domain
// `applicationId` changed, so that its owner (the accessibility system for
// "com.apple.Accessibility") reads it back from the store.
void GSSendAppPreferencesChanged(std::string_view applicationId, std::string_view key);

}  // namespace platform
