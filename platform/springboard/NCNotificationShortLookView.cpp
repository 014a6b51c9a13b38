#include "platform/springboard/NCNotificationShortLookView.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/DeviceState.h"
#include "platform/springboard/SpringBoardClasses.h"

namespace platform {

namespace {
Class* viewClass = nullptr;
}  // namespace

Ref<NCNotificationShortLookView> NCNotificationShortLookView::create() {
  return dynamic_cast<NCNotificationShortLookView*>(class_createInstance(viewClass).get());
}

void NCNotificationShortLookView::registerClass(const springboard::SystemProfile&) {
  viewClass = springboard::SpringBoardClasses::define<NCNotificationShortLookView>("NCNotificationShortLookView");
  class_addMethod(
      viewClass, SELECTOR("setHidden:"),
      +[](id obj, SEL, bool hidden) {
        auto* view = static_cast<NCNotificationShortLookView*>(obj);
        if (view->hidden_ == hidden) return;
        view->hidden_ = hidden;
        springboard::DeviceState::shared().eventLog().record(hidden ? "banner view hidden" : "banner view shown");
      },
      "v@:B");
  class_addMethod(
      viewClass, SELECTOR("isHidden"),
      +[](id obj, SEL) { return static_cast<NCNotificationShortLookView*>(obj)->hidden_; }, "B@:");
}

}  // namespace platform
