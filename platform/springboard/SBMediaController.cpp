#include "platform/springboard/SBMediaController.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/DeviceState.h"
#include "platform/springboard/SBApplicationController.h"
#include "platform/springboard/SharedInstance.h"
#include "platform/springboard/SpringBoardClasses.h"

namespace platform {

using springboard::DeviceState;
using springboard::SpringBoardClasses;

namespace {
springboard::AudioState& audio() { return DeviceState::shared().audio(); }
}  // namespace

SBMediaController* SBMediaController::sharedInstance() {
  return springboard::sharedInstance<SBMediaController, "SBMediaController">();
}

float SBMediaController::volume() const { return msgSend<float>(this, SELECTOR("volume")); }

void SBMediaController::setVolume(float volume) { msgSend<void, float>(this, SELECTOR("setVolume:"), volume); }

void SBMediaController::_changeVolumeBy(float delta) {
  msgSend<void, float>(this, SELECTOR("_changeVolumeBy:"), delta);
}

bool SBMediaController::isPlaying() const { return msgSend<bool>(this, SELECTOR("isPlaying")); }

void SBMediaController::setSuppressHUD(bool suppress) {
  msgSend<void, bool>(this, SELECTOR("setSuppressHUD:"), suppress);
}

id SBMediaController::nowPlayingApplication() const { return msgSend<id>(this, SELECTOR("nowPlayingApplication")); }

void SBMediaController::registerClass(const springboard::SystemProfile&) {
  Class* cls = SpringBoardClasses::define<SBMediaController>("SBMediaController");
  class_addMethod(cls->metaclass(), SELECTOR("sharedInstance"), &SpringBoardClasses::sharedInstanceImp, "@@:");
  class_addMethod(
      cls, SELECTOR("volume"), +[](id, SEL) { return audio().volume(); }, "f@:");
  class_addMethod(
      cls, SELECTOR("setVolume:"), +[](id, SEL, float v) { audio().setVolume(v); }, "v@:f");
  class_addMethod(
      cls, SELECTOR("_changeVolumeBy:"), +[](id, SEL, float d) { audio().changeVolumeBy(d); }, "v@:f");
  class_addMethod(
      cls, SELECTOR("isPlaying"), +[](id, SEL) { return audio().isPlaying(); }, "B@:");
  class_addMethod(
      cls, SELECTOR("setSuppressHUD:"), +[](id, SEL, bool s) { audio().setHudSuppressed(s); }, "v@:B");
  class_addMethod(
      cls, SELECTOR("nowPlayingApplication"),
      +[](id, SEL) -> id {
        const std::string& bundle = audio().nowPlayingBundleIdentifier();
        SBApplicationController* apps = SBApplicationController::sharedInstance();
        return bundle.empty() || !apps ? nullptr : apps->applicationWithBundleIdentifier(bundle);
      },
      "@@:");
}

}  // namespace platform
