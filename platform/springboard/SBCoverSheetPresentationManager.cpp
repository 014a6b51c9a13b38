#include "platform/springboard/SBCoverSheetPresentationManager.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/DeviceState.h"
#include "platform/springboard/SharedInstance.h"
#include "platform/springboard/SpringBoardClasses.h"

namespace platform {

using springboard::DeviceState;
using springboard::SpringBoardClasses;

SBCoverSheetPresentationManager* SBCoverSheetPresentationManager::sharedInstance() {
  return springboard::sharedInstance<SBCoverSheetPresentationManager, "SBCoverSheetPresentationManager">();
}

bool SBCoverSheetPresentationManager::isVisible() const { return msgSend<bool>(this, SELECTOR("isVisible")); }

void SBCoverSheetPresentationManager::_notifyDelegateDidPresent() {
  msgSend(this, SELECTOR("_notifyDelegateDidPresent"));
}

void SBCoverSheetPresentationManager::_notifyDelegateDidDismiss() {
  msgSend(this, SELECTOR("_notifyDelegateDidDismiss"));
}

void SBCoverSheetPresentationManager::registerClass(const springboard::SystemProfile&) {
  Class* cls = SpringBoardClasses::define<SBCoverSheetPresentationManager>("SBCoverSheetPresentationManager");
  class_addMethod(cls->metaclass(), SELECTOR("sharedInstance"), &SpringBoardClasses::sharedInstanceImp, "@@:");
  class_addMethod(
      cls, SELECTOR("isVisible"),
      +[](id, SEL) {
        const auto& apps = DeviceState::shared().apps();
        return apps.locked() || apps.notificationCenterVisible();
      },
      "B@:");
  // The delegate of the home screen has nothing to do; the methods are there to be hooked.
  class_addMethod(
      cls, SELECTOR("_notifyDelegateDidPresent"), +[](id, SEL) {}, "v@:");
  class_addMethod(
      cls, SELECTOR("_notifyDelegateDidDismiss"), +[](id, SEL) {}, "v@:");
}

}  // namespace platform
