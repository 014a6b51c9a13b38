#pragma once

#include "platform/runtime/Object.h"

namespace platform {

namespace springboard {
class SystemProfile;
}

// The switcher's gesture manager, reached through the switcher controller's
// private field _gestureManager. It holds the home bar grabber view.
class SBFluidSwitcherGestureManager final : public Object {
 public:
  // currentHomeGrabberView
  id currentHomeGrabberView();

  static void registerClass(const springboard::SystemProfile& profile);

 private:
  Ref<Object> grabber_;
};

}  // namespace platform
