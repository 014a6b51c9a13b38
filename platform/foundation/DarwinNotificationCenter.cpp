#include "platform/foundation/DarwinNotificationCenter.h"

#include "platform/foundation/Dispatch.h"

namespace platform {

DarwinNotificationCenter& DarwinNotificationCenter::shared() {
  static DarwinNotificationCenter* center = new DarwinNotificationCenter();
  return *center;
}

uint64_t DarwinNotificationCenter::addObserver(std::string name, Callback callback) {
  return observers_.add(std::move(name), nullptr, std::move(callback));
}

void DarwinNotificationCenter::removeObserver(uint64_t token) { observers_.remove(token); }

size_t DarwinNotificationCenter::observerCount(const std::string& name) const { return observers_.count(name); }

void DarwinNotificationCenter::postNotification(const std::string& name) {
  std::shared_ptr<NotificationTransport> transport;
  {
    std::lock_guard lock(transportMutex_);
    transport = transport_;
  }
  deliverLocal(name);
  if (transport) transport->sendDarwin(name);
}

void DarwinNotificationCenter::setTransport(std::shared_ptr<NotificationTransport> transport) {
  std::lock_guard lock(transportMutex_);
  transport_ = std::move(transport);
}

void DarwinNotificationCenter::deliverRemote(const std::string& name) {
  dispatch_async(dispatch_get_main_queue(), [this, name] { deliverLocal(name); });
}

void DarwinNotificationCenter::deliverLocal(const std::string& name) {
  for (const auto& observer : observers_.matching(name))
    if (*observer.callback) (*observer.callback)(name);
}

}  // namespace platform
