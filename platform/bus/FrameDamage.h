#pragma once

#include <cstdint>
#include <vector>

#include "platform/bus/DisplayChannel.h"

namespace platform {

// Finds what changed between two frames of the same size, as a few
// rectangles to send instead of the whole frame. Frames are compared in
// tiles (kTile pixels square, whole rows of a tile at a time, so the
// comparison reads memory in order); changed tiles side by side become one
// rectangle, and rectangles of the same columns in consecutive tile rows are
// joined. More than display::kMaxRects rectangles become their bounding box.
// Stateless.
class FrameDamage {
 public:
  static constexpr int kTile = 32;

  // The changed rectangles between `before` and `after` (both width x height ARGB32, `stride` bytes per row).
  static std::vector<FrameRect> between(const uint8_t* before, const uint8_t* after, int width, int height, int stride);
  // Adds `more` to `into`, keeping at most display::kMaxRects rectangles (their bounding box when more).
  static void add(std::vector<FrameRect>& into, const std::vector<FrameRect>& more);
  // The smallest rectangle holding all of `rects` (empty for none).
  static FrameRect bounds(const std::vector<FrameRect>& rects);
};

}  // namespace platform
