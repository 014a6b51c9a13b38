#include "platform/springboard/SimulatedDeviceInfo.h"

#include "platform/springboard/DeviceState.h"

namespace platform::springboard {

std::string SimulatedDeviceInfo::systemVersion() const { return state_.configuration().systemVersion; }

bool SimulatedDeviceInfo::darkModeEnabled() const {
  return state_.profile().hasInterfaceStyleArbiter() && state_.switches().interfaceStyle() == 2;
}

double SimulatedDeviceInfo::statusBarHeight() const { return state_.profile().statusBarHeight(); }

}  // namespace platform::springboard
