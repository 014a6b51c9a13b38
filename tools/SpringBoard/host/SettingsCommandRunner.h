#pragma once

#include "tools/SpringBoard/core/ScriptCommand.h"
#include "tools/SpringBoard/host/ScriptInterpreter.h"

#include <memory>

#include "platform/ui/Geometry.h"

namespace platform {
class UIImage;
}
namespace platform::springboard {
class DeviceModel;
}

namespace tessra::device {

class SettingsAppLink;

// Carries out the Settings lines of a script (SettingsCommandParser) on the
// device: `settings` opens the Settings app (com.apple.Preferences) in the
// home screen, starting its process when it is not running (again, when the
// app was quit since), and shows its Tessra 2 page; the other lines act on the
// page in front and need the Settings app in front; `expect setting` reads the
// domain as it is on disk now. An `answer` while the Settings app shows an
// alert goes to that alert. The Settings process is this host's
// (SettingsAppLink, dry or live after the task environment in force) and
// stops with it. Main thread only.
class SettingsCommandRunner {
 public:
  static constexpr const char* kSettingsApp = "com.apple.Preferences";

  // Runs one Settings line.
  static ScriptOutcome execute(const ScriptCommand& command, platform::springboard::DeviceModel& model);
  // Whether an `answer` is for the Settings app: it is in front and its process runs.
  static bool answersInSettings(platform::springboard::DeviceModel& model);
  // Answers the Settings app's alert with the button `title`.
  static ScriptOutcome answer(const std::string& title);
  // The link to the Settings process (made on first use).
  static SettingsAppLink& link();
  // The Settings app's screen at `size` points and `scale`, while it is in front and its process runs; null
  // otherwise. This is what the home screen shows in place of the Settings app's scene.
  static std::shared_ptr<platform::UIImage> settingsScreen(platform::springboard::DeviceModel& model,
                                                           platform::CGSize size, double scale);
  // What the home screen shows as the Settings app's scene while it is in front and its process runs: live, the
  // last frame that process sent; in a dry run, a frame it draws now (settingsScreen). Null otherwise, for the
  // plain scene.
  static std::shared_ptr<platform::UIImage> sceneContent(platform::springboard::DeviceModel& model,
                                                         const std::string& bundleIdentifier);
  // A finger on the Settings app's scene while it is in front, sent to its process (live over the bus, in a dry
  // run as a command); false when it does not reach it.
  static bool sceneTouch(platform::springboard::DeviceModel& model, int phase, double x, double y);
  // Stops the Settings process when its app no longer runs (it was quit), as the phone ends an app's process.
  static void stopUnlessRunning(platform::springboard::DeviceModel& model);
  // Stops the Settings process (the host is ending).
  static void stop();

 private:
  static ScriptOutcome expectSetting(const ScriptCommand& command);
};

}  // namespace tessra::device
