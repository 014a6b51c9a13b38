#pragma once

#include <string>

namespace platform {

// What the system asks of the device it runs on: the system version (UIDevice
// systemVersion), whether the system-wide dark mode is on and the height of its
// status bar. The simulated
// device provides the real answers; until one is installed a fixed default
// answers ("13.3", light).
class DeviceInfo {
 public:
  virtual ~DeviceInfo() = default;
  // The system version string, such as "12.4" or "13.3.1".
  virtual std::string systemVersion() const = 0;
  // Whether the system's dark mode is on.
  virtual bool darkModeEnabled() const = 0;
  // The height in points of the status bar that the system draws over every app; apps keep
  // their navigation bars below it (20 without a notch, 44 with one, 24 on a tablet).
  virtual double statusBarHeight() const { return 20; }

  // The version read as a floating-point number, as the system compares it ("13.3.1" reads 13.3).
  double systemVersionNumber() const;

  // The device info in force.
  static const DeviceInfo& current();
  // Makes `info` the device info in force (null restores the default); returns the previous one.
  static const DeviceInfo* install(const DeviceInfo* info);
};

// A DeviceInfo with fields to set, for tests and tools.
class FixedDeviceInfo final : public DeviceInfo {
 public:
  std::string version = "13.3";
  bool darkMode = false;
  double statusBar = 20;
  std::string systemVersion() const override { return version; }
  bool darkModeEnabled() const override { return darkMode; }
  double statusBarHeight() const override { return statusBar; }
};

}  // namespace platform
