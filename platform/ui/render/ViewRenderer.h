#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/ui/Geometry.h"
#include "platform/ui/render/BackdropBlur.h"
#include "platform/ui/render/LabelPainter.h"
#include "platform/ui/render/RasterCache.h"
#include "platform/ui/render/ShadowPainter.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace platform {

class CALayer;
class UIImage;
class UIView;
class UIWindow;

// Draws view trees into images with Cairo and Pango, at 1x, 2x or 3x pixels
// per point, from the PRESENTED values of every layer (what is on screen at
// the clock's current time, mid-animation included). It draws, back to
// front: shadow, blur of what lies behind (blur views), background with
// rounded corners, gradient or shape fill, the view's content (text, image,
// spinner), the subviews, then the border; with group opacity, transform,
// clipping to rounded bounds, layer masks, the "colorInvert" filter and
// cross-dissolve transitions. Text is laid out by the UI layer's TextLayout,
// so it is drawn exactly as the labels measured it.
//
// A renderer keeps caches between frames: the blur behind each blur view,
// each layer's shadow, rounded background and gradient, and each label's
// text layout are redone only when what they are made from changed. Use one renderer per screen or stream of frames.
//
// When the last frame ended under a blur view that covered every pixel with an opaque blur (Control Center, a
// panel's backdrop), what lies under it shows only blurred: the next frame draws that part at the blur's reduced
// size, blurs it from there and draws the rest at full size. Should the blur no longer cover the frame, that
// frame is drawn again the ordinary way.
// The caller lays the views out first; rendering changes nothing in the views. Main thread.
class ViewRenderer {
 public:
  // Counters for the caches (since construction).
  struct Stats {
    int blursComputed = 0;
    int blursReused = 0;
    int shadowsComputed = 0;
    int shadowsReused = 0;
    int rastersDrawn = 0;  // backgrounds and gradients kept as images
    int rastersReused = 0;
    int textsLaidOut = 0;
    int textsReused = 0;
    int backdropsDrawnSmall = 0;  // frames drawn small under a blur that covers them whole
  };

  ViewRenderer();
  ~ViewRenderer();
  ViewRenderer(const ViewRenderer&) = delete;
  ViewRenderer& operator=(const ViewRenderer&) = delete;

  // The view and its subtree in its own bounds (its position, transform, alpha and hidden
  // flag are not applied), at `scale` pixels per point.
  std::shared_ptr<UIImage> renderView(UIView& view, double scale);
  // The visible windows, back to front, composited on a transparent screen of `size` points.
  std::shared_ptr<UIImage> renderWindows(const std::vector<UIWindow*>& windows, CGSize size, double scale);
  // The device's screen: the application's visible windows in the main screen's bounds.
  std::shared_ptr<UIImage> renderScreen(double scale);

  const Stats& stats() const { return stats_; }

  // Writes an image as PNG; false with a message in `error` when it cannot.
  static bool writePng(const UIImage& image, const std::string& path, std::string* error);
  // Makes the renderer draw the old look of cross-dissolve transitions (UIView's snapshot provider).
  static void installSnapshotProvider(double scale);

 private:
  class Frame;
  friend class Frame;
  struct Occlusion;
  friend class ViewRendererTestApi;

  std::shared_ptr<UIImage> renderInto(double widthPoints, double heightPoints, double scale,
                                      const std::function<void(Frame&)>& draw);
  // Draws the frame under and over `occluder` (see above); false when the occluder no longer covers it.
  bool drawAroundOccluder(UIView& occluder, cairo_surface_t* surface, double scale,
                          const std::function<void(Frame&)>& draw, UIView** covering);
  // One pass of `draw` on `surface` at `scale` pixels per point; false when the pass could not do its part.
  bool drawPass(cairo_t* cr, cairo_surface_t* surface, double scale, const Occlusion& occlusion,
                const std::function<void(Frame&)>& draw, UIView** covering);
  // What is kept between frames for one layer. Each cache checks that what it
  // was made from is unchanged, so a layer that reuses a freed layer's address
  // is never shown stale content.
  struct LayerCache {
    BackdropBlur blur;
    ShadowPainter shadow;
    RasterCache background;
    RasterCache contents;
    LabelPainter label;
    unsigned long lastFrame = 0;
  };
  LayerCache& cacheFor(const CALayer* layer);
  // Forgets the layers that the last frame did not draw.
  void dropUnused();

  // A surface for the next frame: one of the last frames' when nobody holds it any more, else a new one;
  // cleared unless the frame will cover it whole anyway.
  enum class Clear { Yes, No };
  cairo_surface_t* frameSurface(int width, int height, Clear clear);

  std::unordered_map<const CALayer*, std::unique_ptr<LayerCache>> caches_;
  // The surfaces of the last frames, kept (with a reference) to draw into again: fresh memory costs more
  // than clearing. Two, so a caller may hold the previous frame while the next is drawn.
  static constexpr size_t kSpareFrames = 2;
  std::vector<cairo_surface_t*> frames_;
  unsigned long frame_ = 0;
  Stats stats_;
  // The blur view that covered the last frame whole, and that frame's size in pixels and scale.
  std::weak_ptr<UIView> occluder_;
  int occludedWidth_ = 0, occludedHeight_ = 0;
  double occludedScale_ = 0;
  // The small drawing of what lies under the occluder, kept for the next frame.
  cairo_surface_t* beneath_ = nullptr;
  // Whether translucent groups are drawn on surfaces bounded by what they hold (off only to
  // compare with drawing them on surfaces the size of the frame).
  bool boundGroups_ = true;
};

}  // namespace platform
