#include "platform/springboard/SBVolumeControl.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/DeviceState.h"
#include "platform/springboard/SharedInstance.h"
#include "platform/springboard/SpringBoardClasses.h"
#include "platform/springboard/SystemProfile.h"

namespace platform {

using springboard::DeviceState;
using springboard::SpringBoardClasses;

namespace {
springboard::AudioState& audio() { return DeviceState::shared().audio(); }
}  // namespace

SBVolumeControl* SBVolumeControl::sharedInstance() {
  return springboard::sharedInstance<SBVolumeControl, "SBVolumeControl">();
}

void SBVolumeControl::setVolume(float volume, std::string category) {
  msgSend<void, float, std::string>(this, SELECTOR("setVolume:forCategory:"), volume, std::move(category));
}

float SBVolumeControl::_getMediaVolumeForIAP() const { return msgSend<float>(this, SELECTOR("_getMediaVolumeForIAP")); }

void SBVolumeControl::changeVolumeByDelta(float delta) {
  msgSend<void, float>(this, SELECTOR("changeVolumeByDelta:"), delta);
}

void SBVolumeControl::registerClass(const springboard::SystemProfile& profile) {
  if (!profile.hasVolumeControl()) return;
  Class* cls = SpringBoardClasses::define<SBVolumeControl>("SBVolumeControl");
  class_addMethod(cls->metaclass(), SELECTOR("sharedInstance"), &SpringBoardClasses::sharedInstanceImp, "@@:");
  class_addMethod(
      cls, SELECTOR("setVolume:forCategory:"),
      +[](id, SEL, float volume, std::string category) {
        // The device has one media volume; other categories (ringer, alerts) are not modelled.
        if (category == kMediaCategory) audio().setVolume(volume);
      },
      "v@:f@");
  class_addMethod(
      cls, SELECTOR("_getMediaVolumeForIAP"), +[](id, SEL) { return audio().volume(); }, "f@:");
  class_addMethod(
      cls, SELECTOR("changeVolumeByDelta:"), +[](id, SEL, float d) { audio().changeVolumeBy(d); }, "v@:f");
}

}  // namespace platform
