#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "tools/SpringBoard/core/ScriptCommand.h"

namespace tessra::device {

class DeviceTrace;
class ScriptInterpreter;

// Carries out a whole parsed script in one process (the dry run): each
// command is noted in the trace ("> open com.apple.Maps"), executed, the work
// it made due is run (`settle`), and the trace lines it produced are printed.
// Stops at the first failed expectation (status 1) or refused command
// (status 2) with "SCRIPT:LINE: message" on the error stream.
class ScriptRunner {
 public:
  ScriptRunner(ScriptInterpreter& interpreter, DeviceTrace& trace, std::function<void()> settle)
      : interpreter_(interpreter), trace_(trace), settle_(std::move(settle)) {}

  // Runs `commands` of the script named `scriptName`; the script's status (ControlProtocol.h).
  int run(const std::vector<ScriptCommand>& commands, const std::string& scriptName, std::ostream& out,
          std::ostream& err);

 private:
  ScriptInterpreter& interpreter_;
  DeviceTrace& trace_;
  std::function<void()> settle_;
};

}  // namespace tessra::device
