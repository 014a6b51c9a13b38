#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/bus/BusClient.h"
#include "platform/bus/DisplayChannel.h"

namespace platform {

class BusConnection;
class RunLoop;

// What the display channel asks of the host's screen. Called on the host's main loop.
class DisplayServerDelegate {
 public:
  // A shared buffer for a new viewer, or why there is none.
  struct Attached {
    int fd = -1;  // borrowed: the buffer's own descriptor, duplicated for the reply
    int width = 0;
    int height = 0;
    std::string error;
  };
  virtual ~DisplayServerDelegate() = default;
  // A viewer asks for frames at `scale` pixels per point (0: the device's own).
  virtual Attached attachViewer(uint64_t viewer, double scale) = 0;
  // The viewer left (asked to, closed its connection, or the bus was lost).
  virtual void detachViewer(uint64_t viewer) = 0;
  // The viewer copied frame `sequence` out of its buffer.
  virtual void frameShown(uint64_t viewer, uint32_t sequence) = 0;
  // A finger at `x`, `y` points; `phase` as UITouchPhase.
  virtual void touch(uint64_t viewer, int phase, double x, double y) = 0;
  virtual void key(uint64_t viewer, DisplayKey key, bool down) = 0;
};

// The host's side of the display channel (DisplayChannel.h): exports the
// display object on the host's connection, numbers the viewers, remembers
// which bus peer each belongs to and treats a peer that leaves the bus as
// detached, and sends each viewer its frames. Requests are handed to the
// delegate on `mainLoop`; "Shown" is posted with `quietTarget`, so that a
// task observer that redraws after every change can tell it apart. Touches
// and keys from a peer for a viewer that is not its own are ignored.
// Registers itself with `bus`, which must outlive it; the delegate must too.
class BusDisplayServer final : public BusClient {
 public:
  BusDisplayServer(BusConnection& bus, RunLoop& mainLoop, DisplayServerDelegate& delegate,
                   const void* quietTarget = nullptr);
  ~BusDisplayServer() override;
  BusDisplayServer(const BusDisplayServer&) = delete;
  BusDisplayServer& operator=(const BusDisplayServer&) = delete;

  // Tells `viewer` that frame `sequence` is in its buffer, with what changed (any thread).
  void sendFrame(uint64_t viewer, uint32_t sequence, std::vector<FrameRect> changed);

  void attach(sdbus::IConnection& connection) override;
  void detach() override;

 private:
  struct Core;
  struct Live;
  BusConnection& bus_;
  std::shared_ptr<Core> core_;
  std::unique_ptr<Live> live_;  // bus thread only
};

}  // namespace platform
