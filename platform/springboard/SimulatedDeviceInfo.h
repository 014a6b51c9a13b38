#pragma once

#include "platform/foundation/DeviceInfo.h"

namespace platform::springboard {

class DeviceModel;

// The device information of the simulated device: its configured system
// version, and dark mode on when the interface style is dark on a system that
// has one (13.0 and later). Installed by DeviceModel::configure.
class SimulatedDeviceInfo final : public DeviceInfo {
 public:
  explicit SimulatedDeviceInfo(DeviceModel& model) : model_(model) {}
  std::string systemVersion() const override;
  bool darkModeEnabled() const override;

 private:
  DeviceModel& model_;
};

}  // namespace platform::springboard
