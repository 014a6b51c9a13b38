#include "platform/foundation/DistributedNotificationCenter.h"

#include <algorithm>

#include "platform/foundation/Dispatch.h"

namespace platform {

DistributedNotificationCenter& DistributedNotificationCenter::shared() {
  static DistributedNotificationCenter* center = new DistributedNotificationCenter();
  return *center;
}

uint64_t DistributedNotificationCenter::addObserver(std::string name, Block block) {
  std::lock_guard lock(mutex_);
  uint64_t token = nextToken_++;
  observers_.push_back({token, std::move(name), std::make_shared<Block>(std::move(block))});
  return token;
}

void DistributedNotificationCenter::removeObserver(uint64_t token) {
  std::lock_guard lock(mutex_);
  std::erase_if(observers_, [token](const Observer& o) { return o.token == token; });
}

size_t DistributedNotificationCenter::observerCount(const std::string& name) const {
  std::lock_guard lock(mutex_);
  return static_cast<size_t>(
      std::count_if(observers_.begin(), observers_.end(), [&](const Observer& o) { return o.name == name; }));
}

void DistributedNotificationCenter::postNotification(const std::string& name, const plist::Value& userInfo) {
  std::shared_ptr<NotificationTransport> transport;
  {
    std::lock_guard lock(mutex_);
    transport = transport_;
  }
  deliverLocal(name, userInfo);
  if (transport) transport->sendDistributed(name, userInfo);
}

void DistributedNotificationCenter::setTransport(std::shared_ptr<NotificationTransport> transport) {
  std::lock_guard lock(mutex_);
  transport_ = std::move(transport);
}

void DistributedNotificationCenter::deliverRemote(const std::string& name, const plist::Value& userInfo) {
  deliverLocal(name, userInfo);
}

// Each observer's block is queued on the main queue; an observer removed
// before its turn comes is skipped.
void DistributedNotificationCenter::deliverLocal(const std::string& name, const plist::Value& userInfo) {
  std::vector<std::pair<uint64_t, std::shared_ptr<Block>>> targets;
  {
    std::lock_guard lock(mutex_);
    for (const auto& o : observers_)
      if (o.name == name) targets.emplace_back(o.token, o.block);
  }
  for (auto& target : targets) {
    const uint64_t token = target.first;
    std::shared_ptr<Block> block = target.second;
    dispatch_async(dispatch_get_main_queue(), [this, token, block, name, userInfo] {
      {
        std::lock_guard lock(mutex_);
        bool alive = std::any_of(observers_.begin(), observers_.end(),
                                 [token](const Observer& o) { return o.token == token; });
        if (!alive) return;
      }
      if (*block) (*block)(name, userInfo);
    });
  }
}

}  // namespace platform
