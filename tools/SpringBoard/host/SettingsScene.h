#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

namespace platform {
class BusConnection;
class BusDisplayClient;
class UIImage;
}  // namespace platform

namespace tessra::device {

// The Settings app's screen as its own process draws it, for the home screen
// to show in place of the app's scene while the Settings app is in front on a
// live device. It is a viewer of the Settings process's display channel (as
// a window is of the home screen's), on a bus connection of its own: each
// frame's changed rectangles are copied out of the shared buffer on the bus
// thread, the buffer handed back at once, and the main loop told, which draws
// the device's screen again. Touches on the scene go back to the Settings
// app. Made once the Settings process answers (it waits a little for the
// Settings app's buffer), destroyed before it stops; image() and touch() on
// the main thread.
class SettingsScene {
 public:
  // Watches the Settings process of the device at `root`, drawn at `scale` pixels per point.
  SettingsScene(const std::filesystem::path& root, double scale);
  ~SettingsScene();
  SettingsScene(const SettingsScene&) = delete;
  SettingsScene& operator=(const SettingsScene&) = delete;

  // The latest frame of the Settings app (null before the first); the same image until another frame came.
  std::shared_ptr<platform::UIImage> image();
  // A finger on the Settings app's screen, in points; `phase` as UITouchPhase. False when it cannot be sent (the
  // Settings app gave no buffer).
  bool touch(int phase, double x, double y);
  // Frames received so far (for the log and tests).
  uint64_t framesReceived() const;

 private:
  struct Pixels;
  std::shared_ptr<Pixels> pixels_;
  std::unique_ptr<platform::BusConnection> bus_;
  std::unique_ptr<platform::BusDisplayClient> client_;
  std::shared_ptr<platform::UIImage> image_;
  uint64_t imageGeneration_ = 0;
};

}  // namespace tessra::device
