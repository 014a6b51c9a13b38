#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/bus/BusNames.h"
#include "platform/foundation/Clock.h"

namespace platform {

// What a control request came to: the host's answer, or why there is none.
struct ControlReply {
  enum class Outcome {
    Answered,          // status and output are the host's
    DeviceNotRunning,  // no bus is recorded for the device, or it does not answer
    HostNotRunning,    // the bus runs but the host does not own its name
    NoAnswer,          // the host did not answer in time
    Failed,            // anything else (the request was refused by the bus, bad text)
  };
  Outcome outcome = Outcome::Failed;
  int status = 0;
  std::string output;
  // For every outcome but Answered: a sentence for the user.
  std::string error;

  bool answered() const { return outcome == Outcome::Answered; }
};

// The `tessra` command's side of the control channel: one synchronous
// request to a host of a running device, over a short-lived connection of
// its own (no threads). Stateless.
class BusControlClient {
 public:
  // Sends `command` with `args` to the host owning `busName` on the device at `root`; waits at most `timeout`.
  static ControlReply call(const std::filesystem::path& root, const std::string& command,
                           const std::vector<std::string>& args, Duration timeout = seconds(10),
                           const std::string& busName = bus::kSpringBoardBusName);
};

}  // namespace platform
