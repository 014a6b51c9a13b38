#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/bus/BusDisplayServer.h"
#include "platform/foundation/Clock.h"
#include "tools/display/ViewerFrames.h"

namespace platform {
class BusConnection;
class RunLoop;
}  // namespace platform

namespace platform::springboard {
class DeviceScreen;
}

namespace tessra::device {

class DisplayInput;

// The device's display in the home-screen host: it draws the screen for the
// windows that show it and nothing while none does. After any task of the
// main loop (a touch, a script line, a timer, an animation frame) it brings
// the screen's views up to date with the device, so that an animation a change
// starts starts then, and, while a window looks, draws the screen again: at
// once when that did not happen in the last frame interval, else at its end
// (at most kFramesPerSecond times a second, which also bounds a layout that
// keeps asking for another), once per scale that some window asked for. It
// finds what changed by comparing the new frame with the last one and hands
// each window only those rectangles, through the window's shared buffer.
// While a window looks it also draws when the status bar's minute changes;
// with none, it schedules nothing of its own. A window that has not yet copied
// its last frame is not written to: its changes add up until it has. Input
// from the windows goes to DisplayInput. Owns the display channel on `bus`;
// borrows the loop and the input, which must outlive it. Main thread.
class DisplayService final : public platform::DisplayServerDelegate {
 public:
  static constexpr int kFramesPerSecond = 60;
  // Windows one device shows at once (each holds a frame buffer).
  static constexpr size_t kMaxViewers = 8;

  DisplayService(platform::BusConnection& bus, platform::RunLoop& mainLoop, platform::springboard::DeviceScreen& screen,
                 DisplayInput& input);
  ~DisplayService() override;
  DisplayService(const DisplayService&) = delete;
  DisplayService& operator=(const DisplayService&) = delete;

  Attached attachViewer(uint64_t viewer, double scale) override;
  void detachViewer(uint64_t viewer) override;
  void frameShown(uint64_t viewer, uint32_t sequence) override;
  void touch(uint64_t viewer, int phase, double x, double y) override;
  void key(uint64_t viewer, platform::DisplayKey key, bool down) override;

  // Frames drawn since start (for the log and for tests).
  uint64_t framesDrawn() const { return framesDrawn_; }

 private:
  // Something may have changed: follow it soon (and draw, if anyone looks).
  void somethingChanged();
  // Brings the views up to date and, while a window looks, draws them.
  void draw();
  // Draws again at the start of the next wall-clock minute (the status bar's time).
  void scheduleClockTick();

  platform::RunLoop& mainLoop_;
  platform::springboard::DeviceScreen& screen_;
  DisplayInput& input_;
  bool clockTickScheduled_ = false;
  const char clockTick_ = 0;  // the target of the minute task, which is not a quiet one
  tessra::display::ViewerFrames frames_;
  bool scheduled_ = false;
  std::optional<platform::TimePoint> lastDraw_;    // the last frame drawn (none before the first)
  std::optional<platform::TimePoint> lastUpdate_;  // the views' last update, drawn or not
  uint64_t framesDrawn_ = 0;
  std::unique_ptr<platform::BusDisplayServer> server_;  // last: it calls into the rest
};

}  // namespace tessra::device
