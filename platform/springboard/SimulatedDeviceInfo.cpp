#include "platform/springboard/SimulatedDeviceInfo.h"

#include "platform/springboard/DeviceModel.h"

namespace platform::springboard {

std::string SimulatedDeviceInfo::systemVersion() const { return model_.configuration().systemVersion; }

bool SimulatedDeviceInfo::darkModeEnabled() const {
  return model_.profile().hasInterfaceStyleArbiter() && model_.switches().interfaceStyle() == 2;
}

}  // namespace platform::springboard
