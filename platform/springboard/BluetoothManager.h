#pragma once

#include "platform/runtime/Object.h"

namespace platform {

namespace springboard {
class SystemProfile;
}

// The Bluetooth manager (BluetoothManager.framework): Bluetooth power.
class BluetoothManager final : public Object {
 public:
  // sharedInstance
  static BluetoothManager* sharedInstance();
  // enabled
  bool enabled() const;
  // setEnabled:
  void setEnabled(bool enabled);

  static void registerClass(const springboard::SystemProfile& profile);
};

}  // namespace platform
