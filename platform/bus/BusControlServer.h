#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/bus/BusClient.h"

namespace platform {

class BusConnection;

// The control channel a host offers the `tessra` command: it owns a bus name
// (the home-screen host: org.tessra.SpringBoard) and exports
// org.tessra.Control.Run(command, args) -> (status, output) at
// /org/tessra/Control. Every request is handed to the host's handler on the
// host's main queue (everything the home screen does runs on its main
// thread) and the answer goes back from the bus thread, which never waits for
// the main thread. A handler that throws answers status 70 with the reason.
// Requests still unanswered when the connection is lost are dropped (the
// caller's call fails with no answer). Registers itself with `bus`, which
// must outlive it.
class BusControlServer final : public BusClient {
 public:
  using Result = std::pair<int, std::string>;
  using Handler = std::function<Result(const std::string& command, const std::vector<std::string>& args)>;

  // Largest request accepted: arguments and their total bytes.
  static constexpr size_t kMaxArgs = 256;
  static constexpr size_t kMaxRequestBytes = 256 * 1024;
  // Longer output is cut to this many bytes, ending with a note.
  static constexpr size_t kMaxOutputBytes = 8 * 1024 * 1024;

  BusControlServer(BusConnection& bus, std::string busName, Handler handler);
  ~BusControlServer() override;
  BusControlServer(const BusControlServer&) = delete;
  BusControlServer& operator=(const BusControlServer&) = delete;

  void attach(sdbus::IConnection& connection) override;
  void detach() override;

 private:
  struct Core;
  struct Live;
  BusConnection& bus_;
  std::shared_ptr<Core> core_;
  std::unique_ptr<Live> live_;  // bus thread only
};

}  // namespace platform
