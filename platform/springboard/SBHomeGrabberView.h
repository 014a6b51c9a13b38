#pragma once

#include "platform/runtime/Object.h"

namespace platform {

namespace springboard {
class SystemProfile;
}

// The home bar grabber at the bottom of the screen. Its alpha is the
// device's (DisplayState). Inside an animation block of the UI layer the
// change is recorded with the block's duration, read by name as
// [UIView inheritedAnimationDuration] (0 when there is none).
class SBHomeGrabberView final : public Object {
 public:
  // alpha
  double alpha() const;
  // setAlpha:
  void setAlpha(double alpha);

  static void registerClass(const springboard::SystemProfile& profile);
};

}  // namespace platform
