#include "tools/SpringBoard/host/ScriptRunner.h"

#include <ostream>

#include "tools/SpringBoard/core/ControlProtocol.h"
#include "tools/SpringBoard/host/DeviceTrace.h"
#include "tools/SpringBoard/host/ScriptInterpreter.h"

namespace tessra::device {

int ScriptRunner::run(const std::vector<ScriptCommand>& commands, const std::string& scriptName, std::ostream& out,
                      std::ostream& err) {
  uint64_t cursor = 0;
  auto flush = [&] {
    auto lines = trace_.since(cursor);
    cursor = lines.cursor;
    for (const auto& line : lines.lines) out << line << "\n";
    out.flush();
  };
  flush();
  for (const auto& command : commands) {
    trace_.note("> " + command.text);
    ScriptOutcome outcome = interpreter_.execute(command);
    if (settle_) settle_();
    flush();
    std::string where = scriptName + ":" + std::to_string(command.line) + ": ";
    switch (outcome.status) {
      case ScriptOutcome::Status::Done:
        if (!outcome.output.empty()) out << outcome.output << (outcome.output.back() == '\n' ? "" : "\n");
        break;
      case ScriptOutcome::Status::ExpectFailed:
        err << where << "expect failed: " << outcome.output << "\n";
        return control::kExpectFailed;
      case ScriptOutcome::Status::Refused: err << where << outcome.output << "\n"; return control::kRefused;
    }
  }
  out.flush();
  return control::kDone;
}

}  // namespace tessra::device
