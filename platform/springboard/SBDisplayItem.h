#pragma once

#include <string>

#include "platform/runtime/Object.h"

namespace platform {

namespace springboard {
class SystemProfile;
}

// One app shown in a layout role. It names its app by displayIdentifier below
// 13.0 and by bundleIdentifier from 13.0.
class SBDisplayItem final : public Object {
 public:
  // A new item for the app `bundleIdentifier`.
  static Ref<SBDisplayItem> create(std::string bundleIdentifier);
  // displayIdentifier (below 13.0) or bundleIdentifier (13.0 and later), whichever this device answers.
  std::string bundleIdentifier() const;

  static void registerClass(const springboard::SystemProfile& profile);

 private:
  std::string bundleIdentifier_;
};

}  // namespace platform
