#include "platform/springboard/SBReachabilityManager.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/SharedInstance.h"
#include "platform/springboard/SpringBoardClasses.h"

namespace platform {

using springboard::SpringBoardClasses;

SBReachabilityManager* SBReachabilityManager::sharedInstance() {
  return springboard::sharedInstance<SBReachabilityManager, "SBReachabilityManager">();
}

bool SBReachabilityManager::canActivateReachability() const {
  return msgSend<bool>(this, SELECTOR("canActivateReachability"));
}

void SBReachabilityManager::registerClass(const springboard::SystemProfile&) {
  Class* cls = SpringBoardClasses::define<SBReachabilityManager>("SBReachabilityManager");
  class_addMethod(cls->metaclass(), SELECTOR("sharedInstance"), &SpringBoardClasses::sharedInstanceImp, "@@:");
  class_addMethod(
      cls, SELECTOR("canActivateReachability"), +[](id, SEL) { return true; }, "B@:");
}

}  // namespace platform
