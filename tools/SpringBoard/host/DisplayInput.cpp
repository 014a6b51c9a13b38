#include "tools/SpringBoard/host/DisplayInput.h"

#include "platform/springboard/DeviceModel.h"
#include "platform/springboard/HardwarePress.h"
#include "platform/springboard/screen/DeviceScreen.h"

namespace tessra::device {

namespace {

using platform::springboard::ButtonPress;
using platform::springboard::HardwarePress;

}  // namespace

void DisplayInput::touch(platform::UITouchPhase phase, platform::CGPoint point) { screen_.touch(phase, point); }

void DisplayInput::key(platform::DisplayKey key, bool down) {
  const double force = down ? 1.0 : 0.0;
  switch (key) {
    case platform::DisplayKey::VolumeUp: model_.pressButtons({{HardwarePress::kTypeVolumeUp, force}}); return;
    case platform::DisplayKey::VolumeDown: model_.pressButtons({{HardwarePress::kTypeVolumeDown, force}}); return;
    case platform::DisplayKey::VolumeBoth:
      model_.pressButtons({{HardwarePress::kTypeVolumeUp, force}, {HardwarePress::kTypeVolumeDown, force}});
      return;
    case platform::DisplayKey::Side: model_.pressButtons({{HardwarePress::kTypeSideButton, force}}); return;
    default: break;
  }
  // The others act when pressed, as a tap of the hardware or a gesture does.
  if (!down) return;
  auto& apps = model_.state().apps();
  switch (key) {
    case platform::DisplayKey::Home: model_.goHome(); break;
    case platform::DisplayKey::Lock: apps.locked() ? model_.unlock() : model_.lock(); break;
    case platform::DisplayKey::Siri: apps.siriVisible() ? model_.dismissSiri() : model_.showSiri(); break;
    case platform::DisplayKey::Spotlight:
      apps.spotlightVisible() ? model_.dismissSpotlight() : model_.showSpotlight();
      break;
    default: break;
  }
}

}  // namespace tessra::device
