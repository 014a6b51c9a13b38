#include "platform/springboard/screen/ShortcutItem.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"

namespace platform::springboard {

namespace {

constexpr const char* kClassName = "SBSApplicationShortcutItem";

ShortcutItem& item(id obj) { return *static_cast<ShortcutItem*>(obj); }

}  // namespace

Ref<ShortcutItem> ShortcutItem::create(std::string type, std::string title, std::string subtitle,
                                       std::string bundleIdentifier) {
  Ref<Object> obj = class_createInstance(objc_getClass(kClassName));
  Ref<ShortcutItem> made(dynamic_cast<ShortcutItem*>(obj.get()));
  if (!made) return made;
  msgSend<void, std::string>(made.get(), SELECTOR("setType:"), std::move(type));
  msgSend<void, std::string>(made.get(), SELECTOR("setLocalizedTitle:"), std::move(title));
  msgSend<void, std::string>(made.get(), SELECTOR("setLocalizedSubtitle:"), std::move(subtitle));
  msgSend<void, std::string>(made.get(), SELECTOR("setBundleIdentifierToLaunch:"), std::move(bundleIdentifier));
  return made;
}

std::string ShortcutItem::typeOf(const Object* obj) { return msgSend<std::string>(obj, SELECTOR("type")); }

std::string ShortcutItem::titleOf(const Object* obj) { return msgSend<std::string>(obj, SELECTOR("localizedTitle")); }

std::string ShortcutItem::subtitleOf(const Object* obj) {
  return msgSend<std::string>(obj, SELECTOR("localizedSubtitle"));
}

void ShortcutItem::registerClass() {
  Class* cls = Runtime::allocateClass<ShortcutItem>(kClassName, Runtime::rootClass());
  class_addMethod(
      cls, SELECTOR("type"), +[](id obj, SEL) { return item(obj).type_; });
  class_addMethod(
      cls, SELECTOR("setType:"), +[](id obj, SEL, std::string v) { item(obj).type_ = std::move(v); });
  class_addMethod(
      cls, SELECTOR("localizedTitle"), +[](id obj, SEL) { return item(obj).title_; });
  class_addMethod(
      cls, SELECTOR("setLocalizedTitle:"), +[](id obj, SEL, std::string v) { item(obj).title_ = std::move(v); });
  class_addMethod(
      cls, SELECTOR("localizedSubtitle"), +[](id obj, SEL) { return item(obj).subtitle_; });
  class_addMethod(
      cls, SELECTOR("setLocalizedSubtitle:"), +[](id obj, SEL, std::string v) { item(obj).subtitle_ = std::move(v); });
  class_addMethod(
      cls, SELECTOR("bundleIdentifierToLaunch"), +[](id obj, SEL) { return item(obj).bundleIdentifier_; });
  class_addMethod(
      cls, SELECTOR("setBundleIdentifierToLaunch:"),
      +[](id obj, SEL, std::string v) { item(obj).bundleIdentifier_ = std::move(v); });
  Runtime::registerClass(cls);
}

}  // namespace platform::springboard
