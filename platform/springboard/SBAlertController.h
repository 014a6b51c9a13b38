#pragma once

#include "platform/runtime/Object.h"

namespace platform {

class SBAlertItem;

namespace springboard {
class SystemProfile;
}

// The controller that shows one system alert on screen (_SBAlertController):
// its alert item (alertItem), the item's title and message, and whether it is
// hidden (_setHidden:). viewWillAppear: is where the alert shows: the system
// implementation marks it appeared and logs `system alert CLASS "TITLE" shown`.
// Made by SBAlertItemsController for each item it activates.
class SBAlertController final : public Object {
 public:
  static constexpr const char* kClassName = "_SBAlertController";

  static Ref<SBAlertController> create(SBAlertItem* item);

  SBAlertItem* alertItem() const;
  // Sends viewWillAppear: through the runtime.
  void viewWillAppear(bool animated);
  bool hasAppeared() const { return appeared_; }
  bool isHidden() const { return hidden_; }

  static void registerClass(const springboard::SystemProfile& profile);

 private:
  Ref<Object> item_;
  bool appeared_ = false;
  bool hidden_ = false;
};

}  // namespace platform
