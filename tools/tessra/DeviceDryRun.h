#pragma once

#include <filesystem>
#include <iosfwd>
#include <vector>

#include "tools/SpringBoard/core/ScriptCommand.h"

namespace tessra::cli {

// A dry run: a fresh device in a temporary folder (the script's `version`,
// `kind` and `app` lines decide its system, kind and extra apps), on which the
// SpringBoard host runs the script in one process on its manual clock
// (SpringBoard --root TMP --script SCRIPT): instant and deterministic. The
// host's output is the run's output; the folder is removed afterwards.
class DeviceDryRun {
 public:
  // Runs `script` (already parsed into `commands`); the host's exit status.
  static int run(const std::filesystem::path& script, const std::vector<device::ScriptCommand>& commands,
                 std::ostream& out, std::ostream& err);
};

}  // namespace tessra::cli
