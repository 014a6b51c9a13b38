#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/ui/Geometry.h"

typedef struct _cairo_surface cairo_surface_t;

namespace platform {

// How an image is drawn: as its own colours, or as a mask filled with the
// tint colour of the view that shows it (UIImageRenderingMode, same values).
enum class UIImageRenderingMode { Automatic = 0, AlwaysOriginal = 1, AlwaysTemplate = 2 };

// A bitmap image (UIImage): premultiplied ARGB32 pixels held in a Cairo image
// surface, a scale (pixels per point; "@2x"/"@3x" in the file name) and a
// rendering mode. Images are immutable and shared (std::shared_ptr); variants
// such as another rendering mode share the pixels.
class UIImage {
 public:
  // Loads a PNG file; null when the file is missing or not a PNG.
  static std::shared_ptr<UIImage> imageWithContentsOfFile(const std::string& path);
  // Wraps a Cairo ARGB32 image surface (takes a reference) at the given scale; null for a bad surface.
  static std::shared_ptr<UIImage> imageWithSurface(cairo_surface_t* surface, double scale = 1.0);

  ~UIImage();
  UIImage(const UIImage&) = delete;
  UIImage& operator=(const UIImage&) = delete;

  // Size in points (pixels / scale).
  CGSize size() const;
  double scale() const { return scale_; }
  int pixelWidth() const;
  int pixelHeight() const;
  UIImageRenderingMode renderingMode() const { return mode_; }

  // The same pixels drawn with another rendering mode (imageWithRenderingMode:).
  std::shared_ptr<UIImage> imageWithRenderingMode(UIImageRenderingMode mode) const;
  // A copy redrawn to `size` points at this image's scale (smooth filtering), same rendering mode.
  std::shared_ptr<UIImage> imageByResizingTo(CGSize size) const;

  // The pixels, for drawing; owned by the image.
  cairo_surface_t* surface() const { return surface_; }
  // One pixel as non-premultiplied 0xAARRGGBB (0 outside the image).
  uint32_t pixelAt(int x, int y) const;

  UIImage(cairo_surface_t* surface, double scale, UIImageRenderingMode mode);

 private:
  cairo_surface_t* surface_;
  double scale_;
  UIImageRenderingMode mode_;
};

}  // namespace platform
