#include "platform/foundation/NotificationCenter.h"

#include <algorithm>

namespace platform {

NotificationCenter& NotificationCenter::defaultCenter() {
  static NotificationCenter* center = new NotificationCenter();
  return *center;
}

uint64_t NotificationCenter::addObserver(std::string name, const void* object, Block block) {
  std::lock_guard lock(mutex_);
  uint64_t token = nextToken_++;
  observers_.push_back({token, std::move(name), object, std::make_shared<Block>(std::move(block))});
  return token;
}

void NotificationCenter::removeObserver(uint64_t token) {
  std::lock_guard lock(mutex_);
  std::erase_if(observers_, [token](const Observer& o) { return o.token == token; });
}

void NotificationCenter::postNotification(const std::string& name, const void* object,
                                          const plist::Value& userInfo) {
  std::vector<std::shared_ptr<Block>> blocks;
  {
    std::lock_guard lock(mutex_);
    for (const auto& o : observers_)
      if (o.name == name && (!o.object || o.object == object)) blocks.push_back(o.block);
  }
  Notification notification{name, object, userInfo};
  for (const auto& block : blocks)
    if (*block) (*block)(notification);
}

}  // namespace platform
