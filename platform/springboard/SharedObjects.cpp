#include "platform/springboard/SharedObjects.h"

#include <vector>

#include "platform/runtime/Runtime.h"

namespace platform::springboard {

SharedObjects& SharedObjects::shared() {
  // Never destroyed: hooks and objects may still reach the home screen from static destructors.
  static SharedObjects* objects = new SharedObjects;
  return *objects;
}

id SharedObjects::get(std::string_view className) { return get(Runtime::lookUpClass(className)); }

id SharedObjects::get(Class* cls) {
  if (!cls) return nullptr;
  // A handful of classes: a linear scan by pointer is the cheapest lookup.
  size_t count = count_.load(std::memory_order_acquire);
  for (size_t i = 0; i < count; ++i) {
    if (objects_[i].first == cls) return objects_[i].second;
  }
  // Made outside the lock (making it may ask for other shared objects); a racing twin is dropped.
  Ref<Object> obj = class_createInstance(cls);
  if (!obj) return nullptr;
  std::lock_guard lock(mutex_);
  count = count_.load(std::memory_order_relaxed);
  for (size_t i = 0; i < count; ++i) {
    if (objects_[i].first == cls) return objects_[i].second;
  }
  if (count == kMaxObjects) return nullptr;
  objects_[count] = {cls, std::move(obj)};
  count_.store(count + 1, std::memory_order_release);
  return objects_[count].second;
}

void SharedObjects::clear() {
  std::vector<Ref<Object>> previous;  // released after the lock is dropped
  {
    std::lock_guard lock(mutex_);
    size_t count = count_.exchange(0, std::memory_order_acq_rel);
    for (size_t i = 0; i < count; ++i) {
      previous.push_back(std::move(objects_[i].second));
      objects_[i].first = nullptr;
    }
  }
}

}  // namespace platform::springboard
