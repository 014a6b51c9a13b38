#pragma once

#include <map>
#include <memory>
#include <string>

#include "tools/SpringBoard/core/ScriptCommand.h"
#include "tools/SpringBoard/host/ToastWatcher.h"

namespace platform::springboard {
class DeviceModel;
}

namespace tessra::device {

struct ScriptOutcome;

// Carries out the script commands about what happens while an app runs:
// pulling down Control Center and Notification Center, Reachability,
// hardware buttons, Activator events, banners and system alerts (each goes
// through the home screen's hookable methods, so the plug-in's behaviours
// decide), and the expectations on them, on the plug-in's toasts and on the
// home button presses simulated since the commands began. Borrows the
// device model; main thread only.
class BehaviourCommands {
 public:
  explicit BehaviourCommands(platform::springboard::DeviceModel& model);
  ~BehaviourCommands();

  // Runs one of the commands above.
  ScriptOutcome execute(const ScriptCommand& command);
  // A new script starts: home presses count from now, and no pull-down has been attempted yet.
  void beginScript();

 private:
  ScriptOutcome pullDown(const ScriptCommand& command);
  ScriptOutcome expectToast(const ScriptCommand& command);
  ScriptOutcome expectOverlay(const ScriptCommand& command);

  platform::springboard::DeviceModel& model_;
  ToastWatcher toasts_;
  size_t homePressesBefore_ = 0;
  // "controlcenter", "notificationcenter", "reachability": whether the last attempt opened it.
  std::map<std::string, bool> lastAttempt_;
};

}  // namespace tessra::device
