#include "tools/Preferences/SettingsDisplay.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "platform/bus/FrameDamage.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/TaskEnvironment.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UIWindow.h"
#include "platform/ui/render/ViewRenderer.h"

namespace tessra::preferences {

namespace {

int pixels(double points, double scale) { return std::max(1, static_cast<int>(std::ceil(points * scale - 1e-9))); }

}  // namespace

SettingsDisplay::SettingsDisplay(platform::BusConnection& bus, platform::RunLoop& mainLoop, platform::UIWindow& window)
    : mainLoop_(mainLoop), window_(window) {
  mainLoop_.setTaskObserver([this] { somethingChanged(); }, this);
  server_ = std::make_unique<platform::BusDisplayServer>(bus, mainLoop, *this, this);
}

SettingsDisplay::~SettingsDisplay() {
  server_.reset();
  mainLoop_.setTaskObserver(nullptr);
  mainLoop_.cancelTasksForTarget(this);
}

SettingsDisplay::Attached SettingsDisplay::attachViewer(uint64_t id, double scale) {
  Attached attached;
  if (viewers_.size() >= kMaxViewers) {
    attached.error = "the Settings app already shows its screen to " + std::to_string(kMaxViewers) + " viewers";
    return attached;
  }
  if (scale == 0) scale = 2;
  const platform::CGSize size = window_.bounds().size;
  const int width = pixels(size.width, scale), height = pixels(size.height, scale);
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

void SettingsDisplay::detachViewer(uint64_t id) {
  auto it = viewers_.find(id);
  if (it == viewers_.end()) return;
  const double scale = it->second.scale;
  viewers_.erase(it);
  if (std::none_of(viewers_.begin(), viewers_.end(), [&](const auto& v) { return v.second.scale == scale; }))
    drawn_.erase(scale);
}

void SettingsDisplay::frameShown(uint64_t id, uint32_t sequence) {
  auto it = viewers_.find(id);
  if (it == viewers_.end() || sequence != it->second.sequence) return;
  it->second.waiting = false;
  send(id, it->second);
}

void SettingsDisplay::touch(uint64_t, int phase, double x, double y) {
  platform::UIApplication::sharedApplication().sendTouch(static_cast<platform::UITouchPhase>(phase), {x, y});
}

void SettingsDisplay::key(uint64_t, platform::DisplayKey, bool) {}

void SettingsDisplay::somethingChanged() {
  if (viewers_.empty() || scheduled_) return;
  scheduled_ = true;
  const platform::Duration interval = platform::seconds(1.0 / kFramesPerSecond);
  const platform::TimePoint now = platform::TaskEnvironment::current().clock().now();
  const platform::Duration wait = std::max(platform::Duration::zero(), lastDraw_ + interval - now);
  mainLoop_.postDelayed(
      wait, [this] { draw(); }, this);
}

void SettingsDisplay::draw() {
  scheduled_ = false;
  if (viewers_.empty()) return;
  lastDraw_ = platform::TaskEnvironment::current().clock().now();
  window_.layoutIfNeeded();
  std::map<double, std::vector<platform::FrameRect>> changes;
  for (auto& [id, viewer] : viewers_) {
    if (changes.count(viewer.scale)) continue;
    Drawn& drawn = drawn_[viewer.scale];
    if (!drawn.renderer) drawn.renderer = std::make_unique<platform::ViewRenderer>();
    std::shared_ptr<platform::UIImage> image = drawn.renderer->renderView(window_, viewer.scale);
    if (!image) continue;
    cairo_surface_t* now = image->surface();
    const int width = cairo_image_surface_get_width(now), height = cairo_image_surface_get_height(now);
    std::vector<platform::FrameRect> changed;
    cairo_surface_t* before = drawn.image ? drawn.image->surface() : nullptr;
    if (before && cairo_image_surface_get_width(before) == width && cairo_image_surface_get_height(before) == height)
      changed = platform::FrameDamage::between(cairo_image_surface_get_data(before), cairo_image_surface_get_data(now),
                                               width, height, cairo_image_surface_get_stride(now));
    else
      changed = {{0, 0, width, height}};
    drawn.image = std::move(image);
    changes[viewer.scale] = std::move(changed);
  }
  for (auto& [id, viewer] : viewers_) {
    platform::FrameDamage::add(viewer.pending, changes[viewer.scale]);
    send(id, viewer);
  }
}

void SettingsDisplay::send(uint64_t id, Viewer& viewer) {
  if (viewer.waiting || viewer.pending.empty()) return;
  auto drawn = drawn_.find(viewer.scale);
  if (drawn == drawn_.end() || !drawn->second.image) return;
  cairo_surface_t* image = drawn->second.image->surface();
  const auto* data = cairo_image_surface_get_data(image);
  const int width = cairo_image_surface_get_width(image), height = cairo_image_surface_get_height(image);
  const int stride = cairo_image_surface_get_stride(image);
  for (const platform::FrameRect& rect : viewer.pending) viewer.frame->copyFrom(data, width, height, stride, rect);
  viewer.waiting = true;
  server_->sendFrame(id, ++viewer.sequence, std::move(viewer.pending));
  viewer.pending.clear();
}

}  // namespace tessra::preferences
