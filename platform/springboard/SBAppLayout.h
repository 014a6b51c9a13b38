#pragma once

#include <map>
#include <string>

#include "platform/runtime/Object.h"

namespace platform {

namespace springboard {
class SystemProfile;
}

// The layout roles of an app layout (SBLayoutRole): role 1 is the primary app.
using RolesToLayoutItemsMap = std::map<long, Ref<Object>>;

// One entry of the app switcher: a map from layout role to the display item
// shown in it. Only the primary role (1) is used on this device. From 13.0
// the map is answered by rolesToLayoutItemsMap; below it is only the private
// field _rolesToLayoutItemsMap.
class SBAppLayout final : public Object {
 public:
  static constexpr long kRolePrimary = 1;

  // A layout with the app `bundleIdentifier` in the primary role.
  static Ref<SBAppLayout> create(const std::string& bundleIdentifier);
  // rolesToLayoutItemsMap, where answered.
  RolesToLayoutItemsMap rolesToLayoutItemsMap() const;
  // The bundle identifier of the primary item (for the device's own use).
  const std::string& primaryBundleIdentifier() const { return bundleIdentifier_; }

  static void registerClass(const springboard::SystemProfile& profile);

 private:
  std::string bundleIdentifier_;
  RolesToLayoutItemsMap roles_;
};

}  // namespace platform
