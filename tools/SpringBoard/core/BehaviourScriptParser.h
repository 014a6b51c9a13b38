#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/SpringBoard/core/ScriptCommand.h"

namespace tessra::device {

// Reads the script lines about what happens while an app runs: pulling down
// Control Center and Notification Center, Reachability, hardware buttons,
// Activator events, notification banners and system alerts, and the
// expectations on them and on toasts:
//
//   activator installed|absent        controlcenter    notificationcenter    reachability
//   button volumeup|volumedown|side down|up
//   buttons volumeup+volumedown down|up          (one event with every press)
//   activator EVENT
//   banner BUNDLE "TITLE"|nil "MESSAGE"|nil ["SUBTITLE"|nil]
//   systemalert CLASS "TITLE"|nil "MESSAGE"|nil
//   expect toast "TITLE"|nil "MESSAGE"|nil      expect toast none      expect toasts N
//   expect banner shown|hidden                   expect systemalert shown|hidden
//   expect controlcenter|notificationcenter|reachability opened|blocked
//   expect home pressed N
//
// The bare word nil stands for a missing text. Stateless.
class BehaviourScriptParser {
 public:
  // Nothing when `words` is not one of these lines; otherwise "" with `command` filled in, or
  // why the line is wrong.
  static std::optional<std::string> parse(const std::vector<std::string>& words, ScriptCommand& command);

  // The press type of a button name (volumeup 102, volumedown 103, side 104); nothing for another word.
  static std::optional<long> pressType(const std::string& name);
};

}  // namespace tessra::device
