#pragma once

#include "platform/runtime/Object.h"

namespace platform {

class SBAlertController;
class SBAlertItem;

namespace springboard {
class SystemProfile;
}

// The queue of system alerts (SBAlertItemsController). activateAlertItem:
// makes the item active, gives it an alert controller and shows it (the
// controller's viewWillAppear: through the runtime); deactivateAlertItem:
// takes it away. The log gets `system alert CLASS activated` and
// `system alert CLASS deactivated`. One per device (sharedInstance); keeps
// the controller of the alert activated last.
class SBAlertItemsController final : public Object {
 public:
  static SBAlertItemsController* sharedInstance();

  // Sends activateAlertItem: through the runtime.
  void activateAlertItem(SBAlertItem* item);
  // The controller of the alert activated last (null when none yet).
  SBAlertController* lastController() const;

  static void registerClass(const springboard::SystemProfile& profile);

 private:
  Ref<Object> last_;
};

}  // namespace platform
