#pragma once

namespace platform {

// Where the renderer's kept rasters (rounded backgrounds, gradients, image drawings) are laid.
//   Exact:        at the drawing's own position, a fraction of a pixel included: a drawing that moves
//                 by a fraction is drawn anew, so the picture is exactly the drawing.
//   NearestPixel: at the nearest whole pixel, so that a drawing sliding by fractions of a pixel is laid
//                 on again from one raster; for a picture seen only through a blur (under half a pixel
//                 of a reduced picture is lost in it).
enum class RasterPlacement { Exact, NearestPixel };

// The placement in force, process-wide; the renderer sets it around one pass and puts it back. Main thread.
inline RasterPlacement& rasterPlacement() {
  static RasterPlacement placement = RasterPlacement::Exact;
  return placement;
}

}  // namespace platform
