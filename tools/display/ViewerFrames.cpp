#include "tools/display/ViewerFrames.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "platform/ui/UIImage.h"
#include "platform/ui/render/ViewRenderer.h"

namespace tessra::display {

namespace {

// The frame size the renderer makes for `points` at `scale`.
int pixels(double points, double scale) { return std::max(1, static_cast<int>(std::ceil(points * scale - 1e-9))); }

}  // namespace

ViewerFrames::ViewerFrames(size_t maxViewers, std::string busy, Send send)
    : maxViewers_(maxViewers), busy_(std::move(busy)), send_(std::move(send)) {}

ViewerFrames::~ViewerFrames() = default;

platform::DisplayServerDelegate::Attached ViewerFrames::attach(uint64_t id, double scale, platform::CGSize points) {
  platform::DisplayServerDelegate::Attached attached;
  if (viewers_.size() >= maxViewers_) {
    attached.error = busy_;
    return attached;
  }
  const int width = pixels(points.width, scale), height = pixels(points.height, scale);
  Viewer viewer;
  viewer.scale = scale;
  viewer.frame = platform::SharedFrame::create(width, height, &attached.error);
  if (!viewer.frame) return attached;
  viewer.pending = {{0, 0, width, height}};
  attached.fd = viewer.frame->fd();
  attached.width = width;
  attached.height = height;
  viewers_[id] = std::move(viewer);
  return attached;
}

void ViewerFrames::detach(uint64_t id) {
  auto it = viewers_.find(id);
  if (it == viewers_.end()) return;
  const double scale = it->second.scale;
  viewers_.erase(it);
  if (std::none_of(viewers_.begin(), viewers_.end(), [&](const auto& v) { return v.second.scale == scale; }))
    drawn_.erase(scale);
}

void ViewerFrames::shown(uint64_t id, uint32_t sequence) {
  auto it = viewers_.find(id);
  if (it == viewers_.end() || sequence != it->second.sequence) return;
  it->second.waiting = false;
  send(id, it->second);
}

size_t ViewerFrames::drawAndSend(const Render& render) {
  size_t drawnCount = 0;
  std::map<double, std::vector<platform::FrameRect>> changes;
  for (auto& [id, viewer] : viewers_) {
    if (changes.count(viewer.scale)) continue;
    Drawn& drawn = drawn_[viewer.scale];
    if (!drawn.renderer) drawn.renderer = std::make_unique<platform::ViewRenderer>();
    std::shared_ptr<platform::UIImage> image = render(*drawn.renderer, viewer.scale);
    if (!image) continue;
    ++drawnCount;
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
  return drawnCount;
}

void ViewerFrames::send(uint64_t id, Viewer& viewer) {
  if (viewer.waiting || viewer.pending.empty()) return;
  auto drawn = drawn_.find(viewer.scale);
  if (drawn == drawn_.end() || !drawn->second.image) return;
  cairo_surface_t* image = drawn->second.image->surface();
  const auto* data = cairo_image_surface_get_data(image);
  const int width = cairo_image_surface_get_width(image), height = cairo_image_surface_get_height(image);
  const int stride = cairo_image_surface_get_stride(image);
  for (const platform::FrameRect& rect : viewer.pending) viewer.frame->copyFrom(data, width, height, stride, rect);
  viewer.waiting = true;
  send_(id, ++viewer.sequence, std::move(viewer.pending));
  viewer.pending.clear();
}

}  // namespace tessra::display
