#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/bus/BusClient.h"
#include "platform/bus/ReconnectBackoff.h"

namespace platform {

// A process's connection to the device bus, kept alive by a thread of its
// own. The thread connects to the address recorded in the device root,
// attaches every registered BusClient, and then serves the connection
// (sd-bus polling, dispatching signals and method calls). When the bus
// daemon goes away the thread survives it: every error is caught at the
// loop's boundary, clients are detached, and it tries again after a
// ReconnectBackoff wait until the daemon is back; then the clients are
// attached again and the reconnected callbacks run on the main queue (a
// notification may have been missed meanwhile, so listeners re-read what
// they hold). The connection object, matches and exported objects are only
// touched on the bus thread; other threads hand work over with post().
// Owned by the host; it must outlive its clients and must not be destroyed
// on its own bus thread.
class BusConnection {
 public:
  enum class State { Disconnected, Connected };
  // Work for the bus thread; the connection is null while the process is not connected.
  using Work = std::function<void(sdbus::IConnection* connection)>;
  // Finds the address to connect to; asked again before every attempt.
  using AddressSource = std::function<std::optional<std::string>()>;

  // A connection to the bus of the device at `deviceRoot` (its recorded address).
  explicit BusConnection(const std::filesystem::path& deviceRoot, ReconnectBackoff backoff = {});
  // A connection to whatever address `source` gives.
  explicit BusConnection(AddressSource source, ReconnectBackoff backoff = {});
  ~BusConnection();
  BusConnection(const BusConnection&) = delete;
  BusConnection& operator=(const BusConnection&) = delete;

  // Starts the bus thread, which connects in the background; a second call does nothing.
  void start();
  // Detaches every client, closes the connection and joins the thread; queued work runs with no connection.
  // Called from a bus callback it only asks the loop to end.
  void stop();

  // Registers `client`; it is attached at once when connected. Returns after that attach.
  void addClient(BusClient& client);
  // Unregisters `client`, detaching it first; returns once the bus thread no longer uses it.
  void removeClient(BusClient& client);
  // Runs `work` on the bus thread (inline, with no connection, when the thread is not running).
  void post(Work work);
  // Whether the calling thread is the bus thread.
  bool onBusThread() const;

  // Runs `callback` on the main queue each time a connection is made after a
  // time without one (the daemon was lost, or was not there at start).
  void onReconnected(std::function<void()> callback);

  // The state right now.
  State state() const;
  // Blocks until the state is `state` or `timeout` passes; returns whether it was reached.
  bool waitFor(State state, Duration timeout) const;
  // The process's unique bus name on the current connection ("" when disconnected).
  std::string uniqueName() const;
  // How many connections have been made since start (1 after the first).
  uint64_t connectionCount() const;

 private:
  void threadMain();
  bool connect();
  void disconnect();
  bool serve();
  void runWork();
  void waitForEvents(std::optional<TimePoint> retryAt);
  void wake();
  void setState(State state, std::string uniqueName);

  AddressSource address_;
  ReconnectBackoff backoff_;
  int wakeFd_ = -1;

  // Bus thread only.
  std::unique_ptr<sdbus::IConnection> connection_;
  std::vector<BusClient*> attached_;
  bool everLost_ = false;
  bool loggedFailure_ = false;

  mutable std::mutex mutex_;
  mutable std::condition_variable stateChanged_;
  std::deque<Work> work_;
  std::vector<BusClient*> clients_;
  std::vector<std::function<void()>> reconnected_;
  State state_ = State::Disconnected;
  std::string uniqueName_;
  uint64_t connections_ = 0;
  std::thread thread_;
  std::thread::id threadId_;
  bool running_ = false;  // the loop takes work (from start() until its last work has run)
  std::atomic<bool> stopping_{false};
};

}  // namespace platform
