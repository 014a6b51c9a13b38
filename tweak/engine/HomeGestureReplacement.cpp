#include "tweak/engine/HomeGestureReplacement.h"

#include "platform/foundation/Dispatch.h"
#include "platform/foundation/Timer.h"
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "tweak/store/TessraStorageManager.h"

using platform::id;
using platform::msgSend;

int HomeGestureReplacement::nbPresses = 0;
std::shared_ptr<platform::DispatchBlock> HomeGestureReplacement::triplePressedTimerBlock;
std::shared_ptr<platform::Timer> HomeGestureReplacement::longPressedTimer;

namespace {

enum class ActivationMethod : int64_t { VolumeButtons = 0, TriplePress = 1, DoublePress = 2, LongPress = 3 };

}  // namespace

void tessra_powerButtonLongPressed(id, platform::SEL) { HomeGestureReplacement::simulateHomeButtonPress(); }

void HomeGestureReplacement::simulateHomeButtonPress() {
  static platform::ClassHandle applicationClass("UIApplication");
  id application = msgSend<id>(applicationClass.get(), SELECTOR("sharedApplication"));
  msgSend(application, SELECTOR("_simulateHomeButtonPress"));
}

bool HomeGestureReplacement::handleButtonEvent(id springBoard, platform::SEL selector, id event, ButtonHandler system) {
  auto callSystem = [&] { return system ? system(springBoard, selector, event) : false; };
  const platform::ObjectArray presses = msgSend<platform::ObjectArray>(event, SELECTOR("allPresses"));
  // The first press decides; an event without presses reads as type 0, released.
  id first = presses.empty() ? nullptr : presses.front().get();
  const long type = msgSend<long>(first, SELECTOR("type"));
  const long force = static_cast<long>(msgSend<double>(first, SELECTOR("force")));

  switch (static_cast<ActivationMethod>(TessraStorageManager::sharedInstance().disableHomeGesture_activationMethod)) {
    case ActivationMethod::VolumeButtons: {
      bool volumeUp = false;
      bool volumeDown = false;
      for (const auto& press : presses) {
        const long pressType = msgSend<long>(press, SELECTOR("type"));
        const double pressForce = msgSend<double>(press, SELECTOR("force"));
        if (pressType == kPressTypeVolumeUp && pressForce == 1.0) volumeUp = true;
        if (pressType == kPressTypeVolumeDown && pressForce == 1.0) volumeDown = true;
      }
      if (volumeUp && volumeDown) simulateHomeButtonPress();
      return callSystem();
    }
    case ActivationMethod::TriplePress:
    case ActivationMethod::DoublePress: {
      const int required =
          TessraStorageManager::sharedInstance().disableHomeGesture_activationMethod == 1 ? 3 : 2;  // presses
      if (type != kPressTypeSide || force != 1) return callSystem();
      return handleBurst(required, presses.size()) || callSystem();
    }
    case ActivationMethod::LongPress: handleLongPress(springBoard, type, force); return callSystem();
  }
  return callSystem();
}

// One side-button press-down of a burst; answers YES when the event is consumed, NO when it
// goes to SpringBoard.
bool HomeGestureReplacement::handleBurst(int required, size_t pressCount) {
  const int old = nbPresses;
  nbPresses = old + 1;
  if (old >= required - 1) {
    // The last press of the burst.
    if (nbPresses == required && pressCount == 1) {
      nbPresses = 0;
      if (triplePressedTimerBlock) platform::dispatch_block_cancel(triplePressedTimerBlock);
      simulateHomeButtonPress();
      return true;
    }
    return false;
  }
  if (old == 0) {
    triplePressedTimerBlock = platform::dispatch_block_create([] { nbPresses = 0; });
    platform::dispatch_after(platform::seconds(kBurstResetDelay), platform::dispatch_get_main_queue(),
                             triplePressedTimerBlock);
  }
  return true;
}

void HomeGestureReplacement::handleLongPress(id springBoard, long type, long force) {
  if (type != kPressTypeSide) return;
  if (force == 1) {
    if (longPressedTimer) longPressedTimer->invalidate();
    platform::Ref<platform::Object> target = springBoard;
    longPressedTimer = platform::Timer::scheduledTimer(
        platform::seconds(kLongPressDelay), platform::Repeats::No,
        [target](platform::Timer&) { msgSend(target.get(), SELECTOR("tessra_powerButtonLongPressed")); });
  } else if (force == 0 && longPressedTimer) {
    longPressedTimer->invalidate();
    longPressedTimer = nullptr;
  }
}
