#include "platform/springboard/SpringBoard.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/DeviceModel.h"
#include "platform/springboard/HardwarePress.h"
#include "platform/springboard/HardwarePressesEvent.h"
#include "platform/springboard/SBApplicationController.h"
#include "platform/springboard/SharedObjects.h"
#include "platform/springboard/SpringBoardClasses.h"

namespace platform {

using springboard::DeviceModel;
using springboard::SharedObjects;
using springboard::DeviceState;
using springboard::HardwarePress;
using springboard::HardwarePressesEvent;
using springboard::SpringBoardClasses;

namespace {

// One step of a volume button.
constexpr float kVolumeStep = 1.0f / 16.0f;

id sharedApplicationImp(id, SEL) { return SharedObjects::shared().get("SpringBoard"); }

void simulateHomeImp(id, SEL) {
  DeviceModel& device = DeviceModel::shared();
  device.state().eventLog().record("home button");
  device.goHome();
}

}  // namespace

// The system's handling of hardware buttons: a volume button's press-down
// moves the volume one step; the side button locks or unlocks on its
// release, and only when the press-down of that press reached SpringBoard too
// (a release whose press-down something else consumed does nothing).
bool SpringBoard::handleButtons(id self, SEL, id event) {
  auto* presses = dynamic_cast<HardwarePressesEvent*>(event);
  if (!presses) return false;
  auto& springBoard = *static_cast<SpringBoard*>(self);
  DeviceModel& device = DeviceModel::shared();
  bool handled = false;
  for (const Ref<Object>& object : presses->allPresses()) {
    auto* press = dynamic_cast<HardwarePress*>(object.get());
    if (!press) continue;
    const bool down = press->force() >= 1.0;
    switch (press->type()) {
      case HardwarePress::kTypeVolumeUp:
      case HardwarePress::kTypeVolumeDown:
        if (!down) break;
        device.state().audio().changeVolumeBy(press->type() == HardwarePress::kTypeVolumeUp ? kVolumeStep
                                                                                            : -kVolumeStep);
        handled = true;
        break;
      case HardwarePress::kTypeSideButton:
        if (down) {
          springBoard.sideButtonDown_ = true;
          handled = true;
        } else if (springBoard.sideButtonDown_) {
          springBoard.sideButtonDown_ = false;
          handled = device.state().apps().locked() ? device.unlock() : device.lock();
        }
        break;
      default: break;
    }
  }
  return handled;
}

id SpringBoard::frontApplication() {
  // Asked on every process-state change: the object is looked up only when the front app changed.
  const std::string& front = DeviceState::shared().apps().frontApp();
  if (front != cachedFrontId_ || (!front.empty() && !cachedFront_)) {
    cachedFrontId_ = front;
    SBApplicationController* controller = front.empty() ? nullptr : SBApplicationController::sharedInstance();
    cachedFront_ = controller ? controller->applicationWithBundleIdentifier(front) : nullptr;
  }
  return cachedFront_;
}

SpringBoard* SpringBoard::sharedApplication() {
  static ClassHandle application("UIApplication");
  return dynamic_cast<SpringBoard*>(msgSend<id>(application.get(), SELECTOR("sharedApplication")));
}

id SpringBoard::_accessibilityFrontMostApplication() {
  return msgSend<id>(this, SELECTOR("_accessibilityFrontMostApplication"));
}

bool SpringBoard::_handlePhysicalButtonEvent(id event) {
  return msgSend<bool, id>(this, SELECTOR("_handlePhysicalButtonEvent:"), event);
}

void SpringBoard::_simulateHomeButtonPress() { msgSend(this, SELECTOR("_simulateHomeButtonPress")); }

void SpringBoard::registerClass(const springboard::SystemProfile&) {
  // UIApplication may come from the UI layer; its shared application is SpringBoard's object here.
  Class* application = SpringBoardClasses::ensure("UIApplication");
  class_replaceMethod(application->metaclass(), SELECTOR("sharedApplication"), &sharedApplicationImp);

  Class* cls = SpringBoardClasses::define<SpringBoard>("SpringBoard", "UIApplication");
  class_addMethod(
      cls, SELECTOR("_accessibilityFrontMostApplication"),
      +[](id self, SEL) { return static_cast<SpringBoard*>(self)->frontApplication(); }, "@@:");
  class_addMethod(cls, SELECTOR("_handlePhysicalButtonEvent:"), &SpringBoard::handleButtons, "B@:@");
  class_addMethod(cls, SELECTOR("_simulateHomeButtonPress"), &simulateHomeImp, "v@:");
}

}  // namespace platform
