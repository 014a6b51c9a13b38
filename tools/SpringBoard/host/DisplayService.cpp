#include "tools/SpringBoard/host/DisplayService.h"

#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <cmath>

#include "platform/bus/FrameDamage.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/TaskEnvironment.h"
#include "platform/springboard/screen/DeviceScreen.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/render/ViewRenderer.h"
#include "tools/SpringBoard/host/DisplayInput.h"

namespace tessra::device {

namespace {

// The frame size the renderer makes for the screen at `scale`.
int pixels(double points, double scale) { return std::max(1, static_cast<int>(std::ceil(points * scale - 1e-9))); }

}  // namespace

DisplayService::DisplayService(platform::BusConnection& bus, platform::RunLoop& mainLoop,
                               platform::springboard::DeviceScreen& screen, DisplayInput& input)
    : mainLoop_(mainLoop), screen_(screen), input_(input) {
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
  Attached attached;
  if (viewers_.size() >= kMaxViewers) {
    attached.error = "the device already shows its screen in " + std::to_string(kMaxViewers) + " windows";
    return attached;
  }
  const platform::UIScreen& screen = platform::UIScreen::mainScreen();
  if (scale == 0) scale = screen.scale();
  const int width = pixels(screen.bounds().size.width, scale), height = pixels(screen.bounds().size.height, scale);
  Viewer viewer;
  viewer.scale = scale;
  viewer.frame = platform::SharedFrame::create(width, height, &attached.error);
  if (!viewer.frame) return attached;
  viewer.pending = {{0, 0, width, height}};
  attached.fd = viewer.frame->fd();
  attached.width = width;
  attached.height = height;
  viewers_[id] = std::move(viewer);
  somethingChanged();
  return attached;
}

void DisplayService::detachViewer(uint64_t id) {
  auto it = viewers_.find(id);
  if (it == viewers_.end()) return;
  const double scale = it->second.scale;
  viewers_.erase(it);
  const bool scaleInUse =
      std::any_of(viewers_.begin(), viewers_.end(), [&](const auto& v) { return v.second.scale == scale; });
  if (!scaleInUse) screens_.erase(scale);
}

void DisplayService::frameShown(uint64_t id, uint32_t sequence) {
  auto it = viewers_.find(id);
  if (it == viewers_.end() || sequence != it->second.sequence) return;
  it->second.waiting = false;
  send(id, it->second);
}

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
  const std::optional<platform::TimePoint>& last = viewers_.empty() ? lastUpdate_ : lastDraw_;
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
  if (viewers_.empty()) return;
  lastDraw_ = lastUpdate_;
  scheduleClockTick();
  std::map<double, std::vector<platform::FrameRect>> changes;
  for (auto& [id, viewer] : viewers_) {
    if (changes.count(viewer.scale)) continue;
    Screen& screen = screens_[viewer.scale];
    if (!screen.renderer) screen.renderer = std::make_unique<platform::ViewRenderer>();
    std::shared_ptr<platform::UIImage> image = screen.renderer->renderScreen(viewer.scale);
    ++framesDrawn_;
    cairo_surface_t* now = image->surface();
    const int width = cairo_image_surface_get_width(now), height = cairo_image_surface_get_height(now);
    std::vector<platform::FrameRect> changed;
    cairo_surface_t* before = screen.image ? screen.image->surface() : nullptr;
    if (before && cairo_image_surface_get_width(before) == width && cairo_image_surface_get_height(before) == height) {
      changed = platform::FrameDamage::between(cairo_image_surface_get_data(before), cairo_image_surface_get_data(now),
                                               width, height, cairo_image_surface_get_stride(now));
    } else {
      changed = {{0, 0, width, height}};
    }
    screen.image = std::move(image);
    changes[viewer.scale] = std::move(changed);
  }
  for (auto& [id, viewer] : viewers_) {
    platform::FrameDamage::add(viewer.pending, changes[viewer.scale]);
    send(id, viewer);
  }
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

void DisplayService::send(uint64_t id, Viewer& viewer) {
  if (viewer.waiting || viewer.pending.empty()) return;
  auto screen = screens_.find(viewer.scale);
  if (screen == screens_.end() || !screen->second.image) return;
  cairo_surface_t* image = screen->second.image->surface();
  const auto* data = cairo_image_surface_get_data(image);
  const int width = cairo_image_surface_get_width(image), height = cairo_image_surface_get_height(image);
  const int stride = cairo_image_surface_get_stride(image);
  for (const platform::FrameRect& rect : viewer.pending) viewer.frame->copyFrom(data, width, height, stride, rect);
  viewer.waiting = true;
  server_->sendFrame(id, ++viewer.sequence, std::move(viewer.pending));
  viewer.pending.clear();
}

}  // namespace tessra::device
