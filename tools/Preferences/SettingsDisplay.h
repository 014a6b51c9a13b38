#pragma once

#include <cstdint>
#include <memory>

#include "platform/bus/BusDisplayServer.h"
#include "platform/foundation/Clock.h"
#include "tools/display/ViewerFrames.h"

namespace platform {
class BusConnection;
class RunLoop;
class UIWindow;
}  // namespace platform

namespace tessra::preferences {

// The Settings app's screen for whoever shows it — the home screen, which
// puts it in place of the app's scene while the Settings app is in front — on
// the display channel of this process's bus name, as the home screen hands
// its own screen to windows. After any task of the main loop it draws the
// window again (at most kFramesPerSecond times a second, only while a viewer
// looks) and hands each viewer what changed (ViewerFrames). A
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
  void somethingChanged();
  void draw();

  platform::RunLoop& mainLoop_;
  platform::UIWindow& window_;
  tessra::display::ViewerFrames frames_;
  bool scheduled_ = false;
  platform::TimePoint lastDraw_{};
  std::unique_ptr<platform::BusDisplayServer> server_;  // last: it calls into the rest
};

}  // namespace tessra::preferences
