#pragma once

#include <string>

#include "platform/runtime/Object.h"

namespace platform {

namespace springboard {
class SystemProfile;
}

// SpringBoard's application object, a UIApplication: the one object the
// plug-in reaches as [UIApplication sharedApplication]. It answers which app
// is in front (_accessibilityFrontMostApplication, asked by SpringBoard itself
// on every process-state change and every appearance of the home screen),
// takes the hardware buttons (_handlePhysicalButtonEvent:) and can simulate a
// home button press. Created by the device on first use.
class SpringBoard final : public Object {
 public:
  // UIApplication sharedApplication: the SpringBoard object (null before any device exists).
  static SpringBoard* sharedApplication();

  // The SBApplication in front, or null on the home screen. Siri and Spotlight do not count.
  id _accessibilityFrontMostApplication();
  // Handles one event of hardware button presses (a volume press-down changes the volume one
  // step; the side button locks or unlocks on a release whose press-down it saw too); answers
  // whether it was handled.
  bool _handlePhysicalButtonEvent(id event);
  // A press of the home button: goes to the home screen.
  void _simulateHomeButtonPress();

  // Registers "UIApplication" (when absent) and "SpringBoard" with their methods.
  static void registerClass(const springboard::SystemProfile& profile);

 private:
  id frontApplication();
  // The system implementation of _handlePhysicalButtonEvent:.
  static bool handleButtons(id self, SEL, id event);
  std::string cachedFrontId_;
  Ref<Object> cachedFront_;
  // Whether the side button's press-down reached the system's handling, awaiting its release.
  bool sideButtonDown_ = false;
};

}  // namespace platform
