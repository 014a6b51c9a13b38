// `tessra device run SCRIPT [--root DIR]`: a scenario script, as a dry run on a
// fresh device, or live on a started one.
#include <fcntl.h>
#include <sys/file.h>

#include <algorithm>
#include <ostream>
#include <set>

#include "platform/foundation/BeneathRoot.h"
#include "platform/foundation/PropertyListFile.h"
#include "tools/SpringBoard/core/DeviceFiles.h"
#include "tools/SpringBoard/core/ScriptParser.h"
#include "tools/SpringBoard/core/TweakVocabulary.h"
#include "tools/tessra/Command.h"
#include "tools/tessra/DeviceArguments.h"
#include "tools/tessra/DeviceDryRun.h"
#include "tools/tessra/DeviceLiveRun.h"

namespace tessra::cli {
namespace {

using device::ScriptError;
using device::ScriptVerb;

constexpr size_t kMaxScriptBytes = 1 << 20;
constexpr int kNotUnderstood = 2;

// Lines that choose a dry run's new device must match a live device.
std::vector<ScriptError> checkAgainstDevice(const std::vector<device::ScriptCommand>& commands,
                                            const device::DeviceFiles::Loaded& device) {
  std::vector<ScriptError> errors;
  bool tablet = device.kind == platform::springboard::DeviceKind::Tablet;
  for (const auto& command : commands) {
    if (command.verb == ScriptVerb::Version && command.name != device.systemVersion)
      errors.push_back({command.line, "version: the device runs " + device.systemVersion +
                                          "; a version line only chooses the system of a dry run"});
    if (command.verb == ScriptVerb::ActivatorSetup && command.on != device.activator)
      errors.push_back({command.line, std::string("activator: Activator is ") +
                                          (device.activator ? "installed" : "absent") +
                                          " on the device; an activator line only chooses it for a dry run"});
    if (command.verb == ScriptVerb::Kind && command.on != tablet)
      errors.push_back({command.line, std::string("kind: the device is a ") + (tablet ? "tablet" : "phone") +
                                          "; a kind line only chooses the kind of a dry run"});
    if (command.verb == ScriptVerb::App) {
      bool installed = false;
      for (const auto& app : device.installedApps) installed = installed || app.bundleIdentifier == command.name;
      if (!installed)
        errors.push_back({command.line, "app: " + command.name +
                                            " is not installed on the device; apps are "
                                            "installed when a device is created"});
    }
  }
  return errors;
}

int runScript(const Invocation& invocation) {
  if (invocation.args.size() != 1) {
    *invocation.err << "tessra device run: expected one script file\n";
    return kNotUnderstood;
  }
  const std::string& script = invocation.args[0];
  auto bytes = platform::plist::PropertyListFile::readBytes(script, kMaxScriptBytes);
  if (!bytes.ok()) {
    *invocation.err << "tessra device run: cannot read " << script << ": " << bytes.message << "\n";
    return kNotUnderstood;
  }
  device::ScriptVocabulary vocabulary = device::tweakVocabulary();
  device::ScriptParser parser(vocabulary);
  device::ScriptParser::Result parsed = parser.parse(bytes.bytes);

  std::optional<std::filesystem::path> root;
  if (!invocation.root.empty()) {
    Invocation rootOnly = invocation;
    rootOnly.args.clear();
    root = deviceFolderArgument(rootOnly, "device run");
    if (!root) return kNotUnderstood;
    device::DeviceFiles::Loaded device = device::DeviceFiles::load(*root);
    if (!device.ok) {
      *invocation.err << "tessra device run: not a device: " << device.error << "\n";
      return kNotUnderstood;
    }
    std::set<std::string, std::less<>> installed;
    for (const auto& app : device.installedApps) installed.insert(app.bundleIdentifier);
    for (auto& error : checkAgainstDevice(parsed.commands, device)) parsed.errors.push_back(std::move(error));
    for (auto& error : device::ScriptParser::checkInstalledApps(parsed.commands, installed))
      parsed.errors.push_back(std::move(error));
  }
  if (!parsed.ok()) {
    std::stable_sort(parsed.errors.begin(), parsed.errors.end(),
                     [](const ScriptError& a, const ScriptError& b) { return a.line < b.line; });
    for (const auto& error : parsed.errors)
      *invocation.err << script << ":" << error.line << ": " << error.message << "\n";
    *invocation.err << "tessra device run: nothing was run\n";
    return kNotUnderstood;
  }
  if (root) {
    // One script at a time per device: two would interleave their steps and their traces.
    const std::filesystem::path lockFile = *root / "var/run/tessra-run.lock";
    platform::BeneathRoot::File lock;
    if (platform::BeneathRoot::createFolders(*root, lockFile.parent_path()))
      lock = platform::BeneathRoot::open(*root, lockFile, O_RDWR | O_CREAT);
    if (!lock.ok()) {
      *invocation.err << "tessra device run: cannot open the device's run lock " << lock.error()
                      << "; nothing was run\n";
      return kNotUnderstood;
    }
    if (::flock(lock.fd(), LOCK_EX | LOCK_NB) != 0) {
      *invocation.err << "tessra device run: another script is running on this device (" << lockFile.string()
                      << " is held); nothing was run, try again when it has finished\n";
      return kNotUnderstood;
    }
    return DeviceLiveRun::run(*root, script, parsed.commands, *invocation.out, *invocation.err);
  }
  return DeviceDryRun::run(script, parsed.commands, *invocation.out, *invocation.err);
}

const CommandRegistration registration{
    {"device run",
     "SCRIPT [--root DIR]: runs a scenario script: a dry run on a fresh device, or live on the started device DIR",
     runScript}};

}  // namespace
}  // namespace tessra::cli
