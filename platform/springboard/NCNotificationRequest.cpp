#include "platform/springboard/NCNotificationRequest.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/SpringBoardClasses.h"

namespace platform {

namespace {
Class* requestClass = nullptr;
const NCNotificationRequest& request(id obj) { return *static_cast<NCNotificationRequest*>(obj); }
}  // namespace

Ref<NCNotificationRequest> NCNotificationRequest::create(std::string sectionIdentifier, Ref<Object> content) {
  Ref<NCNotificationRequest> made = dynamic_cast<NCNotificationRequest*>(class_createInstance(requestClass).get());
  if (!made) return made;
  made->section_ = std::move(sectionIdentifier);
  made->content_ = std::move(content);
  return made;
}

void NCNotificationRequest::registerClass(const springboard::SystemProfile&) {
  requestClass = springboard::SpringBoardClasses::define<NCNotificationRequest>("NCNotificationRequest");
  class_addMethod(
      requestClass, SELECTOR("sectionIdentifier"), +[](id obj, SEL) { return request(obj).section_; }, "@@:");
  class_addMethod(
      requestClass, SELECTOR("content"), +[](id obj, SEL) { return request(obj).content(); }, "@@:");
}

}  // namespace platform
