#include "platform/bus/BusDisplayServer.h"

#include <sdbus-c++/sdbus-c++.h>

#include <atomic>
#include <cmath>
#include <unordered_map>

#include "platform/bus/BusConnection.h"
#include "platform/bus/BusNames.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"

namespace platform {

namespace {

using AttachReply = sdbus::Result<sdbus::UnixFd, int32_t, int32_t, uint64_t>;
using WireRect = sdbus::Struct<int32_t, int32_t, int32_t, int32_t>;

constexpr const char* kOwnerChangedMatch =
    "type='signal',sender='org.freedesktop.DBus',path='/org/freedesktop/DBus',"
    "interface='org.freedesktop.DBus',member='NameOwnerChanged'";

}  // namespace

struct BusDisplayServer::Core {
  BusConnection* bus = nullptr;
  RunLoop* mainLoop = nullptr;
  DisplayServerDelegate* delegate = nullptr;
  const void* quietTarget = nullptr;
  std::atomic<bool> alive{true};  // cleared on the main thread when the server goes
  // Bus thread only.
  uint64_t nextViewer = 1;
  std::unordered_map<uint64_t, std::string> owners;  // viewer -> the peer's unique name
  sdbus::IObject* object = nullptr;

  // Runs `work` with the delegate on the main loop, unless the server is gone by then.
  void toMain(std::function<void(DisplayServerDelegate&)> work, const void* target = nullptr) {
    std::weak_ptr<Core> weak = self;
    mainLoop->post(
        [weak, work = std::move(work)] {
          auto core = weak.lock();
          if (core && core->alive) work(*core->delegate);
        },
        target);
  }
  // Whether the message being handled comes from the peer that owns `viewer`.
  bool ownedBySender(uint64_t viewer) const {
    auto it = owners.find(viewer);
    if (it == owners.end() || !object) return false;
    const sdbus::Message* message = object->getCurrentlyProcessedMessage();
    return message && message->getSender() == it->second;
  }
  void forget(uint64_t viewer) {
    if (owners.erase(viewer)) toMain([viewer](DisplayServerDelegate& d) { d.detachViewer(viewer); });
  }
  std::weak_ptr<Core> self;
};

struct BusDisplayServer::Live {
  std::unique_ptr<sdbus::IObject> object;
  sdbus::Slot ownerWatch;
};

BusDisplayServer::BusDisplayServer(BusConnection& bus, RunLoop& mainLoop, DisplayServerDelegate& delegate,
                                   const void* quietTarget)
    : bus_(bus), core_(std::make_shared<Core>()) {
  core_->bus = &bus;
  core_->mainLoop = &mainLoop;
  core_->delegate = &delegate;
  core_->quietTarget = quietTarget;
  core_->self = core_;
  bus_.addClient(*this);
}

BusDisplayServer::~BusDisplayServer() {
  core_->alive = false;
  bus_.removeClient(*this);
}

void BusDisplayServer::sendFrame(uint64_t viewer, uint32_t sequence, std::vector<FrameRect> changed) {
  std::weak_ptr<Core> weak = core_;
  bus_.post([weak, viewer, sequence, changed = std::move(changed)](sdbus::IConnection*) {
    auto core = weak.lock();
    if (!core || !core->object) return;
    auto owner = core->owners.find(viewer);
    if (owner == core->owners.end()) return;
    std::vector<WireRect> rects;
    rects.reserve(changed.size());
    for (const FrameRect& r : changed) rects.emplace_back(r.x, r.y, r.width, r.height);
    try {
      sdbus::Signal signal = core->object->createSignal(display::kInterface, display::kFrameSignal);
      signal.setDestination(owner->second);
      signal << viewer << sequence << rects;
      core->object->emitSignal(signal);
    } catch (const std::exception& e) {
      Log::write(std::string("display: could not send a frame: ") + e.what());
    }
  });
}

void BusDisplayServer::attach(sdbus::IConnection& connection) {
  auto live = std::make_unique<Live>();
  live->object = sdbus::createObject(connection, display::kPath);
  Core* core = core_.get();
  std::weak_ptr<Core> weak = core_;
  sdbus::IObject& object = *live->object;

  object.registerMethod(display::kAttach)
      .onInterface(display::kInterface)
      .implementedAs([core, weak, &object](AttachReply&& reply, double scale) {
        try {
          if (!(scale == 0 || (scale >= display::kMinScale && scale <= display::kMaxScale)))
            return reply.returnError(
                sdbus::Error("org.tessra.Error.BadScale", "the scale must lie between 0.25 and 4"));
          const sdbus::Message* message = object.getCurrentlyProcessedMessage();
          const uint64_t viewer = core->nextViewer++;
          core->owners[viewer] = message ? message->getSender() : std::string();
          auto shared = std::make_shared<AttachReply>(std::move(reply));
          core->toMain([weak, viewer, scale, shared](DisplayServerDelegate& delegate) {
            DisplayServerDelegate::Attached attached = delegate.attachViewer(viewer, scale);
            auto fd = std::make_shared<sdbus::UnixFd>();
            if (attached.error.empty()) *fd = sdbus::UnixFd(attached.fd);  // duplicated while the buffer lives
            auto core = weak.lock();
            if (!core) return;
            core->bus->post([weak, viewer, shared, fd, attached](sdbus::IConnection*) {
              auto core = weak.lock();
              try {
                if (!core || !core->object || !core->owners.count(viewer)) return;  // gone meanwhile
                if (!attached.error.empty() || fd->get() < 0) {
                  core->owners.erase(viewer);
                  shared->returnError(sdbus::Error("org.tessra.Error.Display",
                                                   attached.error.empty() ? "no frame buffer" : attached.error));
                  return;
                }
                shared->returnResults(std::move(*fd), attached.width, attached.height, viewer);
              } catch (const std::exception& e) {
                Log::write(std::string("display: could not answer a viewer: ") + e.what());
              }
            });
          });
        } catch (const std::exception& e) {
          Log::write(std::string("display: an attach request failed: ") + e.what());
        }
      })
      .withInputParamNames("scale")
      .withOutputParamNames("frame", "width", "height", "viewer");

  object.registerMethod(display::kDetach)
      .onInterface(display::kInterface)
      .implementedAs([core](uint64_t viewer) {
        if (core->ownedBySender(viewer)) core->forget(viewer);
      })
      .withNoReply();
  object.registerMethod(display::kShown)
      .onInterface(display::kInterface)
      .implementedAs([core](uint64_t viewer, uint32_t sequence) {
        if (!core->ownedBySender(viewer)) return;
        core->toMain([viewer, sequence](DisplayServerDelegate& d) { d.frameShown(viewer, sequence); },
                     core->quietTarget);
      })
      .withNoReply();
  object.registerMethod(display::kTouch)
      .onInterface(display::kInterface)
      .implementedAs([core](uint64_t viewer, int32_t phase, double x, double y) {
        if (!core->ownedBySender(viewer) || phase < 0 || phase > 4 || !std::isfinite(x) || !std::isfinite(y)) return;
        core->toMain([viewer, phase, x, y](DisplayServerDelegate& d) { d.touch(viewer, phase, x, y); });
      })
      .withNoReply();
  object.registerMethod(display::kKey)
      .onInterface(display::kInterface)
      .implementedAs([core](uint64_t viewer, std::string name, bool down) {
        auto key = display::keyNamed(name);
        if (!key || !core->ownedBySender(viewer)) return;
        core->toMain([viewer, key = *key, down](DisplayServerDelegate& d) { d.key(viewer, key, down); });
      })
      .withNoReply();
  object.registerSignal(display::kFrameSignal)
      .onInterface(display::kInterface)
      .withParameters<uint64_t, uint32_t, std::vector<WireRect>>("viewer", "sequence", "changed");
  object.finishRegistration();

  // A viewer whose process ends (or drops its connection) leaves without saying so.
  live->ownerWatch = connection.addMatch(kOwnerChangedMatch, [core](sdbus::Message& message) {
    try {
      std::string name, before, after;
      message >> name >> before >> after;
      if (!after.empty()) return;
      std::vector<uint64_t> gone;
      for (const auto& [viewer, owner] : core->owners)
        if (owner == name) gone.push_back(viewer);
      for (uint64_t viewer : gone) core->forget(viewer);
    } catch (const std::exception&) {
    }
  });
  core->object = live->object.get();
  live_ = std::move(live);
}

void BusDisplayServer::detach() {
  // The connection is going: every viewer with it.
  std::vector<uint64_t> viewers;
  for (const auto& entry : core_->owners) viewers.push_back(entry.first);
  for (uint64_t viewer : viewers) core_->forget(viewer);
  core_->object = nullptr;
  live_.reset();
}

}  // namespace platform
