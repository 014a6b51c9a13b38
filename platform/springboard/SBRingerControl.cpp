#include "platform/springboard/SBRingerControl.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/DeviceState.h"
#include "platform/springboard/SpringBoardClasses.h"
#include "platform/springboard/SystemProfile.h"

namespace platform {

using springboard::DeviceState;

bool SBRingerControl::isRingerMuted() const { return msgSend<bool>(this, SELECTOR("isRingerMuted")); }

void SBRingerControl::setRingerMuted(bool muted) { msgSend<void, bool>(this, SELECTOR("setRingerMuted:"), muted); }

void SBRingerControl::registerClass(const springboard::SystemProfile& profile) {
  if (!profile.hasRingerControl()) return;
  Class* cls = springboard::SpringBoardClasses::define<SBRingerControl>("SBRingerControl");
  class_addMethod(
      cls, SELECTOR("isRingerMuted"), +[](id, SEL) { return DeviceState::shared().switches().ringerMuted(); }, "B@:");
  class_addMethod(
      cls, SELECTOR("setRingerMuted:"),
      +[](id, SEL, bool muted) { DeviceState::shared().switches().setRingerMuted(muted); }, "v@:B");
}

}  // namespace platform
