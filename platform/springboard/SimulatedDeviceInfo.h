#pragma once

#include "platform/foundation/DeviceInfo.h"

namespace platform::springboard {

class DeviceState;

// The device information of the simulated device: its configured system
// version, and dark mode on when the interface style is dark on a system that
// has one (13.0 and later). Installed by DeviceModel::configure.
class SimulatedDeviceInfo final : public DeviceInfo {
 public:
  explicit SimulatedDeviceInfo(DeviceState& state) : state_(state) {}
  std::string systemVersion() const override;
  bool darkModeEnabled() const override;
  double statusBarHeight() const override;

 private:
  DeviceState& state_;
};

}  // namespace platform::springboard
