// `tessra device state DIR` and `tessra device log DIR`: what a device is doing.
#include <ostream>

#include "platform/bus/BusControlClient.h"
#include "platform/foundation/PropertyListFile.h"
#include "tools/SpringBoard/core/ControlProtocol.h"
#include "tools/SpringBoard/core/HostFiles.h"
#include "tools/tessra/Command.h"
#include "tools/tessra/DeviceArguments.h"

namespace tessra::cli {
namespace {

int runState(const Invocation& invocation) {
  auto root = deviceFolderArgument(invocation, "device state");
  if (!root) return 2;
  platform::ControlReply reply = platform::BusControlClient::call(*root, device::control::kState, {});
  if (!reply.answered()) {
    *invocation.err << "tessra device state: " << reply.error << "\n";
    return 1;
  }
  *invocation.out << reply.output;
  return reply.status;
}

int runLog(const Invocation& invocation) {
  auto root = deviceFolderArgument(invocation, "device log");
  if (!root) return 2;
  auto file = device::HostFiles::debugLogFile(*root);
  auto bytes = platform::plist::PropertyListFile::readBytes(file, size_t{256} << 20);
  if (bytes.status == platform::plist::ReadStatus::Missing) {
    *invocation.err << "tessra device log: no debug line has been written yet (" << file.string() << ")\n";
    return 0;
  }
  if (!bytes.ok()) {
    *invocation.err << "tessra device log: " << file.string() << ": " << bytes.message << "\n";
    return 1;
  }
  *invocation.out << bytes.bytes;
  return 0;
}

const CommandRegistration state{{"device state", "DIR: the running device's state", runState}};
const CommandRegistration log{{"device log", "DIR: the plug-in's debug log", runLog}};

}  // namespace
}  // namespace tessra::cli
