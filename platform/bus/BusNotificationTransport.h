#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "platform/bus/BusClient.h"
#include "platform/foundation/NotificationTransport.h"

namespace platform {

class BusConnection;

// Carries the process's Darwin and distributed notifications over the device
// bus as broadcast signals (org.tessra.Darwin.Post(name) and
// org.tessra.Distributed.Post(name, user info as XML property-list text)),
// and hands what other processes post to a sink: by default the process's
// DarwinNotificationCenter and DistributedNotificationCenter. A signal whose
// sender is this process's own connection is ignored, so a post never comes
// back to its poster. Incoming signals are untrusted: a bad name or payload is
// logged and dropped. A post made while the bus is away is dropped with a log
// line (receivers re-read their state when they reconnect). Any thread may
// send. Registers itself with `bus`, which must outlive it.
class BusNotificationTransport final : public NotificationTransport, public BusClient {
 public:
  // Where notifications from other processes go (called on the bus thread).
  struct Sink {
    std::function<void(const std::string& name)> darwin;
    std::function<void(const std::string& name, const plist::Value& userInfo)> distributed;
  };
  // The process's shared Darwin and distributed centres.
  static Sink sharedCenters();

  explicit BusNotificationTransport(BusConnection& bus, Sink sink = sharedCenters());
  ~BusNotificationTransport() override;
  BusNotificationTransport(const BusNotificationTransport&) = delete;
  BusNotificationTransport& operator=(const BusNotificationTransport&) = delete;

  void sendDarwin(const std::string& name) override;
  void sendDistributed(const std::string& name, const plist::Value& userInfo) override;

  void attach(sdbus::IConnection& connection) override;
  void detach() override;

  // How many posts of this process could not be sent (no bus, or refused as bad).
  uint64_t droppedCount() const { return dropped_.load(); }
  // How many incoming signals were refused as malformed.
  uint64_t rejectedCount() const { return rejected_.load(); }

 private:
  // What lives on the current connection (bus thread only).
  struct Live;
  void send(const char* interface, const std::string& name, const std::string* payload);
  void drop(const std::string& name, const std::string& why);
  void reject(const std::string& why);

  BusConnection& bus_;
  Sink sink_;
  std::unique_ptr<Live> live_;
  bool offline_ = false;  // bus thread only: a drop for want of a bus was logged in this outage
  std::atomic<uint64_t> dropped_{0};
  std::atomic<uint64_t> rejected_{0};
};

}  // namespace platform
