#pragma once

namespace sdbus {
class IConnection;
}

namespace platform {

// Something a process keeps on the device bus: matches, exported objects, a
// bus name. A BusConnection calls attach() with every new connection and
// detach() when that connection is lost or closed, both on its bus thread, so
// a client's bus state lives and dies with one connection and is set up
// again after a reconnect. The client must outlive its registration
// (BusConnection::removeClient).
class BusClient {
 public:
  virtual ~BusClient() = default;
  // Sets the client up on a fresh connection; may throw (the client is then detached and tried again on the next one).
  virtual void attach(sdbus::IConnection& connection) = 0;
  // Drops everything attach() made; the connection is still open. Must not throw.
  virtual void detach() = 0;
};

}  // namespace platform
