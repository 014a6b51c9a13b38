#include "platform/springboard/SBAppLayout.h"

#include "platform/runtime/KeyValue.h"
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/SBDisplayItem.h"
#include "platform/springboard/SpringBoardClasses.h"
#include "platform/springboard/SystemProfile.h"

namespace platform {

Ref<SBAppLayout> SBAppLayout::create(const std::string& bundleIdentifier) {
  static ClassHandle cls("SBAppLayout");
  Ref<SBAppLayout> layout = dynamic_cast<SBAppLayout*>(class_createInstance(cls.get()).get());
  if (layout) {
    layout->bundleIdentifier_ = bundleIdentifier;
    layout->roles_[kRolePrimary] = SBDisplayItem::create(bundleIdentifier);
  }
  return layout;
}

RolesToLayoutItemsMap SBAppLayout::rolesToLayoutItemsMap() const {
  return msgSend<RolesToLayoutItemsMap>(this, SELECTOR("rolesToLayoutItemsMap"));
}

void SBAppLayout::registerClass(const springboard::SystemProfile& profile) {
  Class* cls = springboard::SpringBoardClasses::define<SBAppLayout>("SBAppLayout");
  auto roles = +[](id obj) { return static_cast<SBAppLayout*>(obj)->roles_; };
  class_addIvar(cls, "_rolesToLayoutItemsMap", roles);
  // Only from 13.0 does the map have a public accessor.
  if (profile.hasRolesToLayoutItemsMapMethod()) {
    class_addMethod(
        cls, SELECTOR("rolesToLayoutItemsMap"), +[](id obj, SEL) { return static_cast<SBAppLayout*>(obj)->roles_; },
        "@@:");
  }
}

}  // namespace platform
