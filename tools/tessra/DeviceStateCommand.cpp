// `tessra device state DIR` and `tessra device log DIR`: what a device is doing.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <ostream>
#include <string>

#include "platform/bus/BusControlClient.h"
#include "platform/bus/BusDaemon.h"
#include "platform/foundation/BeneathRoot.h"
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
    // Without an answer, say which of the device's processes run: a SpringBoard whose bus died still runs.
    using Outcome = platform::ControlReply::Outcome;
    const auto host = device::HostFiles::runningPid(*root);
    const auto bus = platform::BusDaemon::runningPid(*root);
    std::ostream& err = *invocation.err;
    if (reply.outcome == Outcome::DeviceNotRunning && host) {
      err << "tessra device state: SpringBoard runs (pid " << *host << ") but the device bus "
          << (bus ? "(pid " + std::to_string(*bus) + ") does not answer" : std::string("is not running"))
          << ", so its state cannot be read; `tessra device start " << root->string()
          << "` starts the bus again and SpringBoard reconnects to it\n";
    } else if (reply.outcome == Outcome::HostNotRunning && bus) {
      err << "tessra device state: the device bus runs (pid " << *bus
          << ") but SpringBoard does not; `tessra device start " << root->string() << "` starts it\n";
    } else {
      err << "tessra device state: " << reply.error << "\n";
    }
    return 1;
  }
  *invocation.out << reply.output;
  return reply.status;
}

int runLog(const Invocation& invocation) {
  auto root = deviceFolderArgument(invocation, "device log");
  if (!root) return 2;
  auto file = device::HostFiles::debugLogFile(*root);
  // Beneath the device root and never through a link; streamed, since a log may be large.
  platform::BeneathRoot::File log = platform::BeneathRoot::open(*root, file, O_RDONLY | O_NONBLOCK | O_NOCTTY);
  if (!log.ok() && log.errorNumber() == ENOENT) {
    *invocation.err << "tessra device log: no debug line has been written yet (" << file.string() << ")\n";
    return 0;
  }
  if (!log.ok()) {
    *invocation.err << "tessra device log: cannot read " << log.error() << "\n";
    return 1;
  }
  struct stat st {};
  if (fstat(log.fd(), &st) != 0 || !S_ISREG(st.st_mode)) {
    *invocation.err << "tessra device log: " << file.string() << " is not a regular file\n";
    return 1;
  }
  std::array<char, 64 * 1024> buffer;
  for (;;) {
    ssize_t got = read(log.fd(), buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      *invocation.err << "tessra device log: cannot read " << file.string() << ": " << std::strerror(errno) << "\n";
      return 1;
    }
    if (got == 0) break;
    invocation.out->write(buffer.data(), got);
  }
  return 0;
}

const CommandRegistration state{{"device state", "DIR: the running device's state", runState}};
const CommandRegistration log{{"device log", "DIR: the plug-in's debug log", runLog}};

}  // namespace
}  // namespace tessra::cli
