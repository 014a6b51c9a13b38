#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/foundation/Clock.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/UITouch.h"
#include "tools/SpringBoard/core/ScriptCommand.h"
#include "tools/SpringBoard/host/ScriptInterpreter.h"

namespace platform {
class UIView;
}

namespace tessra::device {

// Carries out the script commands that work the customization panel, as a
// finger would: it finds the panel's views on screen by their accessibility
// identifiers and touches them through the screen's touch entry (hit
// testing, gesture recognisers and controls decide what happens, as for a
// person). Expectations read what the panel shows and what the store holds
// on disk. A panel command while no panel is open, or a button that is not
// on the visible ring, is refused and touches nothing. Like the screen's
// commands, a live device gets the first touch at once and the rest of a
// gesture on its main loop, so a script waits before it checks the result.
// Borrows what it is given; main thread.
class PanelCommands {
 public:
  // One finger at a screen point; answers whether something took it.
  using Touch = std::function<bool(platform::UITouchPhase, platform::CGPoint)>;
  using Waiter = ScriptInterpreter::Waiter;

  // How long a finger stays down for a tap, between the moves of a drag, and for a long press.
  static constexpr double kTapHold = 0.05;
  static constexpr double kMoveInterval = 0.016;
  static constexpr double kLongPressHold = 0.4;

  PanelCommands(Touch touch, Waiter waiter) : touch_(std::move(touch)), waiter_(std::move(waiter)) {}

  // Whether `verb` is one of the panel's commands.
  static bool handles(ScriptVerb verb);
  // Runs one of the panel's commands.
  ScriptOutcome execute(const ScriptCommand& command);

  // The open panel's root view, or null.
  static platform::UIView* openPanel();

 private:
  ScriptOutcome tap(const ScriptCommand& command);
  ScriptOutcome segment(const ScriptCommand& command);
  ScriptOutcome scroll(const ScriptCommand& command);
  ScriptOutcome slider(const ScriptCommand& command);
  ScriptOutcome dismiss();
  ScriptOutcome expectRing(const ScriptCommand& command);
  ScriptOutcome expectButton(const ScriptCommand& command);
  ScriptOutcome expectSlider(const ScriptCommand& command);
  ScriptOutcome expectStored(const ScriptCommand& command);

  struct Step {
    double delay = 0;  // seconds after the previous step
    platform::UITouchPhase phase = platform::UITouchPhase::Began;
    platform::CGPoint point;
  };
  // Runs one finger's steps: a dry run lets their time pass on its clock (the waiter); a live
  // device touches now and schedules the later steps on its main loop (the script waits).
  void perform(const std::vector<Step>& steps);
  void tapAt(platform::CGPoint point);
  void holdAt(platform::CGPoint point, double seconds);
  // A finger down at `from`, along the points of `path` in small steps, lifted at the last one.
  void dragAlong(platform::CGPoint from, const std::vector<platform::CGPoint>& path);

  Touch touch_;
  Waiter waiter_;
};

}  // namespace tessra::device
