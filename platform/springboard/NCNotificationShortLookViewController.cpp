#include "platform/springboard/NCNotificationShortLookViewController.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/NCNotificationShortLookView.h"
#include "platform/springboard/SpringBoardClasses.h"

namespace platform {

namespace {
Class* controllerClass = nullptr;
const NCNotificationShortLookViewController& controller(id obj) {
  return *static_cast<NCNotificationShortLookViewController*>(obj);
}
}  // namespace

Ref<NCNotificationShortLookViewController> NCNotificationShortLookViewController::create(Ref<Object> request) {
  Ref<NCNotificationShortLookViewController> made =
      dynamic_cast<NCNotificationShortLookViewController*>(class_createInstance(controllerClass).get());
  if (!made) return made;
  made->request_ = std::move(request);
  made->view_ = NCNotificationShortLookView::create();
  return made;
}

NCNotificationShortLookView* NCNotificationShortLookViewController::view() const {
  return static_cast<NCNotificationShortLookView*>(view_.get());
}

void NCNotificationShortLookViewController::registerClass(const springboard::SystemProfile&) {
  controllerClass = springboard::SpringBoardClasses::define<NCNotificationShortLookViewController>(
      "NCNotificationShortLookViewController");
  class_addMethod(
      controllerClass, SELECTOR("notificationRequest"),
      +[](id obj, SEL) { return controller(obj).notificationRequest(); }, "@@:");
  class_addMethod(
      controllerClass, SELECTOR("view"), +[](id obj, SEL) -> id { return controller(obj).view(); }, "@@:");
}

}  // namespace platform
