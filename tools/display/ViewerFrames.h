#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/bus/BusDisplayServer.h"
#include "platform/bus/FrameDamage.h"
#include "platform/bus/SharedFrame.h"
#include "platform/ui/Geometry.h"

namespace platform {
class UIImage;
class ViewRenderer;
}  // namespace platform

namespace tessra::display {

// The frames a program shows to the viewers of its screen over the device bus
// (the windows of `tessra device show`, the home screen showing an app's
// scene): one shared buffer per viewer, the last frame drawn at each scale a
// viewer asked for, and the rectangles each viewer has not been sent yet. A
// new frame is compared with the last one of its scale and each viewer gets
// only what changed; a viewer that has not copied its last frame is not
// written to, and its changes add up until it has. Sending goes through the
// function given, so the owner keeps its display server. Main thread.
class ViewerFrames {
 public:
  using Send = std::function<void(uint64_t viewer, uint32_t sequence, std::vector<platform::FrameRect> changed)>;
  // Draws the screen at `scale` with `renderer` (one per scale, kept); null when it cannot.
  using Render = std::function<std::shared_ptr<platform::UIImage>(platform::ViewRenderer& renderer, double scale)>;

  // At most `maxViewers` at once; `busy` is the refusal given to one more.
  ViewerFrames(size_t maxViewers, std::string busy, Send send);
  ~ViewerFrames();
  ViewerFrames(const ViewerFrames&) = delete;
  ViewerFrames& operator=(const ViewerFrames&) = delete;

  // A new viewer of a screen of `points` at `scale`: its buffer, or the reason it has none.
  platform::DisplayServerDelegate::Attached attach(uint64_t viewer, double scale, platform::CGSize points);
  // Forgets a viewer (and the last frame of its scale when no other viewer uses that scale).
  void detach(uint64_t viewer);
  // The viewer copied frame `sequence`: it gets what changed since, if anything did.
  void shown(uint64_t viewer, uint32_t sequence);
  bool empty() const { return viewers_.empty(); }

  // Draws each scale some viewer uses once and sends every viewer what changed; the frames drawn.
  size_t drawAndSend(const Render& render);

 private:
  struct Viewer {
    double scale = 1;
    std::unique_ptr<platform::SharedFrame> frame;
    std::vector<platform::FrameRect> pending;  // changed since the last frame sent
    uint32_t sequence = 0;
    bool waiting = false;  // the last frame sent is not yet copied
  };
  struct Drawn {
    std::unique_ptr<platform::ViewRenderer> renderer;
    std::shared_ptr<platform::UIImage> image;  // the last frame drawn at this scale
  };

  // Sends the viewer what changed for it, unless it still holds the previous frame.
  void send(uint64_t id, Viewer& viewer);

  size_t maxViewers_;
  std::string busy_;
  Send send_;
  std::map<uint64_t, Viewer> viewers_;
  std::map<double, Drawn> drawn_;  // by scale
};

}  // namespace tessra::display
