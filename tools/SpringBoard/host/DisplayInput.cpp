#include "tools/SpringBoard/host/DisplayInput.h"

#include <cmath>
#include <string>

#include "platform/springboard/DeviceModel.h"
#include "platform/springboard/HardwarePress.h"
#include "platform/ui/UIApplication.h"

namespace tessra::device {

namespace {

using platform::springboard::ButtonPress;
using platform::springboard::HardwarePress;

const char* phaseName(platform::UITouchPhase phase) {
  switch (phase) {
    case platform::UITouchPhase::Began: return "began";
    case platform::UITouchPhase::Moved: return "moved";
    case platform::UITouchPhase::Stationary: return "stationary";
    case platform::UITouchPhase::Ended: return "ended";
    case platform::UITouchPhase::Cancelled: return "cancelled";
  }
  return "?";
}

}  // namespace

void DisplayInput::touch(platform::UITouchPhase phase, platform::CGPoint point) {
  const bool taken = platform::UIApplication::sharedApplication().sendTouch(phase, point);
  if (phase == platform::UITouchPhase::Moved || phase == platform::UITouchPhase::Stationary) return;
  model_.eventLog().record(std::string("window touch ") + phaseName(phase) + " " +
                           std::to_string(std::lround(point.x)) + " " + std::to_string(std::lround(point.y)) +
                           (taken ? "" : " (nothing there)"));
}

void DisplayInput::key(platform::DisplayKey key, bool down) {
  const double force = down ? 1.0 : 0.0;
  switch (key) {
    case platform::DisplayKey::VolumeUp:
      model_.pressButtons({{HardwarePress::kTypeVolumeUp, force}});
      return;
    case platform::DisplayKey::VolumeDown:
      model_.pressButtons({{HardwarePress::kTypeVolumeDown, force}});
      return;
    case platform::DisplayKey::VolumeBoth:
      model_.pressButtons({{HardwarePress::kTypeVolumeUp, force}, {HardwarePress::kTypeVolumeDown, force}});
      return;
    case platform::DisplayKey::Side:
      model_.pressButtons({{HardwarePress::kTypeSideButton, force}});
      return;
    default:
      break;
  }
  // The others act when pressed, as a tap of the hardware or a gesture does.
  if (!down) return;
  auto& apps = model_.apps();
  switch (key) {
    case platform::DisplayKey::Home:
      model_.goHome();
      break;
    case platform::DisplayKey::Lock:
      apps.locked() ? model_.unlock() : model_.lock();
      break;
    case platform::DisplayKey::Siri:
      apps.siriVisible() ? model_.dismissSiri() : model_.showSiri();
      break;
    case platform::DisplayKey::Spotlight:
      apps.spotlightVisible() ? model_.dismissSpotlight() : model_.showSpotlight();
      break;
    default:
      break;
  }
}

}  // namespace tessra::device
