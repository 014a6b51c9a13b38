#include "tools/tessra/DeviceLiveRun.h"

#include <cstdint>
#include <filesystem>
#include <limits>
#include <ostream>
#include <thread>

#include "platform/bus/BusControlClient.h"
#include "tools/SpringBoard/core/ControlProtocol.h"
#include "tools/SpringBoard/core/ScreenCommandParser.h"
#include "tools/SpringBoard/core/TraceReply.h"

namespace tessra::cli {
namespace {

namespace control = device::control;
using device::ScriptVerb;

// Status when the device stopped answering.
constexpr int kDeviceLost = 3;

// One request to the device; prints its trace lines and keeps the cursor. False after a message.
bool request(const std::filesystem::path& root, const char* command, std::vector<std::string> args, uint64_t& cursor,
             std::ostream& out, std::ostream& err, int& status, std::string& message) {
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
  if (!request(root, control::kBegin, {std::to_string(cursor)}, cursor, out, err, status, message)) return kDeviceLost;

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
    // The device writes a snapshot where the script's folder says, whatever its own working folder.
    std::string text = command.text;
    if (command.verb == ScriptVerb::Snapshot) {
      std::filesystem::path file = command.name;
      if (file.is_relative()) file = std::filesystem::absolute(std::filesystem::path(scriptName).parent_path() / file);
      text = device::ScreenCommandParser::snapshotLine(file.string(), command.number);
    }
    if (!request(root, control::kRun, {std::to_string(cursor), text}, cursor, out, err, status, message))
      return kDeviceLost;
    // A long press or a drag goes on in the device for its time: the next line waits for it.
    if ((command.verb == ScriptVerb::LongPress || command.verb == ScriptVerb::Drag ||
         command.verb == ScriptVerb::PressIcon || command.verb == ScriptVerb::Swipe) &&
        status == control::kDone) {
      double held = command.verb == ScriptVerb::PressIcon ? 1.0
                    : command.verb == ScriptVerb::Swipe   ? 0.3
                                                          : command.number;
      std::this_thread::sleep_for(platform::seconds(held + 0.1));
      int traceStatus = 0;
      std::string traceMessage;
      if (!request(root, control::kTrace, {std::to_string(cursor)}, cursor, out, err, traceStatus, traceMessage))
        return kDeviceLost;
    }
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
