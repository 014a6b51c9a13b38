#include "platform/bus/DeviceBus.h"

#include <chrono>
#include <thread>

#include "platform/foundation/DarwinNotificationCenter.h"
#include "platform/foundation/DistributedNotificationCenter.h"

namespace platform {

DeviceBus::DeviceBus(const std::filesystem::path& root, ReconnectBackoff backoff)
    : connection_(root, backoff), transport_(std::make_shared<BusNotificationTransport>(connection_)) {
  DarwinNotificationCenter::shared().setTransport(transport_);
  DistributedNotificationCenter::shared().setTransport(transport_);
  connection_.start();
}

DeviceBus::~DeviceBus() {
  DarwinNotificationCenter::shared().setTransport(nullptr);
  DistributedNotificationCenter::shared().setTransport(nullptr);
  control_.reset();
  // A post racing with the lines above holds the transport until it returns (a queue push): the
  // transport must be gone before the connection it refers to.
  for (auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
       transport_.use_count() > 1 && std::chrono::steady_clock::now() < deadline;)
    std::this_thread::yield();
  transport_.reset();
  connection_.stop();
}

void DeviceBus::serveControl(std::string busName, BusControlServer::Handler handler) {
  control_.reset();
  control_ = std::make_unique<BusControlServer>(connection_, std::move(busName), std::move(handler));
}

}  // namespace platform
