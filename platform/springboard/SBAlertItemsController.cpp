#include "platform/springboard/SBAlertItemsController.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/DeviceState.h"
#include "platform/springboard/SBAlertController.h"
#include "platform/springboard/SBAlertItem.h"
#include "platform/springboard/SpringBoardClasses.h"

namespace platform {

using springboard::DeviceState;
using springboard::SpringBoardClasses;

SBAlertItemsController* SBAlertItemsController::sharedInstance() {
  static ClassHandle cls("SBAlertItemsController");
  return dynamic_cast<SBAlertItemsController*>(msgSend<id>(cls.get(), SELECTOR("sharedInstance")));
}

void SBAlertItemsController::activateAlertItem(SBAlertItem* item) {
  msgSend<void, id>(this, SELECTOR("activateAlertItem:"), item);
}

SBAlertController* SBAlertItemsController::lastController() const {
  return static_cast<SBAlertController*>(last_.get());
}

void SBAlertItemsController::registerClass(const springboard::SystemProfile&) {
  Class* cls = SpringBoardClasses::define<SBAlertItemsController>("SBAlertItemsController");
  class_addMethod(cls->metaclass(), SELECTOR("sharedInstance"), &SpringBoardClasses::sharedInstanceImp, "@@:");
  class_addMethod(
      cls, SELECTOR("activateAlertItem:"),
      +[](id self, SEL, id object) {
        auto* item = dynamic_cast<SBAlertItem*>(object);
        if (!item) return;
        item->setActive(true);
        DeviceState::shared().eventLog().record(std::string("system alert ") + object_getClassName(item) +
                                                " activated");
        Ref<SBAlertController> controller = SBAlertController::create(item);
        static_cast<SBAlertItemsController*>(self)->last_ = controller;
        if (controller) controller->viewWillAppear(true);
      },
      "v@:@");
  class_addMethod(
      cls, SELECTOR("deactivateAlertItem:"),
      +[](id, SEL, id object) {
        auto* item = dynamic_cast<SBAlertItem*>(object);
        if (!item || !item->isActive()) return;
        item->setActive(false);
        DeviceState::shared().eventLog().record(std::string("system alert ") + object_getClassName(item) +
                                                " deactivated");
      },
      "v@:@");
}

}  // namespace platform
