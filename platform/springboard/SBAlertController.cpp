#include "platform/springboard/SBAlertController.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/DeviceState.h"
#include "platform/springboard/SBAlertItem.h"
#include "platform/springboard/SpringBoardClasses.h"

namespace platform {

namespace {

Class* controllerClass = nullptr;
SBAlertController& controller(id obj) { return *static_cast<SBAlertController*>(obj); }

std::string quotedOrNil(const std::optional<std::string>& text) { return text ? "\"" + *text + "\"" : "nil"; }

std::optional<std::string> titleOf(id obj) {
  SBAlertItem* item = controller(obj).alertItem();
  return item ? item->title() : std::nullopt;
}

std::optional<std::string> messageOf(id obj) {
  SBAlertItem* item = controller(obj).alertItem();
  return item ? item->message() : std::nullopt;
}

}  // namespace

Ref<SBAlertController> SBAlertController::create(SBAlertItem* item) {
  Ref<SBAlertController> made = dynamic_cast<SBAlertController*>(class_createInstance(controllerClass).get());
  if (made) made->item_ = item;
  return made;
}

SBAlertItem* SBAlertController::alertItem() const { return static_cast<SBAlertItem*>(item_.get()); }

void SBAlertController::viewWillAppear(bool animated) {
  msgSend<void, bool>(this, SELECTOR("viewWillAppear:"), animated);
}

void SBAlertController::registerClass(const springboard::SystemProfile&) {
  controllerClass = springboard::SpringBoardClasses::define<SBAlertController>(kClassName);
  class_addMethod(
      controllerClass, SELECTOR("alertItem"), +[](id obj, SEL) -> id { return controller(obj).alertItem(); }, "@@:");
  class_addMethod(
      controllerClass, SELECTOR("title"), +[](id obj, SEL) { return titleOf(obj); }, "@@:");
  class_addMethod(
      controllerClass, SELECTOR("message"), +[](id obj, SEL) { return messageOf(obj); }, "@@:");
  class_addMethod(
      controllerClass, SELECTOR("viewWillAppear:"),
      +[](id obj, SEL, bool) {
        SBAlertController& self = controller(obj);
        self.appeared_ = true;
        std::string text = std::string("system alert ") + object_getClassName(self.alertItem()) + " " +
                           quotedOrNil(titleOf(obj)) + " shown";
        springboard::DeviceState::shared().eventLog().record(std::move(text));
      },
      "v@:B");
  class_addMethod(
      controllerClass, SELECTOR("_setHidden:"),
      +[](id obj, SEL, bool hidden) {
        SBAlertController& self = controller(obj);
        if (self.hidden_ == hidden) return;
        self.hidden_ = hidden;
        springboard::DeviceState::shared().eventLog().record(
            std::string("system alert ") + object_getClassName(self.alertItem()) + (hidden ? " hidden" : " unhidden"));
      },
      "v@:B");
  class_addMethod(
      controllerClass, SELECTOR("isHidden"), +[](id obj, SEL) { return controller(obj).hidden_; }, "B@:");
}

}  // namespace platform
