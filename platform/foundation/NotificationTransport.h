#pragma once

#include <string>

#include "platform/foundation/PropertyList.h"

namespace platform {

// Carries Darwin and distributed notifications to the other processes of the
// device. The centres hand every local post to the transport; the transport
// hands what other processes posted back to the centres through
// DarwinNotificationCenter::deliverRemote and
// DistributedNotificationCenter::deliverRemote. Must never echo a process's
// own posts back to it. Implementations may be called from any thread.
class NotificationTransport {
 public:
  virtual ~NotificationTransport() = default;
  // Sends a Darwin notification (a name only) to the other processes.
  virtual void sendDarwin(const std::string& name) = 0;
  // Sends a distributed notification (a name and a user-info dictionary).
  virtual void sendDistributed(const std::string& name, const plist::Value& userInfo) = 0;
};

}  // namespace platform
