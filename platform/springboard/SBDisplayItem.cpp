#include "platform/springboard/SBDisplayItem.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/SpringBoardClasses.h"
#include "platform/springboard/SystemProfile.h"

namespace platform {

Ref<SBDisplayItem> SBDisplayItem::create(std::string bundleIdentifier) {
  static ClassHandle cls("SBDisplayItem");
  Ref<SBDisplayItem> item = dynamic_cast<SBDisplayItem*>(class_createInstance(cls.get()).get());
  if (item) item->bundleIdentifier_ = std::move(bundleIdentifier);
  return item;
}

std::string SBDisplayItem::bundleIdentifier() const {
  if (respondsToSelector(this, SELECTOR("bundleIdentifier"))) {
    return msgSend<std::string>(this, SELECTOR("bundleIdentifier"));
  }
  return msgSend<std::string>(this, SELECTOR("displayIdentifier"));
}

void SBDisplayItem::registerClass(const springboard::SystemProfile& profile) {
  Class* cls = springboard::SpringBoardClasses::define<SBDisplayItem>("SBDisplayItem");
  // The item names its app by bundleIdentifier from 13.0 and by displayIdentifier below.
  SEL identifier = sel_registerName(profile.layoutItemIdentifierSelector());
  class_addMethod(
      cls, identifier, +[](id obj, SEL) { return static_cast<SBDisplayItem*>(obj)->bundleIdentifier_; }, "@@:");
}

}  // namespace platform
