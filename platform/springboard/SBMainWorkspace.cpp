#include "platform/springboard/SBMainWorkspace.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/SharedInstance.h"
#include "platform/springboard/SpringBoardClasses.h"
#include "platform/springboard/SystemProfile.h"

namespace platform {

using springboard::SpringBoardClasses;

SBMainWorkspace* SBMainWorkspace::sharedInstance() {
  return springboard::sharedInstance<SBMainWorkspace, "SBMainWorkspace">();
}

id SBMainWorkspace::ringerControl() { return msgSend<id>(this, SELECTOR("ringerControl")); }

void SBMainWorkspace::registerClass(const springboard::SystemProfile& profile) {
  Class* cls = SpringBoardClasses::define<SBMainWorkspace>("SBMainWorkspace");
  class_addMethod(cls->metaclass(), SELECTOR("sharedInstance"), &SpringBoardClasses::sharedInstanceImp, "@@:");
  if (!profile.hasRingerControl()) return;
  class_addMethod(
      cls, SELECTOR("ringerControl"),
      +[](id obj, SEL) -> id {
        auto& workspace = *static_cast<SBMainWorkspace*>(obj);
        if (!workspace.ringerControl_)
          workspace.ringerControl_ = class_createInstance(objc_getClass("SBRingerControl"));
        return workspace.ringerControl_;
      },
      "@@:");
}

}  // namespace platform
