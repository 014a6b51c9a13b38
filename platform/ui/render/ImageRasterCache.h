#pragma once

#include <array>
#include <functional>
#include <optional>

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace platform {

struct CGRect;

// Resampling a scaled image with a smooth filter is the costly part of drawing
// icons, and a settings page draws the same few icons at the same size in many
// rows and frames. This keeps what an image drawing put on the pixels, as a
// device-aligned raster, and lays it on again while the image, the transform
// (up to a move by whole pixels), the target's pixel grid, a clip that cuts the
// drawing and the colours are unchanged. The raster is made on a surface with
// the target's own pixel grid, so in place it is exactly the drawing; moved by
// whole pixels it differs from drawing anew by at most one step of a colour
// channel (the resampling's fixed-point rounding). Process-wide, bounded, most
// recently used kept; holds a reference on each image it keeps. Main thread.
class ImageRasterCache {
 public:
  using DrawFn = std::function<void(cairo_t*)>;

  // Draws on `cr` what `draw` draws inside `clip` (user space) from `image`'s pixels,
  // `paint` being described by `look` (every value the drawing depends on besides the
  // image, the transform and the clip). Draws directly when the raster cannot stand for it.
  static void paint(cairo_t* cr, cairo_surface_t* image, const CGRect& clip, const double* look, int lookCount,
                    const DrawFn& draw);

  // The device pixel at which the current group surface would start if the renderer had not
  // cut it to what it draws: rasters are made on the surface that group would have had, so
  // they come out the same whatever the cut. None: the target's own origin.
  static std::optional<std::array<int, 2>>& gridOrigin();

 private:
  friend class ImageRasterCacheTestApi;
  static bool& enabled();
  // Drawings laid on again from a kept raster.
  static int& reused();
};

}  // namespace platform
