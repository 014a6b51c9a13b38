#pragma once

#include "platform/runtime/Object.h"

namespace platform {

namespace springboard {
class SystemProfile;
}

// The view of a notification banner. The home screen draws the banner from
// its state; here it only knows whether it is hidden (setHidden:, isHidden),
// and records "banner view hidden" when it gets hidden. Owned by its view controller.
class NCNotificationShortLookView final : public Object {
 public:
  static Ref<NCNotificationShortLookView> create();
  bool isHidden() const { return hidden_; }

  static void registerClass(const springboard::SystemProfile& profile);

 private:
  bool hidden_ = false;
};

}  // namespace platform
