#include "platform/foundation/NotificationCenter.h"

namespace platform {

NotificationCenter& NotificationCenter::defaultCenter() {
  static NotificationCenter* center = new NotificationCenter();
  return *center;
}

uint64_t NotificationCenter::addObserver(std::string name, const void* object, Block block) {
  return observers_.add(std::move(name), object, std::move(block));
}

void NotificationCenter::removeObserver(uint64_t token) { observers_.remove(token); }

void NotificationCenter::postNotification(const std::string& name, const void* object, const plist::Value& userInfo) {
  Notification notification{name, object, userInfo};
  for (const auto& observer : observers_.matching(name, object))
    if (*observer.callback) (*observer.callback)(notification);
}

}  // namespace platform
