#pragma once

#include <filesystem>
#include <functional>

#include "platform/foundation/Clock.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/UITouch.h"
#include "tools/SpringBoard/core/ScriptCommand.h"
#include "tools/SpringBoard/host/ScriptInterpreter.h"

namespace platform::springboard {
class DeviceScreen;
}

namespace tessra::device {

// Carries out the script lines that touch and look at the device's screen
// (see ScreenCommandParser), through the screen's one touch entry point, so
// that a script's finger goes where a person's would. Every check comes
// before the first touch: a point outside this device's screen, an icon or a
// text that cannot be seen, a snapshot into a folder that does not exist are
// refused and change nothing. A tap is a touch down and up at once; a long
// press and a drag take their time: a dry run lets that time pass on its
// clock (the waiter), a live device schedules the rest of the touch on its
// main loop and returns at once (the caller waits). Borrows the screen.
class ScreenCommands {
 public:
  using Waiter = ScriptInterpreter::Waiter;

  // `scriptFolder`: where a relative snapshot file goes (the working folder when empty).
  ScreenCommands(platform::springboard::DeviceScreen& screen, Waiter waiter, std::filesystem::path scriptFolder);

  // Whether `verb` is one of the screen's commands.
  static bool handles(ScriptVerb verb);
  ScriptOutcome execute(const ScriptCommand& command);
  // One finger at a screen point, through the screen's touch entry (for the panel's commands).
  bool touch(platform::UITouchPhase phase, platform::CGPoint point);

 private:
  struct Step {
    double delay = 0;  // seconds after the previous step
    platform::UITouchPhase phase = platform::UITouchPhase::Began;
    platform::CGPoint point;
  };
  // Runs the steps of one finger (see the class comment on time).
  void perform(const std::vector<Step>& steps);
  // The steps of a drag from `from` to `to` over `duration` seconds.
  static std::vector<Step> dragSteps(platform::CGPoint from, platform::CGPoint to, double duration);
  std::optional<std::string> outside(const std::string& verb, platform::CGPoint point) const;
  ScriptOutcome icon(const ScriptCommand& command, bool press);
  ScriptOutcome tapText(const ScriptCommand& command);
  ScriptOutcome swipe(const ScriptCommand& command);
  ScriptOutcome snapshot(const ScriptCommand& command);
  ScriptOutcome expectText(const ScriptCommand& command);
  ScriptOutcome expectMenu(const ScriptCommand& command);

  platform::springboard::DeviceScreen& screen_;
  Waiter waiter_;
  std::filesystem::path scriptFolder_;
};

}  // namespace tessra::device
