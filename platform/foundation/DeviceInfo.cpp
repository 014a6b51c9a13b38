#include "platform/foundation/DeviceInfo.h"

#include <atomic>
#include <charconv>

namespace platform {

namespace {

const FixedDeviceInfo& defaultInfo() {
  static const FixedDeviceInfo* info = new FixedDeviceInfo();
  return *info;
}

std::atomic<const DeviceInfo*> g_installed{nullptr};

}  // namespace

double DeviceInfo::systemVersionNumber() const {
  // floatValue semantics: the leading number, so "13.3.1" reads 13.3 and garbage reads 0.
  // Parsed without the C locale's help, so a decimal comma locale cannot change it.
  std::string version = systemVersion();
  double value = 0;
  std::from_chars(version.data(), version.data() + version.size(), value);
  return value;
}

const DeviceInfo& DeviceInfo::current() {
  const DeviceInfo* info = g_installed.load(std::memory_order_acquire);
  return info ? *info : defaultInfo();
}

const DeviceInfo* DeviceInfo::install(const DeviceInfo* info) {
  return g_installed.exchange(info, std::memory_order_acq_rel);
}

}  // namespace platform
