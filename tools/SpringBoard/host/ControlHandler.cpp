#include "tools/SpringBoard/host/ControlHandler.h"

#include <unistd.h>

#include <charconv>
#include <optional>

#include "tools/SpringBoard/core/ControlProtocol.h"
#include "tools/SpringBoard/core/ScriptParser.h"
#include "tools/SpringBoard/core/TraceReply.h"
#include "tools/SpringBoard/host/DeviceTrace.h"
#include "tools/SpringBoard/host/ScriptInterpreter.h"

namespace tessra::device {
namespace {

// Status of a request that was not understood at all (a usage error).
constexpr int kBadRequest = 64;

std::optional<uint64_t> parseCursor(const std::string& text) {
  uint64_t value = 0;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

int statusOf(ScriptOutcome::Status status) {
  switch (status) {
    case ScriptOutcome::Status::Done: return control::kDone;
    case ScriptOutcome::Status::ExpectFailed: return control::kExpectFailed;
    case ScriptOutcome::Status::Refused: return control::kRefused;
  }
  return control::kRefused;
}

}  // namespace

ControlHandler::ControlHandler(ScriptParser& parser, ScriptInterpreter& interpreter, DeviceTrace& trace,
                               std::function<std::string()> renderState, std::function<void()> quit)
    : parser_(parser),
      interpreter_(interpreter),
      trace_(trace),
      renderState_(std::move(renderState)),
      quit_(std::move(quit)) {}

ControlHandler::Result ControlHandler::handle(const std::string& command, const std::vector<std::string>& args) {
  if (command == control::kRun) return run(args);
  if (command == control::kTrace) return trace(args);
  if (command == control::kBegin) {
    Result answer = trace(args);
    if (answer.first == 0) interpreter_.beginScript();
    return answer;
  }
  if (command == control::kState && args.empty()) return {0, renderState_()};
  if (command == control::kPing && args.empty()) return {0, "SpringBoard " + std::to_string(getpid())};
  if (command == control::kQuit && args.empty()) {
    quit_();
    return {0, "quitting"};
  }
  return {kBadRequest, "unknown request '" + command + "'"};
}

ControlHandler::Result ControlHandler::run(const std::vector<std::string>& args) {
  std::optional<uint64_t> cursor = args.size() == 2 ? parseCursor(args[0]) : std::nullopt;
  if (!cursor) return {kBadRequest, "run: expected a cursor and one script line"};
  ScriptParser::LineResult parsed = parser_.parseLine(args[1], 1);
  TraceReply reply;
  int status = control::kDone;
  if (!parsed.error.empty()) {
    status = control::kRefused;
    reply.message = parsed.error;
  } else if (parsed.command && parsed.command->verb == ScriptVerb::Wait) {
    // The client waits in real time; the line only marks in the trace where the wait began.
    trace_.note("> " + parsed.command->text);
  } else if (parsed.command) {
    trace_.note("> " + parsed.command->text);
    ScriptOutcome outcome = interpreter_.execute(*parsed.command);
    status = statusOf(outcome.status);
    reply.message = outcome.output;
  }
  auto lines = trace_.since(*cursor);
  reply.cursor = lines.cursor;
  reply.lines = std::move(lines.lines);
  return {status, reply.encode()};
}

ControlHandler::Result ControlHandler::trace(const std::vector<std::string>& args) {
  std::optional<uint64_t> cursor = args.size() == 1 ? parseCursor(args[0]) : std::nullopt;
  if (!cursor) return {kBadRequest, "trace: expected a cursor"};
  auto lines = trace_.since(*cursor);
  TraceReply reply;
  reply.cursor = lines.cursor;
  reply.lines = std::move(lines.lines);
  return {0, reply.encode()};
}

}  // namespace tessra::device
