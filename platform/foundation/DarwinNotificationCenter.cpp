#include "platform/foundation/DarwinNotificationCenter.h"

#include <algorithm>

#include "platform/foundation/Dispatch.h"

namespace platform {

DarwinNotificationCenter& DarwinNotificationCenter::shared() {
  static DarwinNotificationCenter* center = new DarwinNotificationCenter();
  return *center;
}

uint64_t DarwinNotificationCenter::addObserver(std::string name, Callback callback) {
  std::lock_guard lock(mutex_);
  uint64_t token = nextToken_++;
  observers_.push_back({token, std::move(name), std::make_shared<Callback>(std::move(callback))});
  return token;
}

void DarwinNotificationCenter::removeObserver(uint64_t token) {
  std::lock_guard lock(mutex_);
  std::erase_if(observers_, [token](const Observer& o) { return o.token == token; });
}

size_t DarwinNotificationCenter::observerCount(const std::string& name) const {
  std::lock_guard lock(mutex_);
  return static_cast<size_t>(
      std::count_if(observers_.begin(), observers_.end(), [&](const Observer& o) { return o.name == name; }));
}

void DarwinNotificationCenter::postNotification(const std::string& name) {
  std::shared_ptr<NotificationTransport> transport;
  {
    std::lock_guard lock(mutex_);
    transport = transport_;
  }
  deliverLocal(name);
  if (transport) transport->sendDarwin(name);
}

void DarwinNotificationCenter::setTransport(std::shared_ptr<NotificationTransport> transport) {
  std::lock_guard lock(mutex_);
  transport_ = std::move(transport);
}

void DarwinNotificationCenter::deliverRemote(const std::string& name) {
  dispatch_async(dispatch_get_main_queue(), [this, name] { deliverLocal(name); });
}

void DarwinNotificationCenter::deliverLocal(const std::string& name) {
  // Observers may add or remove observers while being called: call a copy.
  std::vector<std::shared_ptr<Callback>> callbacks;
  {
    std::lock_guard lock(mutex_);
    for (const auto& o : observers_)
      if (o.name == name) callbacks.push_back(o.callback);
  }
  for (const auto& callback : callbacks)
    if (*callback) (*callback)(name);
}

}  // namespace platform
