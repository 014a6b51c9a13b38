#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <mutex>
#include <string_view>
#include <utility>

#include "platform/runtime/Object.h"

namespace platform::springboard {

// The home screen's shared objects (the media controller, the switcher, SpringBoard's
// application object...): one instance per stand-in class, created on first use and kept
// until the device is configured anew. One registry per process, never destroyed.
// Objects are appended under a lock and read without one: a background queue may ask for
// the volume control while the main thread creates another object.
class SharedObjects {
 public:
  // The registry of this process.
  static SharedObjects& shared();

  SharedObjects(const SharedObjects&) = delete;
  SharedObjects& operator=(const SharedObjects&) = delete;

  // The shared instance of the class registered as `className`, created on first use;
  // null when the class does not exist on this device.
  id get(std::string_view className);
  // The same for a class object (cheaper: no name lookup).
  id get(Class* cls);
  // Releases every shared object (before the device's classes are unregistered).
  void clear();

 private:
  SharedObjects() = default;

  static constexpr size_t kMaxObjects = 64;
  std::array<std::pair<Class*, Ref<Object>>, kMaxObjects> objects_;
  std::atomic<size_t> count_{0};
  std::mutex mutex_;
};

}  // namespace platform::springboard
