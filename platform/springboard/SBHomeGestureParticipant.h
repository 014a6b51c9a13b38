#pragma once

#include "platform/runtime/Object.h"

namespace platform {

namespace springboard {
class SystemProfile;
}

// The participant that would take the home gesture (swipe up from the bottom
// edge). The device asks ownsHomeGesture before going home on that gesture;
// the system answers YES.
class SBHomeGestureParticipant final : public Object {
 public:
  // The participant of the scene in front (one per device).
  static SBHomeGestureParticipant* current();
  // ownsHomeGesture
  bool ownsHomeGesture() const;

  static void registerClass(const springboard::SystemProfile& profile);
};

}  // namespace platform
