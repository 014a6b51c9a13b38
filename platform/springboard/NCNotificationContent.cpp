#include "platform/springboard/NCNotificationContent.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/SpringBoardClasses.h"

namespace platform {

namespace {
Class* contentClass = nullptr;
const NCNotificationContent& content(id obj) { return *static_cast<NCNotificationContent*>(obj); }
}  // namespace

Ref<NCNotificationContent> NCNotificationContent::create(std::optional<std::string> title,
                                                         std::optional<std::string> message,
                                                         std::optional<std::string> subtitle,
                                                         std::shared_ptr<UIImage> icon) {
  Ref<NCNotificationContent> made = dynamic_cast<NCNotificationContent*>(class_createInstance(contentClass).get());
  if (!made) return made;
  made->title_ = std::move(title);
  made->message_ = std::move(message);
  made->subtitle_ = std::move(subtitle);
  made->icon_ = std::move(icon);
  return made;
}

void NCNotificationContent::registerClass(const springboard::SystemProfile&) {
  contentClass = springboard::SpringBoardClasses::define<NCNotificationContent>("NCNotificationContent");
  class_addMethod(
      contentClass, SELECTOR("title"), +[](id obj, SEL) { return content(obj).title_; }, "@@:");
  class_addMethod(
      contentClass, SELECTOR("message"), +[](id obj, SEL) { return content(obj).message_; }, "@@:");
  class_addMethod(
      contentClass, SELECTOR("subtitle"), +[](id obj, SEL) { return content(obj).subtitle_; }, "@@:");
  class_addMethod(
      contentClass, SELECTOR("icon"), +[](id obj, SEL) { return content(obj).icon_; }, "@@:");
}

}  // namespace platform
