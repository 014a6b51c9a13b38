#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/foundation/Clock.h"
#include "tools/SpringBoard/core/ScriptCommand.h"
#include "tools/SpringBoard/core/ScriptVocabulary.h"
#include "tools/SpringBoard/host/DeviceSwitchAccess.h"

namespace platform::springboard {
class DeviceModel;
}

namespace tessra::device {

class AlertScreen;
class ScreenCommands;
class PanelCommands;
class BehaviourCommands;

// What one command came to.
struct ScriptOutcome {
  enum class Status {
    Done,          // the command ran
    ExpectFailed,  // an expect line found something else; output says what
    Refused,       // the command cannot run on this device now; output says why, nothing changed
  };
  Status status = Status::Done;
  std::string output;  // the message, or the device state for `state`

  bool ok() const { return status == Status::Done; }
};

// Carries out scenario commands on the simulated device, on the home
// screen's main thread: user actions go through the device model (which calls
// the home screen's hookable methods in the phone's order, so the plug-in
// sees them as on the phone), customizations and settings are written into
// the preference domain in the store's own format and announced with the
// Darwin notification the plug-in listens to, and expectations read the
// device's state. The same code serves the dry run and the live device; only
// how time passes differs (`wait`). Borrows everything it is given.
class ScriptInterpreter {
 public:
  // Lets time pass on the device (the dry run fast-forwards its clock); null refuses `wait`.
  using Waiter = std::function<void(platform::Duration)>;

  // Volumes and brightnesses closer than this count as equal in an expectation.
  static constexpr double kTolerance = 0.005;

  ScriptInterpreter(platform::springboard::DeviceModel& model, const ScriptVocabulary& vocabulary, AlertScreen* alerts,
                    Waiter waiter);
  ~ScriptInterpreter();

  // Runs one command.
  ScriptOutcome execute(const ScriptCommand& command);
  // A new script starts on this device (a live device runs many): what expectations count
  // "since the script started" starts again.
  void beginScript();
  // The device's screen for the touch and look commands (null refuses them); borrowed.
  void setScreen(ScreenCommands* screen) { screen_ = screen; }

 private:
  ScriptOutcome customize(const ScriptCommand& command);
  ScriptOutcome setting(const ScriptCommand& command);
  ScriptOutcome expectSwitch(const ScriptCommand& command);
  ScriptOutcome expectLevel(const char* what, double actual, double expected);
  ScriptOutcome expectAlert(const ScriptCommand& command);
  ScriptOutcome answer(const ScriptCommand& command);
  ScriptOutcome open(const ScriptCommand& command);
  ScriptOutcome quit(const ScriptCommand& command);
  ScriptOutcome checkDeviceSetup(const ScriptCommand& command);
  ScriptOutcome checkApp(const ScriptCommand& command);

  platform::springboard::DeviceModel& model_;
  const ScriptVocabulary& vocabulary_;
  AlertScreen* alerts_;
  Waiter waiter_;
  DeviceSwitchAccess switches_;
  ScreenCommands* screen_ = nullptr;
  std::unique_ptr<PanelCommands> panel_;
  std::unique_ptr<BehaviourCommands> behaviours_;
};

}  // namespace tessra::device
