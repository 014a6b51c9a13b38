#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/bus/BusDisplayServer.h"
#include "platform/bus/SharedFrame.h"
#include "platform/foundation/Clock.h"

namespace platform {
class BusConnection;
class RunLoop;
class UIImage;
class ViewRenderer;
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
  struct Viewer {
    double scale = 1;
    std::unique_ptr<platform::SharedFrame> frame;
    std::vector<platform::FrameRect> pending;  // changed since the last frame sent
    uint32_t sequence = 0;
    bool waiting = false;  // the last frame sent is not yet copied
  };
  struct Screen {
    std::unique_ptr<platform::ViewRenderer> renderer;
    std::shared_ptr<platform::UIImage> image;  // the last frame drawn
  };

  // Something may have changed: follow it soon (and draw, if anyone looks).
  void somethingChanged();
  // Brings the views up to date and, while a window looks, draws them.
  void draw();
  // Sends the viewer what changed for it, unless it still holds the previous frame.
  void send(uint64_t id, Viewer& viewer);

  // Draws again at the start of the next wall-clock minute (the status bar's time).
  void scheduleClockTick();

  platform::RunLoop& mainLoop_;
  platform::springboard::DeviceScreen& screen_;
  DisplayInput& input_;
  bool clockTickScheduled_ = false;
  const char clockTick_ = 0;  // the target of the minute task, which is not a quiet one
  std::map<uint64_t, Viewer> viewers_;
  std::map<double, Screen> screens_;  // by scale
  bool scheduled_ = false;
  std::optional<platform::TimePoint> lastDraw_;    // the last frame drawn (none before the first)
  std::optional<platform::TimePoint> lastUpdate_;  // the views' last update, drawn or not
  uint64_t framesDrawn_ = 0;
  std::unique_ptr<platform::BusDisplayServer> server_;  // last: it calls into the rest
};

}  // namespace tessra::device
