#include "platform/ui/render/RasterCache.h"

#include <cairo.h>

#include <cmath>

#include "platform/ui/render/RasterPlacement.h"

namespace platform {

namespace {

// Larger drawings are not kept (a full 3x tablet screen is about 12 million pixels).
constexpr double kMaxPixels = 16e6;

}  // namespace

RasterCache::~RasterCache() {
  if (image_) cairo_surface_destroy(image_);
}

bool RasterCache::paint(cairo_t* cr, const CGRect& rect, std::string key, const DrawFn& draw) {
  lastHit_ = false;
  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  const CGRect r = CGRectStandardize(rect);
  if (m.xy != 0 || m.yx != 0 || m.xx <= 0 || m.yy <= 0 || r.size.width <= 0 || r.size.height <= 0) return false;
  // Device position of the rectangle's corner: whole pixels, and the fraction in 1/256ths.
  double x = r.origin.x, y = r.origin.y;
  cairo_user_to_device(cr, &x, &y);
  const bool nearest = rasterPlacement() == RasterPlacement::NearestPixel;
  const double wholeX = nearest ? std::round(x) : std::floor(x), wholeY = nearest ? std::round(y) : std::floor(y);
  const double fractionX = nearest ? 0 : std::round((x - wholeX) * 256) / 256;
  const double fractionY = nearest ? 0 : std::round((y - wholeY) * 256) / 256;
  const int width = static_cast<int>(std::ceil(fractionX + r.size.width * m.xx));
  const int height = static_cast<int>(std::ceil(fractionY + r.size.height * m.yy));
  if (width <= 0 || height <= 0 || static_cast<double>(width) * height > kMaxPixels) return false;
  append(key, r.size);
  append(key, m.xx);
  append(key, m.yy);
  append(key, fractionX);
  append(key, fractionY);

  lastHit_ = image_ && key == key_;
  if (!lastHit_) {
    if (!image_ || cairo_image_surface_get_width(image_) != width || cairo_image_surface_get_height(image_) != height) {
      if (image_) cairo_surface_destroy(image_);
      image_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    }
    cairo_t* g = cairo_create(image_);
    cairo_set_operator(g, CAIRO_OPERATOR_CLEAR);
    cairo_paint(g);
    cairo_set_operator(g, CAIRO_OPERATOR_OVER);
    cairo_translate(g, fractionX, fractionY);
    cairo_scale(g, m.xx, m.yy);
    cairo_translate(g, -r.origin.x, -r.origin.y);
    draw(g);
    cairo_destroy(g);
    cairo_surface_flush(image_);
    key_ = std::move(key);
  }
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_set_source_surface(cr, image_, wholeX, wholeY);
  cairo_paint(cr);
  cairo_restore(cr);
  return true;
}

}  // namespace platform
