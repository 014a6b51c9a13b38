// `tessra device snapshot DIR FILE.png [--scale N]`: the screen of a running
// device as its SpringBoard draws it now, written as a PNG (at the device's
// own scale unless one is given). It takes one frame over the display channel,
// as a window does, and leaves.
#include <cairo.h>

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <ostream>

#include "platform/bus/BusAddress.h"
#include "platform/bus/BusConnection.h"
#include "platform/bus/BusDisplayClient.h"
#include "platform/bus/BusLocation.h"
#include "tools/tessra/Command.h"
#include "tools/tessra/DeviceScreenOptions.h"

namespace tessra::cli {
namespace {

constexpr auto kWait = std::chrono::seconds(15);

int runSnapshot(const Invocation& invocation) {
  auto options = DeviceScreenOptions::parse(invocation, "device snapshot", 1);
  if (!options) return 2;
  const std::string& file = options->words[0];
  auto address = platform::BusLocation::readAddress(options->root);
  if (!address || !platform::BusAddress::isListening(*address)) {
    *invocation.err << "tessra device snapshot: the device at " << options->root.string()
                    << " is not running (start it with `tessra device start`)\n";
    return 1;
  }

  std::mutex mutex;
  std::condition_variable arrived;
  std::shared_ptr<const platform::SharedFrame> frame;
  std::optional<uint32_t> sequence;
  std::string lost;
  cairo_surface_t* image = nullptr;
  platform::BusConnection bus(options->root);
  {
    platform::BusDisplayClient client(
        bus, options->scale,
        {.attached =
             [&](std::shared_ptr<const platform::SharedFrame> f) {
               std::lock_guard lock(mutex);
               frame = std::move(f);
             },
         .frame =
             [&](uint32_t seq, std::vector<platform::FrameRect>) {
               std::lock_guard lock(mutex);
               if (!frame || sequence) return;
               // The first frame covers the whole screen: copy it before saying it was shown.
               image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, frame->width(), frame->height());
               unsigned char* data = cairo_image_surface_get_data(image);
               const int stride = cairo_image_surface_get_stride(image);
               for (int y = 0; y < frame->height(); ++y)
                 std::memcpy(
                     data + static_cast<size_t>(y) * stride,
                     reinterpret_cast<const unsigned char*>(frame->pixels()) + static_cast<size_t>(y) * frame->stride(),
                     static_cast<size_t>(frame->stride()));
               cairo_surface_mark_dirty(image);
               sequence = seq;
               arrived.notify_all();
             },
         .lost =
             [&](std::string reason) {
               std::lock_guard lock(mutex);
               lost = std::move(reason);
               arrived.notify_all();
             }});
    bus.start();
    std::unique_lock lock(mutex);
    arrived.wait_for(lock, kWait, [&] { return sequence.has_value() || !lost.empty(); });
  }
  bus.stop();
  if (!image) {
    *invocation.err << "tessra device snapshot: " << (lost.empty() ? "the device sent no frame within 15 s" : lost)
                    << "\n";
    return 1;
  }
  cairo_status_t status = cairo_surface_write_to_png(image, file.c_str());
  cairo_surface_destroy(image);
  if (status != CAIRO_STATUS_SUCCESS) {
    *invocation.err << "tessra device snapshot: cannot write " << file << ": " << cairo_status_to_string(status)
                    << "\n";
    return 1;
  }
  return 0;
}

const CommandRegistration snapshot{
    {"device snapshot", "DIR FILE.png [--scale N]: the running device's screen as a PNG", runSnapshot}};

}  // namespace
}  // namespace tessra::cli
