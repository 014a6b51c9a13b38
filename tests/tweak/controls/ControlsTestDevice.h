#pragma once

#include <string>
#include <vector>

#include "platform/foundation/Clock.h"
#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/springboard/DeviceModel.h"
#include "tweak/store/TessraStorageManager.h"
#include "tweak/testing/BrightnessManagerTestApi.h"
#include "tweak/testing/TessraStorageManagerTestApi.h"
#include "tweak/testing/VolumeApplierTestApi.h"

// What every controls and actions test starts from: the manual clock, a
// fresh simulated device of the given system version, the settings as in a
// fresh process (all off) and the controls' process-wide state cleared.
class ControlsTestDevice {
 public:
  explicit ControlsTestDevice(std::string systemVersion, platform::springboard::DeviceConfiguration config = {}) {
    TessraStorageManagerTestApi::reset();
    config.systemVersion = std::move(systemVersion);
    model().configure(std::move(config));
    BrightnessManagerTestApi::resetQueue();
    VolumeApplierTestApi::reset();
  }
  ~ControlsTestDevice() {
    VolumeApplierTestApi::reset();
    TessraStorageManagerTestApi::reset();
  }
  ControlsTestDevice(const ControlsTestDevice&) = delete;
  ControlsTestDevice& operator=(const ControlsTestDevice&) = delete;

  static platform::springboard::DeviceModel& model() { return platform::springboard::DeviceModel::shared(); }
  static TessraStorageManager& settings() { return TessraStorageManager::sharedInstance(); }

  // The time since the device was set up.
  platform::Duration elapsed() const { return tasks.now() - start_; }

  platform::ManualTaskEnvironment tasks;

 private:
  platform::TimePoint start_ = tasks.now();
};
