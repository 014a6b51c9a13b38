// `tessra device start DIR`, `stop DIR` and `restart DIR`: the device's processes.
#include "tools/tessra/Command.h"
#include "tools/tessra/DeviceArguments.h"
#include "tools/tessra/DeviceLauncher.h"

namespace tessra::cli {
namespace {

int runStart(const Invocation& invocation) {
  auto root = deviceFolderArgument(invocation, "device start");
  if (!root) return 2;
  return DeviceLauncher::start(*root, *invocation.out, *invocation.err) ? 0 : 1;
}

int runStop(const Invocation& invocation) {
  auto root = deviceFolderArgument(invocation, "device stop");
  if (!root) return 2;
  return DeviceLauncher::stop(*root, *invocation.out, *invocation.err) ? 0 : 1;
}

int runRestart(const Invocation& invocation) {
  auto root = deviceFolderArgument(invocation, "device restart");
  if (!root) return 2;
  return DeviceLauncher::restartSpringBoard(*root, *invocation.out, *invocation.err) ? 0 : 1;
}

const CommandRegistration start{
    {"device start", "DIR: starts the device's bus and its SpringBoard (the plug-in loads)", runStart}};
const CommandRegistration stop{{"device stop", "DIR: stops the device's SpringBoard and its bus", runStop}};
const CommandRegistration restart{
    {"device restart", "DIR: restarts the device's SpringBoard (what the device's killall does)", runRestart}};

}  // namespace
}  // namespace tessra::cli
