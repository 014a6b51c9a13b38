#pragma once

#include <iosfwd>
#include <memory>

#include "platform/springboard/screen/DeviceScreen.h"
#include "tools/SpringBoard/core/ScriptVocabulary.h"
#include "tools/SpringBoard/host/HostOptions.h"

namespace tessra::device {

class AlertScreen;

// The SpringBoard host program: the device's home-screen process. It starts
// in the phone's order: the device root and the process name, the task
// environment (the steady clock and worker threads live, a manual clock for a
// dry run), the device model configured from the device's files, the device
// bus with the notification transport and the control channel (live only),
// then every plug-in of Library/MobileSubstrate/DynamicLibraries (their
// load-time routines run: the plug-in binds its settings and installs its
// hooks), then the home screen appears. Live, it then runs its main loop
// until SIGTERM or a quit request; a dry run carries out its script with
// ScriptRunner and exits with the script's status. One per process.
class SpringBoardHost {
 public:
  // Exit statuses besides the script statuses of ControlProtocol.h.
  static constexpr int kUsageError = 64;
  static constexpr int kDeviceError = 3;

  SpringBoardHost(HostOptions options, std::ostream& out, std::ostream& err);
  ~SpringBoardHost();

  // Runs the host to its end; the process's exit status.
  int run();

 private:
  int runLive();
  int runScript();
  // Sets the device root and configures the device model from its files; false after a message.
  bool configureDevice();
  // Loads the plug-ins and shows the home screen.
  void startHomeScreen();
  // `options` with the Settings app drawing its own scene and taking the touches on it.
  static platform::springboard::DeviceScreen::Options settingsSceneOptions(
      platform::springboard::DeviceScreen::Options options);

  HostOptions options_;
  std::ostream& out_;
  std::ostream& err_;
  ScriptVocabulary vocabulary_;
  std::unique_ptr<AlertScreen> alerts_;
};

}  // namespace tessra::device
