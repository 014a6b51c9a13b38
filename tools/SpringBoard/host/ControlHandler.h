#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tessra::device {

class AlertScreen;
class DeviceTrace;
class ScriptInterpreter;
class ScriptParser;
class ScriptVocabulary;

// Answers the `tessra` command's requests to the running home screen (see
// ControlProtocol.h): marks the start of a script, runs a script line with
// the same parser and interpreter as a dry run, hands out trace lines by cursor, renders the
// device state, answers pings and asks the host to quit. Called on the
// host's main thread by the control channel; borrows everything it is given.
class ControlHandler {
 public:
  using Result = std::pair<int, std::string>;

  ControlHandler(ScriptParser& parser, ScriptInterpreter& interpreter, DeviceTrace& trace,
                 std::function<std::string()> renderState, std::function<void()> quit);

  // Handles one request; the status and the text of the answer.
  Result handle(const std::string& command, const std::vector<std::string>& args);

 private:
  Result run(const std::vector<std::string>& args);
  Result trace(const std::vector<std::string>& args);

  ScriptParser& parser_;
  ScriptInterpreter& interpreter_;
  DeviceTrace& trace_;
  std::function<std::string()> renderState_;
  std::function<void()> quit_;
};

}  // namespace tessra::device
