#pragma once

#include <functional>
#include <string>

#include "platform/ui/Geometry.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace platform {

// Keeps the device pixels of one drawing that fills a rectangle (a rounded
// background, a gradient) so that the next frame copies them instead of
// rasterizing again. The kept image is reused while the caller's key (what
// the drawing depends on), the rectangle's size, the scale and the sub-pixel
// position are the same; whole-pixel moves still hit. Only axis-aligned
// scales can be copied pixel for pixel: for rotations and skews paint()
// declines and the caller draws directly. Owns its image.
class RasterCache {
 public:
  using DrawFn = std::function<void(cairo_t* cr)>;

  RasterCache() = default;
  ~RasterCache();
  RasterCache(const RasterCache&) = delete;
  RasterCache& operator=(const RasterCache&) = delete;

  // Copies the drawing of `rect` (user space of `cr`) onto `cr`, drawing it anew with `draw` (in the same
  // user space) when `key` or the placement changed. False, with nothing drawn, when it cannot be kept.
  bool paint(cairo_t* cr, const CGRect& rect, std::string key, const DrawFn& draw);
  // Whether the last paint copied the kept image.
  bool lastWasCacheHit() const { return lastHit_; }

  // Appends a value's bytes to a key.
  template <typename T>
  static void append(std::string& key, const T& value) {
    key.append(reinterpret_cast<const char*>(&value), sizeof(T));
  }

 private:
  cairo_surface_t* image_ = nullptr;
  std::string key_;
  bool lastHit_ = false;
};

}  // namespace platform
