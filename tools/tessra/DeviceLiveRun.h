#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/foundation/Clock.h"
#include "tools/SpringBoard/core/ScriptCommand.h"

namespace tessra::cli {

// A script run on a started device in real time: each line goes over the
// control channel to the running SpringBoard, which carries it out on its
// main loop with the same interpreter as a dry run and answers with the trace
// lines produced since the previous answer; `wait S` is a real wait followed
// by a fetch of the trace. Lines that only describe a dry run's new device
// (`version`, `kind`, `app`) are checked against the device instead.
class DeviceLiveRun {
 public:
  // How long one line may take on the device before the run gives up.
  static constexpr platform::Duration kLineTimeout = platform::seconds(15);

  // Runs `commands` of `scriptName` on the device at `root`; the script's status.
  static int run(const std::filesystem::path& root, const std::string& scriptName,
                 const std::vector<device::ScriptCommand>& commands, std::ostream& out, std::ostream& err);
};

}  // namespace tessra::cli
