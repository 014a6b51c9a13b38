#pragma once

#include "platform/runtime/Object.h"

namespace platform {

namespace springboard {
class SystemProfile;
}

// SpringBoard's main workspace (all versions); from 13.0 it answers
// ringerControl.
class SBMainWorkspace final : public Object {
 public:
  // sharedInstance
  static SBMainWorkspace* sharedInstance();
  // ringerControl: the SBRingerControl (13.0 and later; not answered below).
  id ringerControl();

  static void registerClass(const springboard::SystemProfile& profile);

 private:
  Ref<Object> ringerControl_;
};

}  // namespace platform
