#include "tools/SpringBoard/host/SettingsScene.h"

#include <cairo.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "platform/bus/BusConnection.h"
#include "platform/bus/BusDisplayClient.h"
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/Log.h"
#include "platform/ui/UIImage.h"

namespace tessra::device {

namespace {

constexpr const char* kBusName = "org.tessra.Preferences";
// How long opening the Settings app waits for its screen's buffer.
constexpr std::chrono::seconds kAttachWait{5};

}  // namespace

// The frame as received, shared with the bus thread.
struct SettingsScene::Pixels {
  std::mutex mutex;
  std::shared_ptr<const platform::SharedFrame> frame;
  std::vector<uint32_t> copy;  // width x height, rows packed
  int width = 0;
  int height = 0;
  uint64_t generation = 0;  // frames copied
  double scale = 1;
  platform::BusDisplayClient* client = nullptr;  // while the scene lives
  std::condition_variable settled;
  bool answered = false;  // the Settings app gave its buffer, or refused
};

SettingsScene::SettingsScene(const std::filesystem::path& root, double scale)
    : pixels_(std::make_shared<Pixels>()), bus_(std::make_unique<platform::BusConnection>(root)) {
  pixels_->scale = scale;
  std::weak_ptr<Pixels> weak = pixels_;
  platform::BusDisplayClient::Handlers handlers;
  handlers.attached = [weak](std::shared_ptr<const platform::SharedFrame> frame) {
    auto pixels = weak.lock();
    if (!pixels) return;
    std::lock_guard lock(pixels->mutex);
    pixels->width = frame->width();
    pixels->height = frame->height();
    pixels->copy.assign(static_cast<size_t>(pixels->width) * pixels->height, 0);
    pixels->frame = std::move(frame);
    pixels->answered = true;
    pixels->settled.notify_all();
  };
  handlers.frame = [weak](uint32_t sequence, std::vector<platform::FrameRect> changed) {
    auto pixels = weak.lock();
    if (!pixels) return;
    {
      std::lock_guard lock(pixels->mutex);
      if (!pixels->frame) return;
      for (const platform::FrameRect& rect : changed)
        for (int y = rect.y; y < rect.y + rect.height; ++y)
          std::memcpy(&pixels->copy[static_cast<size_t>(y) * pixels->width + rect.x],
                      pixels->frame->pixels() + static_cast<size_t>(y) * pixels->width + rect.x,
                      static_cast<size_t>(rect.width) * 4);
      ++pixels->generation;
      // Copied: the Settings app may write the buffer again.
      if (pixels->client) pixels->client->shown(sequence);
    }
    // A task of the main loop: the device's screen is drawn again after it.
    platform::dispatch_async(platform::dispatch_get_main_queue(), [] {});
  };
  handlers.lost = [weak](const std::string& reason) {
    platform::Log::write("SpringBoard: the Settings app's screen is not shown: " + reason);
    if (auto pixels = weak.lock()) {
      std::lock_guard lock(pixels->mutex);
      pixels->answered = true;
      pixels->settled.notify_all();
    }
  };
  client_ = std::make_unique<platform::BusDisplayClient>(*bus_, scale, std::move(handlers), kBusName);
  {
    std::lock_guard lock(pixels_->mutex);
    pixels_->client = client_.get();
  }
  bus_->start();
  // Touches sent before the Settings app handed out its buffer would be lost: wait for its answer, briefly.
  std::unique_lock lock(pixels_->mutex);
  pixels_->settled.wait_for(lock, kAttachWait, [this] { return pixels_->answered; });
}

SettingsScene::~SettingsScene() {
  {
    std::lock_guard lock(pixels_->mutex);
    pixels_->client = nullptr;
  }
  client_.reset();
  bus_->stop();
}

std::shared_ptr<platform::UIImage> SettingsScene::image() {
  std::lock_guard lock(pixels_->mutex);
  if (pixels_->generation == 0 || pixels_->generation == imageGeneration_) return image_;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixels_->width, pixels_->height);
  if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < pixels_->height; ++y)
      std::memcpy(data + static_cast<size_t>(y) * stride, &pixels_->copy[static_cast<size_t>(y) * pixels_->width],
                  static_cast<size_t>(pixels_->width) * 4);
    cairo_surface_mark_dirty(surface);
    image_ = platform::UIImage::imageWithSurface(surface, pixels_->scale);
    imageGeneration_ = pixels_->generation;
  }
  cairo_surface_destroy(surface);
  return image_;
}

bool SettingsScene::touch(int phase, double x, double y) {
  {
    std::lock_guard lock(pixels_->mutex);
    if (!pixels_->frame) return false;
  }
  client_->touch(phase, x, y);
  return true;
}

uint64_t SettingsScene::framesReceived() const {
  std::lock_guard lock(pixels_->mutex);
  return pixels_->generation;
}

}  // namespace tessra::device
