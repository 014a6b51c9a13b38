#pragma once

#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace platform {
class NotificationTransport;
class UIImage;
}  // namespace platform

namespace tessra::device {

class SettingsScene;

// The device's screen, which the Settings app fills: its size in points and its pixels per point.
struct SettingsAppScreen {
  double width = 375;
  double height = 812;
  double scale = 3;
};

// The home screen's side of the Settings app process (the Preferences
// program beside the SpringBoard host), which has its own preferences, stores
// and observers as on a phone. Live, the process joins the device bus like
// any other and is driven through its control name "org.tessra.Preferences";
// it fills the device's screen, and its frames come back over the bus
// (SettingsScene) for the home screen to show while the app is in front.
// In a dry run it runs with --dry, stepped together with this process on the
// home screen's manual clock (SettingsAppProtocol over two pipes): while it
// runs, this process's Darwin and distributed posts are sent to it, and what it
// posts during a command is delivered here before the command's answer. The
// process dies with this one. One per home screen; main thread only.
class SettingsAppLink {
 public:
  enum class Mode { Dry, Live };
  using Result = std::pair<int, std::string>;
  static constexpr int kStopped = 3;

  using Screen = SettingsAppScreen;

  SettingsAppLink(Mode mode, std::filesystem::path root, Screen screen = {});
  ~SettingsAppLink();
  SettingsAppLink(const SettingsAppLink&) = delete;
  SettingsAppLink& operator=(const SettingsAppLink&) = delete;

  // Starts the process (nothing when it runs); false after a log line.
  bool start();
  // Stops the process (as quitting the Settings app does).
  void stop();
  bool isRunning() const { return child_ > 0; }
  Mode mode() const { return mode_; }
  // Runs one command of the Settings screen (SettingsAppDriver's verbs).
  Result execute(const std::string& verb, const std::vector<std::string>& args);
  // Writes the Settings app's screen, `width` × `height` points at `scale`, as a PNG at a device path.
  Result frame(const std::string& devicePath, double width, double height, double scale) {
    return execute("frame", {devicePath, std::to_string(width), std::to_string(height), std::to_string(scale)});
  }
  // Live: the Settings app's screen as its process last drew it (null before the first frame, in a dry run, or
  // when it is not running). Main thread.
  std::shared_ptr<platform::UIImage> sceneImage();
  // Live: a finger on the Settings app's screen, in points; false when it does not reach the app (not running,
  // a dry run).
  bool touchScene(int phase, double x, double y);

 private:
  class PipeTransport;
  Result executeDry(const std::string& verb, const std::vector<std::string>& args);
  void readUntilReply(Result& result);

  Mode mode_;
  std::filesystem::path root_;
  Screen screen_;
  std::unique_ptr<SettingsScene> scene_;  // live, while the process runs
  pid_t child_ = -1;
  int toChild_ = -1;
  int fromChild_ = -1;
  std::string buffer_;
  std::shared_ptr<PipeTransport> transport_;
  std::shared_ptr<platform::NotificationTransport> previousTransport_;
};

}  // namespace tessra::device
