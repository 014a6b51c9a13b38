#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "platform/foundation/NotificationTransport.h"
#include "platform/foundation/ObserverList.h"

namespace platform {

// The Darwin notify centre: notifications that are only a name and reach every
// process of the device. A post reaches this process's observers at once, on
// the posting thread, and goes to the other processes through the transport;
// a post from another process is delivered on the main queue.
class DarwinNotificationCenter {
 public:
  using Callback = std::function<void(const std::string& name)>;

  // The process-wide centre.
  static DarwinNotificationCenter& shared();

  // Calls `callback` for every post of `name`; returns a token for removal (never 0).
  uint64_t addObserver(std::string name, Callback callback);
  // Stops the observer; unknown tokens are ignored.
  void removeObserver(uint64_t token);
  // Posts `name` to this process's observers now and to the other processes.
  void postNotification(const std::string& name);
  // Number of observers of `name` in this process.
  size_t observerCount(const std::string& name) const;

  // Connects the centre to the other processes (null disconnects).
  void setTransport(std::shared_ptr<NotificationTransport> transport);
  // Called by the transport: a post from another process, delivered on the main queue.
  void deliverRemote(const std::string& name);

 private:
  void deliverLocal(const std::string& name);
  ObserverList<Callback> observers_;
  std::mutex transportMutex_;
  std::shared_ptr<NotificationTransport> transport_;
};

}  // namespace platform
