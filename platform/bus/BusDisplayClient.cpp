#include "platform/bus/BusDisplayClient.h"

#include <sdbus-c++/sdbus-c++.h>

#include <algorithm>

#include "platform/bus/BusConnection.h"
#include "platform/bus/BusNames.h"

namespace platform {

namespace {

using WireRect = sdbus::Struct<int32_t, int32_t, int32_t, int32_t>;

// How long the host may take to hand out a buffer (it answers from its main loop).
constexpr std::chrono::seconds kAttachTimeout{10};

}  // namespace

struct BusDisplayClient::Live {
  std::unique_ptr<sdbus::IProxy> proxy;
  sdbus::Slot hostWatch;
  uint64_t viewer = 0;
  int width = 0;
  int height = 0;
};

BusDisplayClient::BusDisplayClient(BusConnection& bus, double scale, Handlers handlers, std::string hostName)
    : bus_(bus),
      scale_(scale),
      handlers_(std::move(handlers)),
      hostName_(hostName.empty() ? std::string(bus::kSpringBoardBusName) : std::move(hostName)) {
  bus_.addClient(*this);
}

BusDisplayClient::~BusDisplayClient() {
  bus_.post([this](sdbus::IConnection*) {
    if (!live_ || !live_->viewer) return;
    try {
      live_->proxy->callMethod(display::kDetach)
          .onInterface(display::kInterface)
          .withArguments(live_->viewer)
          .dontExpectReply();
    } catch (const std::exception&) {
    }
  });
  bus_.removeClient(*this);
}

std::vector<FrameRect> BusDisplayClient::clipped(const std::vector<FrameRect>& rects, int width, int height) {
  std::vector<FrameRect> out;
  for (const FrameRect& r : rects) {
    if (out.size() == display::kMaxRects) break;
    const int64_t x0 = std::max<int64_t>(r.x, 0), y0 = std::max<int64_t>(r.y, 0);
    const int64_t x1 = std::min<int64_t>(int64_t{r.x} + r.width, width);
    const int64_t y1 = std::min<int64_t>(int64_t{r.y} + r.height, height);
    if (x1 <= x0 || y1 <= y0) continue;
    out.push_back({static_cast<int32_t>(x0), static_cast<int32_t>(y0), static_cast<int32_t>(x1 - x0),
                   static_cast<int32_t>(y1 - y0)});
  }
  return out;
}

void BusDisplayClient::shown(uint32_t sequence) {
  bus_.post([this, sequence](sdbus::IConnection*) {
    if (!live_ || !live_->viewer) return;
    try {
      live_->proxy->callMethod(display::kShown)
          .onInterface(display::kInterface)
          .withArguments(live_->viewer, sequence)
          .dontExpectReply();
    } catch (const std::exception&) {
    }
  });
}

void BusDisplayClient::touch(int phase, double x, double y) {
  bus_.post([this, phase, x, y](sdbus::IConnection*) {
    if (!live_ || !live_->viewer) return;
    try {
      live_->proxy->callMethod(display::kTouch)
          .onInterface(display::kInterface)
          .withArguments(live_->viewer, static_cast<int32_t>(phase), x, y)
          .dontExpectReply();
    } catch (const std::exception&) {
    }
  });
}

void BusDisplayClient::key(DisplayKey key, bool down) {
  bus_.post([this, key, down](sdbus::IConnection*) {
    if (!live_ || !live_->viewer) return;
    try {
      live_->proxy->callMethod(display::kKey)
          .onInterface(display::kInterface)
          .withArguments(live_->viewer, std::string(display::keyName(key)), down)
          .dontExpectReply();
    } catch (const std::exception&) {
    }
  });
}

void BusDisplayClient::attach(sdbus::IConnection& connection) {
  auto live = std::make_unique<Live>();
  live->proxy = sdbus::createProxy(connection, hostName_, display::kPath);
  Live* state = live.get();
  live->proxy->uponSignal(display::kFrameSignal)
      .onInterface(display::kInterface)
      .call([this, state](uint64_t viewer, uint32_t sequence, std::vector<WireRect> rects) {
        if (viewer != state->viewer || !handlers_.frame) return;
        std::vector<FrameRect> changed;
        changed.reserve(std::min(rects.size(), display::kMaxRects + 1));
        for (const auto& r : rects) {
          changed.push_back({r.get<0>(), r.get<1>(), r.get<2>(), r.get<3>()});
          if (changed.size() > display::kMaxRects) break;
        }
        handlers_.frame(sequence, clipped(changed, state->width, state->height));
      });
  live->proxy->finishRegistration();
  const std::string& hostName = hostName_;
  const bool home = hostName_ == bus::kSpringBoardBusName;
  live->hostWatch = connection.addMatch(
      "type='signal',sender='org.freedesktop.DBus',path='/org/freedesktop/DBus',interface='org.freedesktop.DBus',"
      "member='NameOwnerChanged',arg0='" +
          hostName + "'",
      [this, state, home](sdbus::Message& message) {
        std::string name, before, after;
        try {
          message >> name >> before >> after;
        } catch (const std::exception&) {
          return;
        }
        if (after.empty() && state->viewer && handlers_.lost) {
          state->viewer = 0;
          handlers_.lost(home ? "the device's SpringBoard stopped" : hostName_ + " stopped");
        }
      });

  sdbus::UnixFd fd;
  int32_t width = 0, height = 0;
  uint64_t viewer = 0;
  std::string problem;
  try {
    live->proxy->callMethod(display::kAttach)
        .onInterface(display::kInterface)
        .withTimeout(kAttachTimeout)
        .withArguments(scale_)
        .storeResultsTo(fd, width, height, viewer);
  } catch (const sdbus::Error& e) {
    const std::string& name = e.getName();
    problem = name == "org.freedesktop.DBus.Error.ServiceUnknown" || name == "org.freedesktop.DBus.Error.NameHasNoOwner"
                  ? (home ? "SpringBoard is not running on the device" : hostName_ + " is not running on the device")
                  : "the device refused to show its screen: " + e.getMessage();
  }
  std::shared_ptr<const SharedFrame> frame;
  if (problem.empty()) {
    std::string error;
    frame = SharedFrame::adopt(fd.get(), width, height, &error);
    if (!frame) problem = "the device's frame buffer was refused: " + error;
  }
  live_ = std::move(live);
  if (!problem.empty()) {
    if (viewer) {
      live_->viewer = viewer;
      try {
        live_->proxy->callMethod(display::kDetach)
            .onInterface(display::kInterface)
            .withArguments(viewer)
            .dontExpectReply();
      } catch (const std::exception&) {
      }
      live_->viewer = 0;
    }
    if (handlers_.lost) handlers_.lost(problem);
    return;
  }
  live_->viewer = viewer;
  live_->width = width;
  live_->height = height;
  if (handlers_.attached) handlers_.attached(std::move(frame));
}

void BusDisplayClient::detach() {
  const bool wasShowing = live_ && live_->viewer;
  live_.reset();
  if (wasShowing && handlers_.lost) handlers_.lost("the device's bus went away");
}

}  // namespace platform
