#pragma once

#include "platform/runtime/Object.h"

namespace platform {

namespace springboard {
class SystemProfile;
}

// The accessibility settings object: reduce white point and assistive touch.
class AXSettings final : public Object {
 public:
  // sharedInstance
  static AXSettings* sharedInstance();
  bool reduceWhitePointEnabled() const;
  // setReduceWhitePointEnabled:
  void setReduceWhitePointEnabled(bool enabled);
  bool assistiveTouchEnabled() const;
  // setAssistiveTouchEnabled:
  void setAssistiveTouchEnabled(bool enabled);

  static void registerClass(const springboard::SystemProfile& profile);
};

}  // namespace platform
