#include "platform/bus/FrameDamage.h"

#include <algorithm>
#include <cstring>

namespace platform {

std::vector<FrameRect> FrameDamage::between(const uint8_t* before, const uint8_t* after, int width, int height,
                                            int stride) {
  std::vector<FrameRect> rects;
  if (!before || !after || width <= 0 || height <= 0) return rects;
  const int columns = (width + kTile - 1) / kTile;
  std::vector<char> changed(static_cast<size_t>(columns));
  // Rectangles still growing downwards: those of the previous tile row.
  std::vector<size_t> open, stillOpen;
  for (int top = 0; top < height; top += kTile) {
    const int bottom = std::min(top + kTile, height);
    std::fill(changed.begin(), changed.end(), 0);
    int left = 0;  // tiles before this one are known to differ or not
    for (int y = top; y < bottom; ++y) {
      const size_t row = static_cast<size_t>(y) * stride;
      for (int c = left; c < columns; ++c) {
        if (changed[static_cast<size_t>(c)]) continue;
        const int x0 = c * kTile, x1 = std::min(x0 + kTile, width);
        if (std::memcmp(before + row + x0 * 4, after + row + x0 * 4, static_cast<size_t>(x1 - x0) * 4) != 0)
          changed[static_cast<size_t>(c)] = 1;
      }
      while (left < columns && changed[static_cast<size_t>(left)]) ++left;
    }
    stillOpen.clear();
    for (int c = 0; c < columns;) {
      if (!changed[static_cast<size_t>(c)]) {
        ++c;
        continue;
      }
      int end = c;
      while (end < columns && changed[static_cast<size_t>(end)]) ++end;
      FrameRect run{c * kTile, top, std::min(end * kTile, width) - c * kTile, bottom - top};
      auto joined = std::find_if(open.begin(), open.end(), [&](size_t i) {
        return rects[i].x == run.x && rects[i].width == run.width && rects[i].y + rects[i].height == top;
      });
      if (joined != open.end()) {
        rects[*joined].height += run.height;
        stillOpen.push_back(*joined);
      } else {
        rects.push_back(run);
        stillOpen.push_back(rects.size() - 1);
      }
      c = end;
    }
    open.swap(stillOpen);
    if (rects.size() > display::kMaxRects) return {bounds(rects)};
  }
  return rects;
}

void FrameDamage::add(std::vector<FrameRect>& into, const std::vector<FrameRect>& more) {
  for (const FrameRect& r : more)
    if (!r.empty()) into.push_back(r);
  if (into.size() > display::kMaxRects) into = {bounds(into)};
}

FrameRect FrameDamage::bounds(const std::vector<FrameRect>& rects) {
  FrameRect box;
  bool first = true;
  for (const FrameRect& r : rects) {
    if (r.empty()) continue;
    if (first) {
      box = r;
      first = false;
      continue;
    }
    const int32_t x0 = std::min(box.x, r.x), y0 = std::min(box.y, r.y);
    const int32_t x1 = std::max(box.x + box.width, r.x + r.width), y1 = std::max(box.y + box.height, r.y + r.height);
    box = {x0, y0, x1 - x0, y1 - y0};
  }
  return box;
}

}  // namespace platform
