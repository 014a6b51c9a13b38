#include "tools/tessra/DeviceLiveRun.h"

#include <cstdint>
#include <limits>
#include <ostream>
#include <thread>

#include "platform/bus/BusControlClient.h"
#include "tools/SpringBoard/core/ControlProtocol.h"
#include "tools/SpringBoard/core/TraceReply.h"

namespace tessra::cli {
namespace {

namespace control = device::control;
using device::ScriptVerb;

// Status when the device stopped answering.
constexpr int kDeviceLost = 3;

// One request to the device; prints its trace lines and keeps the cursor. False after a message.
bool request(const std::filesystem::path& root, const char* command, std::vector<std::string> args,
             uint64_t& cursor, std::ostream& out, std::ostream& err, int& status, std::string& message) {
  platform::ControlReply reply = platform::BusControlClient::call(root, command, args, DeviceLiveRun::kLineTimeout);
  if (!reply.answered()) {
    err << "tessra device run: " << reply.error << "\n";
    return false;
  }
  auto decoded = device::TraceReply::decode(reply.output);
  if (!decoded) {
    err << "tessra device run: the device answered something unexpected: " << reply.output << "\n";
    return false;
  }
  cursor = decoded->cursor;
  for (const auto& line : decoded->lines) out << line << "\n";
  out.flush();
  status = reply.status;
  message = decoded->message;
  return true;
}

}  // namespace

int DeviceLiveRun::run(const std::filesystem::path& root, const std::string& scriptName,
                       const std::vector<device::ScriptCommand>& commands, std::ostream& out, std::ostream& err) {
  uint64_t cursor = std::numeric_limits<uint64_t>::max();  // from now on: what happened before is not ours
  int status = 0;
  std::string message;
  if (!request(root, control::kTrace, {std::to_string(cursor)}, cursor, out, err, status, message))
    return kDeviceLost;

  for (const auto& command : commands) {
    if (command.isDeviceSetup()) continue;  // checked against the device before the run
    if (command.verb == ScriptVerb::Wait) {
      if (!request(root, control::kRun, {std::to_string(cursor), command.text}, cursor, out, err, status, message))
        return kDeviceLost;
      std::this_thread::sleep_for(platform::seconds(command.number));
      if (!request(root, control::kTrace, {std::to_string(cursor)}, cursor, out, err, status, message))
        return kDeviceLost;
      continue;
    }
    if (!request(root, control::kRun, {std::to_string(cursor), command.text}, cursor, out, err, status, message))
      return kDeviceLost;
    std::string where = scriptName + ":" + std::to_string(command.line) + ": ";
    if (status == control::kDone) {
      if (!message.empty()) out << message << (message.back() == '\n' ? "" : "\n");
    } else if (status == control::kExpectFailed) {
      err << where << "expect failed: " << message << "\n";
      return control::kExpectFailed;
    } else {
      err << where << message << "\n";
      return control::kRefused;
    }
  }
  return control::kDone;
}

}  // namespace tessra::cli
