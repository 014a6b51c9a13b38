#include "platform/ui/UIImage.h"

#include <cairo.h>

#include <cmath>

namespace platform {

namespace {
// "@2x" or "@3x" right before the extension gives the scale.
double scaleFromName(const std::string& path) {
  size_t slash = path.find_last_of('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  size_t dot = name.find_last_of('.');
  std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
  if (stem.size() > 3 && stem[stem.size() - 3] == '@' && stem.back() == 'x') {
    char d = stem[stem.size() - 2];
    if (d >= '1' && d <= '9') return d - '0';
  }
  return 1;
}
}  // namespace

UIImage::UIImage(cairo_surface_t* surface, double scale, UIImageRenderingMode mode)
    : surface_(cairo_surface_reference(surface)), scale_(scale), mode_(mode) {}

UIImage::~UIImage() { cairo_surface_destroy(surface_); }

std::shared_ptr<UIImage> UIImage::imageWithContentsOfFile(const std::string& path) {
  cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(s);
    return nullptr;
  }
  auto image = imageWithSurface(s, scaleFromName(path));
  cairo_surface_destroy(s);
  return image;
}

std::shared_ptr<UIImage> UIImage::imageWithSurface(cairo_surface_t* surface, double scale) {
  if (!surface || cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS ||
      cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE || scale <= 0) {
    return nullptr;
  }
  cairo_surface_t* s = surface;
  bool converted = false;
  if (cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32) {
    // Bring any other pixel format to ARGB32.
    s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, cairo_image_surface_get_width(surface),
                                   cairo_image_surface_get_height(surface));
    cairo_t* cr = cairo_create(s);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    converted = true;
  }
  auto image = std::make_shared<UIImage>(s, scale, UIImageRenderingMode::Automatic);
  if (converted) cairo_surface_destroy(s);
  return image;
}

int UIImage::pixelWidth() const { return cairo_image_surface_get_width(surface_); }
int UIImage::pixelHeight() const { return cairo_image_surface_get_height(surface_); }

CGSize UIImage::size() const { return {pixelWidth() / scale_, pixelHeight() / scale_}; }

std::shared_ptr<UIImage> UIImage::imageWithRenderingMode(UIImageRenderingMode mode) const {
  return std::make_shared<UIImage>(surface_, scale_, mode);
}

std::shared_ptr<UIImage> UIImage::imageByResizingTo(CGSize size) const {
  int w = std::max(1, static_cast<int>(std::lround(size.width * scale_)));
  int h = std::max(1, static_cast<int>(std::lround(size.height * scale_)));
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* cr = cairo_create(s);
  cairo_scale(cr, double(w) / pixelWidth(), double(h) / pixelHeight());
  cairo_set_source_surface(cr, surface_, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  cairo_paint(cr);
  cairo_destroy(cr);
  auto image = std::make_shared<UIImage>(s, scale_, mode_);
  cairo_surface_destroy(s);
  return image;
}

uint32_t UIImage::pixelAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= pixelWidth() || y >= pixelHeight()) return 0;
  cairo_surface_flush(surface_);
  const unsigned char* data = cairo_image_surface_get_data(surface_);
  int stride = cairo_image_surface_get_stride(surface_);
  uint32_t p = *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
  uint32_t a = p >> 24;
  if (a == 0) return 0;
  auto un = [a](uint32_t c) { return std::min<uint32_t>(255, (c * 255 + a / 2) / a); };
  return (a << 24) | (un((p >> 16) & 0xff) << 16) | (un((p >> 8) & 0xff) << 8) | un(p & 0xff);
}

}  // namespace platform
