#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "platform/bus/BusDisplayServer.h"
#include "platform/bus/SharedFrame.h"
#include "platform/foundation/Clock.h"

namespace platform {
class BusConnection;
class RunLoop;
class UIImage;
class UIWindow;
class ViewRenderer;
}  // namespace platform

namespace tessra::preferences {

// The Settings app's screen for whoever shows it — the home screen, which
// puts it in place of the app's scene while the Settings app is in front — on
// the display channel of this process's bus name, as the home screen hands
// its own screen to windows. After any task of the main loop it draws the
// window again (at most kFramesPerSecond times a second, only while a viewer
// looks), finds what changed and writes those rectangles into each viewer's
// shared buffer, unless that viewer has not yet copied its last frame. A
// touch from a viewer goes to the window. Borrows the loop and the window,
// which must outlive it; main thread.
class SettingsDisplay final : public platform::DisplayServerDelegate {
 public:
  static constexpr int kFramesPerSecond = 60;
  static constexpr size_t kMaxViewers = 4;

  SettingsDisplay(platform::BusConnection& bus, platform::RunLoop& mainLoop, platform::UIWindow& window);
  ~SettingsDisplay() override;
  SettingsDisplay(const SettingsDisplay&) = delete;
  SettingsDisplay& operator=(const SettingsDisplay&) = delete;

  Attached attachViewer(uint64_t viewer, double scale) override;
  void detachViewer(uint64_t viewer) override;
  void frameShown(uint64_t viewer, uint32_t sequence) override;
  void touch(uint64_t viewer, int phase, double x, double y) override;
  void key(uint64_t viewer, platform::DisplayKey key, bool down) override;

 private:
  struct Viewer {
    double scale = 2;
    std::unique_ptr<platform::SharedFrame> frame;
    std::vector<platform::FrameRect> pending;  // changed since the last frame sent
    uint32_t sequence = 0;
    bool waiting = false;  // the last frame sent is not yet copied
  };
  struct Drawn {
    std::unique_ptr<platform::ViewRenderer> renderer;
    std::shared_ptr<platform::UIImage> image;  // the last frame drawn at this scale
  };

  void somethingChanged();
  void draw();
  void send(uint64_t id, Viewer& viewer);

  platform::RunLoop& mainLoop_;
  platform::UIWindow& window_;
  std::map<uint64_t, Viewer> viewers_;
  std::map<double, Drawn> drawn_;  // by scale
  bool scheduled_ = false;
  platform::TimePoint lastDraw_{};
  std::unique_ptr<platform::BusDisplayServer> server_;  // last: it calls into the rest
};

}  // namespace tessra::preferences
