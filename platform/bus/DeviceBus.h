#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "platform/bus/BusConnection.h"
#include "platform/bus/BusControlServer.h"
#include "platform/bus/BusNotificationTransport.h"

namespace platform {

// A host process's whole presence on its device's bus: the connection, the
// notification transport installed into the process's Darwin and
// distributed centres, and, for the home-screen host, the control channel.
// Constructing it starts connecting in the background (the host runs on
// whether the bus is there or not); destroying it takes the centres off the
// bus first, then the control channel, then closes the connection. Owned by
// the host's main function; create and destroy it on the main thread.
class DeviceBus {
 public:
  // Joins the bus of the device at `root`.
  explicit DeviceBus(const std::filesystem::path& root, ReconnectBackoff backoff = {});
  ~DeviceBus();
  DeviceBus(const DeviceBus&) = delete;
  DeviceBus& operator=(const DeviceBus&) = delete;

  // Offers the control channel under `busName` (the home screen: bus::kSpringBoardBusName); the handler
  // runs on the main queue.
  void serveControl(std::string busName, BusControlServer::Handler handler);
  // Runs `callback` on the main queue after every reconnection (re-read preference domains there).
  void onReconnected(std::function<void()> callback) { connection_.onReconnected(std::move(callback)); }

  BusConnection& connection() { return connection_; }
  BusNotificationTransport& transport() { return *transport_; }

 private:
  BusConnection connection_;
  std::shared_ptr<BusNotificationTransport> transport_;
  std::unique_ptr<BusControlServer> control_;
};

}  // namespace platform
