#include "tools/SpringBoard/host/DisplayService.h"

#include <algorithm>
#include <chrono>

#include "platform/foundation/RunLoop.h"
#include "platform/foundation/TaskEnvironment.h"
#include "platform/springboard/screen/DeviceScreen.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/render/ViewRenderer.h"
#include "tools/SpringBoard/host/DisplayInput.h"

namespace tessra::device {

DisplayService::DisplayService(platform::BusConnection& bus, platform::RunLoop& mainLoop,
                               platform::springboard::DeviceScreen& screen, DisplayInput& input)
    : mainLoop_(mainLoop),
      screen_(screen),
      input_(input),
      frames_(kMaxViewers, "the device already shows its screen in " + std::to_string(kMaxViewers) + " windows",
              [this](uint64_t viewer, uint32_t sequence, std::vector<platform::FrameRect> changed) {
                server_->sendFrame(viewer, sequence, std::move(changed));
              }) {
  mainLoop_.setTaskObserver([this] { somethingChanged(); }, this);
  server_ = std::make_unique<platform::BusDisplayServer>(bus, mainLoop, *this, this);
}

DisplayService::~DisplayService() {
  server_.reset();
  mainLoop_.setTaskObserver(nullptr);
  mainLoop_.cancelTasksForTarget(this);
  mainLoop_.cancelTasksForTarget(&clockTick_);
}

DisplayService::Attached DisplayService::attachViewer(uint64_t id, double scale) {
  const platform::UIScreen& screen = platform::UIScreen::mainScreen();
  Attached attached = frames_.attach(id, scale == 0 ? screen.scale() : scale, screen.bounds().size);
  if (attached.error.empty()) somethingChanged();
  return attached;
}

void DisplayService::detachViewer(uint64_t id) { frames_.detach(id); }

void DisplayService::frameShown(uint64_t id, uint32_t sequence) { frames_.shown(id, sequence); }

void DisplayService::touch(uint64_t, int phase, double x, double y) {
  input_.touch(static_cast<platform::UITouchPhase>(phase), {x, y});
}

void DisplayService::key(uint64_t, platform::DisplayKey key, bool down) { input_.key(key, down); }

void DisplayService::somethingChanged() {
  if (scheduled_) return;
  scheduled_ = true;
  const platform::Duration interval = platform::seconds(1.0 / kFramesPerSecond);
  const platform::TimePoint now = platform::TaskEnvironment::current().clock().now();
  // Frames are paced by the frames drawn, the views' updates with no window by the updates.
  const std::optional<platform::TimePoint>& last = frames_.empty() ? lastUpdate_ : lastDraw_;
  const platform::Duration wait =
      last ? std::max(platform::Duration::zero(), *last + interval - now) : platform::Duration::zero();
  mainLoop_.postDelayed(
      wait, [this] { draw(); }, this);
}

void DisplayService::draw() {
  scheduled_ = false;
  lastUpdate_ = platform::TaskEnvironment::current().clock().now();
  // The views follow the device, watched or not: an animation that a change starts (a banner sliding in) starts
  // now. With no window that is all: nothing is drawn.
  screen_.update();
  if (frames_.empty()) return;
  lastDraw_ = lastUpdate_;
  scheduleClockTick();
  framesDrawn_ +=
      frames_.drawAndSend([](platform::ViewRenderer& renderer, double scale) { return renderer.renderScreen(scale); });
}

void DisplayService::scheduleClockTick() {
  if (clockTickScheduled_) return;
  clockTickScheduled_ = true;
  const auto now = std::chrono::system_clock::now();
  const auto nextMinute = std::chrono::ceil<std::chrono::minutes>(now + std::chrono::milliseconds(1));
  const auto wait = std::chrono::duration_cast<platform::Duration>(nextMinute - now);
  // Running it counts as a change (it is not posted with the quiet target), so the frame is drawn after it.
  mainLoop_.postDelayed(
      wait, [this] { clockTickScheduled_ = false; }, &clockTick_);
}

}  // namespace tessra::device
