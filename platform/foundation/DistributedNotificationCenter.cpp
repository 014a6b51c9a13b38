#include "platform/foundation/DistributedNotificationCenter.h"

#include "platform/foundation/Dispatch.h"

namespace platform {

DistributedNotificationCenter& DistributedNotificationCenter::shared() {
  static DistributedNotificationCenter* center = new DistributedNotificationCenter();
  return *center;
}

uint64_t DistributedNotificationCenter::addObserver(std::string name, Block block) {
  return observers_.add(std::move(name), nullptr, std::move(block));
}

void DistributedNotificationCenter::removeObserver(uint64_t token) { observers_.remove(token); }

size_t DistributedNotificationCenter::observerCount(const std::string& name) const { return observers_.count(name); }

void DistributedNotificationCenter::postNotification(const std::string& name, const plist::Value& userInfo) {
  std::shared_ptr<NotificationTransport> transport;
  {
    std::lock_guard lock(transportMutex_);
    transport = transport_;
  }
  deliverLocal(name, userInfo);
  if (transport) transport->sendDistributed(name, userInfo);
}

void DistributedNotificationCenter::setTransport(std::shared_ptr<NotificationTransport> transport) {
  std::lock_guard lock(transportMutex_);
  transport_ = std::move(transport);
}

void DistributedNotificationCenter::deliverRemote(const std::string& name, const plist::Value& userInfo) {
  deliverLocal(name, userInfo);
}

// Each observer's block is queued on the main queue; an observer removed
// before its turn comes is skipped.
void DistributedNotificationCenter::deliverLocal(const std::string& name, const plist::Value& userInfo) {
  for (auto& observer : observers_.matching(name)) {
    dispatch_async(dispatch_get_main_queue(), [this, observer, name, userInfo] {
      if (!observers_.contains(observer.token)) return;
      if (*observer.callback) (*observer.callback)(name, userInfo);
    });
  }
}

}  // namespace platform
