#include "platform/springboard/BluetoothManager.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/DeviceState.h"
#include "platform/springboard/SharedInstance.h"
#include "platform/springboard/SpringBoardClasses.h"

namespace platform {

using springboard::DeviceState;
using springboard::SpringBoardClasses;

BluetoothManager* BluetoothManager::sharedInstance() {
  return springboard::sharedInstance<BluetoothManager, "BluetoothManager">();
}

bool BluetoothManager::enabled() const { return msgSend<bool>(this, SELECTOR("enabled")); }

void BluetoothManager::setEnabled(bool enabled) { msgSend<void, bool>(this, SELECTOR("setEnabled:"), enabled); }

void BluetoothManager::registerClass(const springboard::SystemProfile&) {
  Class* cls = SpringBoardClasses::define<BluetoothManager>("BluetoothManager");
  class_addMethod(cls->metaclass(), SELECTOR("sharedInstance"), &SpringBoardClasses::sharedInstanceImp, "@@:");
  class_addMethod(
      cls, SELECTOR("enabled"), +[](id, SEL) { return DeviceState::shared().switches().bluetoothEnabled(); }, "B@:");
  class_addMethod(
      cls, SELECTOR("setEnabled:"), +[](id, SEL, bool on) { DeviceState::shared().switches().setBluetoothEnabled(on); },
      "v@:B");
}

}  // namespace platform
