#pragma once

#include "platform/runtime/Object.h"

namespace platform {

namespace springboard {
class SystemProfile;
}

// The process state of an application (SBApplicationProcessState): whether it
// runs and how visible it is. Immutable; a change of state is a new object
// handed to SBApplication _updateProcess:withState:.
class SBApplicationProcessState final : public Object {
 public:
  // Visibility values (FBSProcessVisibility).
  static constexpr long kVisibilityUnknown = 0;
  static constexpr long kVisibilityBackground = 1;
  static constexpr long kVisibilityForeground = 2;

  // A new state object (class absent: null).
  static Ref<SBApplicationProcessState> create(long visibility, bool running);

  // visibility: 2 when the app is in the foreground.
  long visibility() const;
  // isRunning
  bool isRunning() const;

  static void registerClass(const springboard::SystemProfile& profile);

 private:
  long visibility_ = kVisibilityUnknown;
  bool running_ = false;
};

}  // namespace platform
