#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/bus/BusClient.h"
#include "platform/bus/DisplayChannel.h"
#include "platform/bus/SharedFrame.h"

namespace platform {

class BusConnection;

// A viewer's side of the display channel (DisplayChannel.h): on every
// connection it asks the home-screen host (or another process that exports
// the channel, such as the Settings app) for frames at its scale, maps the
// shared buffer it is given (refusing a bad descriptor or size), and reports
// each frame the host announces, with the changed rectangles clipped to the
// buffer. Touches, keys and "shown" go back without waiting for an answer.
// The handlers run on the bus thread; shown(), touch() and key() may be
// called from any thread. Destroying it tells the host it left. Registers
// itself with `bus`, which must outlive it.
class BusDisplayClient final : public BusClient {
 public:
  struct Handlers {
    // A new buffer to show (after every connection); the frames that follow are written into it.
    std::function<void(std::shared_ptr<const SharedFrame> frame)> attached;
    // Frame `sequence` is in the buffer; `changed` lies inside it. Call shown() once it was copied.
    std::function<void(uint32_t sequence, std::vector<FrameRect> changed)> frame;
    // No frames come any more: the host refused, stopped, or the bus went away; a sentence for the user.
    std::function<void(std::string reason)> lost;
  };

  // A viewer of the display that the process owning `hostName` exports (the home screen's, unless another).
  BusDisplayClient(BusConnection& bus, double scale, Handlers handlers, std::string hostName = {});
  ~BusDisplayClient() override;
  BusDisplayClient(const BusDisplayClient&) = delete;
  BusDisplayClient& operator=(const BusDisplayClient&) = delete;

  // The frame `sequence` was copied out: the host may write the buffer again.
  void shown(uint32_t sequence);
  // A finger at `x`, `y` points of the device screen; `phase` as UITouchPhase.
  void touch(int phase, double x, double y);
  void key(DisplayKey key, bool down);

  void attach(sdbus::IConnection& connection) override;
  void detach() override;

  // Clips announced rectangles to a width x height buffer, dropping empty ones and all beyond display::kMaxRects.
  static std::vector<FrameRect> clipped(const std::vector<FrameRect>& rects, int width, int height);

 private:
  struct Live;
  BusConnection& bus_;
  double scale_;
  Handlers handlers_;
  std::string hostName_;
  std::unique_ptr<Live> live_;  // bus thread only
};

}  // namespace platform
