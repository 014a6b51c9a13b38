#pragma once

#include <memory>

#include "platform/runtime/Object.h"

namespace platform {
class DispatchBlock;
class Timer;
}  // namespace platform

// What stands in for the home gesture while an app disables it: a pattern of
// hardware buttons chosen by the disableHomeGesture_activationMethod setting
// simulates a press of the home button. 0: volume up and down held together;
// 1: three side-button presses within 1 s of the first; 2: two such presses;
// 3: the side button held for 0.2 s. SpringBoard's button handling is hooked
// and hands every event here; presses that start or continue a burst of
// methods 1 and 2 do not reach SpringBoard. Process-wide state (the count of
// the burst, its pending 1 s reset, the pending long-press timer), touched
// only on the main thread.
class HomeGestureReplacement {
 public:
  using ButtonHandler = bool (*)(platform::id, platform::SEL, platform::id);

  static constexpr long kPressTypeVolumeUp = 102;
  static constexpr long kPressTypeVolumeDown = 103;
  static constexpr long kPressTypeSide = 104;
  // How long a burst of side-button presses may last, from its first press.
  static constexpr double kBurstResetDelay = 1.0;
  // How long the side button must be held for a long press.
  static constexpr double kLongPressDelay = 0.2;

  // _handlePhysicalButtonEvent: while the home gesture is disabled for the app in front;
  // `system` is SpringBoard's own handling. Answers what the hook answers.
  static bool handleButtonEvent(platform::id springBoard, platform::SEL selector, platform::id event,
                                ButtonHandler system);
  // Presses the home button: _simulateHomeButtonPress on the shared application.
  static void simulateHomeButtonPress();

 private:
  static bool handleBurst(int required, size_t pressCount);
  static void handleLongPress(platform::id springBoard, long type, long force);

  static int nbPresses;
  static std::shared_ptr<platform::DispatchBlock> triplePressedTimerBlock;
  static std::shared_ptr<platform::Timer> longPressedTimer;
};

// The method added to SpringBoard that the long-press timer calls: presses the home button.
void tessra_powerButtonLongPressed(platform::id self, platform::SEL _cmd);
