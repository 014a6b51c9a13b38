#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "platform/foundation/NotificationTransport.h"
#include "platform/foundation/ObserverList.h"
#include "platform/foundation/PropertyList.h"

namespace platform {

// The distributed notification centre: a name and a user-info dictionary,
// reaching every process of the device. Observers' blocks always run on the
// main queue, for local and remote posts alike.
class DistributedNotificationCenter {
 public:
  using Block = std::function<void(const std::string& name, const plist::Value& userInfo)>;

  // The process-wide centre.
  static DistributedNotificationCenter& shared();

  // Runs `block` on the main queue for every post of `name`; returns a token (never 0).
  uint64_t addObserver(std::string name, Block block);
  // Stops the observer, including deliveries already queued for it.
  void removeObserver(uint64_t token);
  // Posts to this process's observers (on the main queue) and to the other processes.
  void postNotification(const std::string& name, const plist::Value& userInfo = {});
  // Number of observers of `name` in this process.
  size_t observerCount(const std::string& name) const;

  // Connects the centre to the other processes (null disconnects).
  void setTransport(std::shared_ptr<NotificationTransport> transport);
  // Called by the transport: a post from another process.
  void deliverRemote(const std::string& name, const plist::Value& userInfo);

 private:
  void deliverLocal(const std::string& name, const plist::Value& userInfo);
  ObserverList<Block> observers_;
  std::mutex transportMutex_;
  std::shared_ptr<NotificationTransport> transport_;
};

}  // namespace platform
