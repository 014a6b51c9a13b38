#pragma once

#include "platform/runtime/Object.h"

namespace platform {

namespace springboard {
class SystemProfile;
}

// The lock screen (cover sheet). The device shows it on lock and hides it on
// unlock, then tells the manager's delegate through _notifyDelegateDidPresent
// and _notifyDelegateDidDismiss.
class SBCoverSheetPresentationManager final : public Object {
 public:
  // sharedInstance
  static SBCoverSheetPresentationManager* sharedInstance();
  // isVisible: whether the cover sheet is shown.
  bool isVisible() const;
  void _notifyDelegateDidPresent();
  void _notifyDelegateDidDismiss();

  static void registerClass(const springboard::SystemProfile& profile);
};

}  // namespace platform
