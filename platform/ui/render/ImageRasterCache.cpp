#include "platform/ui/render/ImageRasterCache.h"

#include <cairo.h>

#include <cmath>
#include <cstring>
#include <list>
#include <vector>

#include "platform/ui/Geometry.h"
#include "platform/ui/render/RasterPlacement.h"

namespace platform {

namespace {

constexpr size_t kCapacity = 64;
// And at most this many pixels in all (32 MB).
constexpr double kMaxKeptPixels = 8e6;
// Larger drawings are drawn directly (the raster is made on a surface reaching from the
// target's origin to the drawing's far corner).
constexpr double kMaxScratchPixels = 4e6;

// One kept drawing: the image it came from (referenced, so its address stays its own),
// what it depends on, and the pixels it put at (x, y) from the whole pixels of the
// drawing's translation, in device space.
struct Entry {
  cairo_surface_t* image = nullptr;
  std::vector<double> key;
  cairo_surface_t* raster = nullptr;
  int x = 0, y = 0;
  Entry(cairo_surface_t* i, std::vector<double> k, cairo_surface_t* r, int px, int py)
      : image(cairo_surface_reference(i)), key(std::move(k)), raster(r), x(px), y(py) {}
  ~Entry() {
    cairo_surface_destroy(raster);
    cairo_surface_destroy(image);
  }
  Entry(const Entry&) = delete;
  Entry& operator=(const Entry&) = delete;
};

std::list<Entry>& entries() {
  static std::list<Entry> list;
  return list;
}

// The device rectangle the current clip is when it is one rectangle on whole pixels.
bool pixelAlignedClip(cairo_t* cr, double box[4]) {
  cairo_rectangle_list_t* list = cairo_copy_clip_rectangle_list(cr);
  bool ok = list->status == CAIRO_STATUS_SUCCESS && list->num_rectangles == 1;
  if (ok) {
    const cairo_rectangle_t& r = list->rectangles[0];
    box[0] = r.x, box[1] = r.y, box[2] = r.x + r.width, box[3] = r.y + r.height;
    for (int i = 0; i < 4; ++i) ok = ok && box[i] == std::floor(box[i]);
  }
  cairo_rectangle_list_destroy(list);
  return ok;
}

void drawDirectly(cairo_t* cr, const CGRect& clip, const ImageRasterCache::DrawFn& draw) {
  cairo_save(cr);
  cairo_rectangle(cr, clip.origin.x, clip.origin.y, clip.size.width, clip.size.height);
  cairo_clip(cr);
  draw(cr);
  cairo_restore(cr);
}

}  // namespace

std::optional<std::array<int, 2>>& ImageRasterCache::gridOrigin() {
  static std::optional<std::array<int, 2>> origin;
  return origin;
}

bool& ImageRasterCache::enabled() {
  static bool on = true;
  return on;
}

int& ImageRasterCache::reused() {
  static int count = 0;
  return count;
}

void ImageRasterCache::paint(cairo_t* cr, cairo_surface_t* image, const CGRect& clip, const double* look, int lookCount,
                             const DrawFn& draw) {
  cairo_surface_t* target = cairo_get_group_target(cr);
  double scaleX = 1, scaleY = 1;
  cairo_surface_get_device_scale(target, &scaleX, &scaleY);
  if (!enabled() || cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE || scaleX != 1 || scaleY != 1)
    return drawDirectly(cr, clip, draw);

  cairo_matrix_t ctm;
  cairo_get_matrix(cr, &ctm);
  if (rasterPlacement() == RasterPlacement::NearestPixel && ctm.xy == 0 && ctm.yx == 0) {
    ctm.x0 = std::round(ctm.x0);
    ctm.y0 = std::round(ctm.y0);
  }
  // Only under a clip of whole pixels is laying the raster on the same as drawing: the clip
  // then cuts neither, and the raster is made under the same clip.
  cairo_save(cr);
  cairo_identity_matrix(cr);
  double clipBox[4];
  const bool aligned = pixelAlignedClip(cr, clipBox);
  cairo_restore(cr);
  if (!aligned) return drawDirectly(cr, clip, draw);
  // Device box of the drawing within the clip.
  double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
  for (int corner = 0; corner < 4; ++corner) {
    double x = clip.origin.x + (corner & 1 ? clip.size.width : 0);
    double y = clip.origin.y + (corner & 2 ? clip.size.height : 0);
    cairo_matrix_transform_point(&ctm, &x, &y);
    minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
  }
  if (!std::isfinite(minX + minY + maxX + maxY)) return drawDirectly(cr, clip, draw);
  const int x0 = static_cast<int>(std::max(std::floor(minX), clipBox[0]));
  const int y0 = static_cast<int>(std::max(std::floor(minY), clipBox[1]));
  const int x1 = static_cast<int>(std::min(std::ceil(maxX), clipBox[2]));
  const int y1 = static_cast<int>(std::min(std::ceil(maxY), clipBox[3]));
  if (x1 <= x0 || y1 <= y0) return;  // all clipped away
  double offsetX = 0, offsetY = 0;
  cairo_surface_get_device_offset(target, &offsetX, &offsetY);
  if (const auto& grid = gridOrigin()) {
    offsetX = -(*grid)[0];
    offsetY = -(*grid)[1];
  }
  const double scratchWidth = x1 + offsetX, scratchHeight = y1 + offsetY;
  if (x0 + offsetX < 0 || y0 + offsetY < 0 || scratchWidth * scratchHeight > kMaxScratchPixels)
    return drawDirectly(cr, clip, draw);

  // A drawing moved by whole pixels is laid on again from its raster: the key holds the
  // transform's fraction of a pixel and, only when the clip cuts the drawing, the clip relative
  // to the transform's whole pixels; the raster's place is kept relative to them too. (Icons
  // sliding by whole points then hit the cache.)
  const double baseX = std::floor(ctm.x0), baseY = std::floor(ctm.y0);
  const bool clipCuts = std::floor(minX) < clipBox[0] || std::floor(minY) < clipBox[1] ||
                        std::ceil(maxX) > clipBox[2] || std::ceil(maxY) > clipBox[3];
  std::vector<double> key = {ctm.xx,
                             ctm.yx,
                             ctm.xy,
                             ctm.yy,
                             ctm.x0 - baseX,
                             ctm.y0 - baseY,
                             offsetX,
                             offsetY,
                             clip.origin.x,
                             clip.origin.y,
                             clip.size.width,
                             clip.size.height,
                             clipCuts ? clipBox[0] - baseX : 0,
                             clipCuts ? clipBox[1] - baseY : 0,
                             clipCuts ? clipBox[2] - baseX : 0,
                             clipCuts ? clipBox[3] - baseY : 0};
  key.insert(key.end(), look, look + lookCount);
  auto& list = entries();
  auto it = list.begin();
  while (it != list.end() && !(it->image == image && it->key == key)) ++it;
  if (it == list.end()) {
    // Drawn on a surface with the target's pixel grid, so the image is resampled exactly as
    // it would be on the target, then the drawing's box is kept.
    cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(scratchWidth),
                                                          static_cast<int>(scratchHeight));
    cairo_surface_set_device_offset(scratch, offsetX, offsetY);
    cairo_t* g = cairo_create(scratch);
    cairo_rectangle(g, clipBox[0], clipBox[1], clipBox[2] - clipBox[0], clipBox[3] - clipBox[1]);
    cairo_clip(g);
    cairo_set_matrix(g, &ctm);
    drawDirectly(g, clip, draw);
    cairo_destroy(g);
    cairo_surface_flush(scratch);
    cairo_surface_t* raster = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, x1 - x0, y1 - y0);
    cairo_surface_flush(raster);
    const int from = cairo_image_surface_get_stride(scratch), to = cairo_image_surface_get_stride(raster);
    const unsigned char* src = cairo_image_surface_get_data(scratch);
    unsigned char* dst = cairo_image_surface_get_data(raster);
    for (int row = 0; row < y1 - y0; ++row) {
      std::memcpy(dst + static_cast<size_t>(row) * to,
                  src + static_cast<size_t>(row + y0 + static_cast<int>(offsetY)) * from +
                      static_cast<size_t>(x0 + static_cast<int>(offsetX)) * 4,
                  static_cast<size_t>(x1 - x0) * 4);
    }
    cairo_surface_mark_dirty(raster);
    cairo_surface_destroy(scratch);
    list.emplace_front(image, std::move(key), raster, x0 - static_cast<int>(baseX), y0 - static_cast<int>(baseY));
    double kept = 0;
    for (const Entry& e : list)
      kept += double(cairo_image_surface_get_width(e.raster)) * cairo_image_surface_get_height(e.raster);
    while (list.size() > 1 && (list.size() > kCapacity || kept > kMaxKeptPixels)) {
      kept -= double(cairo_image_surface_get_width(list.back().raster)) *
              cairo_image_surface_get_height(list.back().raster);
      list.pop_back();
    }
    it = list.begin();
  } else {
    ++reused();
    list.splice(list.begin(), list, it);
    it = list.begin();
  }
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_set_source_surface(cr, it->raster, baseX + it->x, baseY + it->y);
  cairo_paint(cr);
  cairo_restore(cr);
}

}  // namespace platform
