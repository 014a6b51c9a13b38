#include "platform/ui/render/ViewRenderer.h"

#include <cairo.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <optional>

#include "platform/ui/CAGradientLayer.h"
#include "platform/ui/CAShapeLayer.h"
#include "platform/ui/UIActivityIndicatorView.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIVisualEffectView.h"
#include "platform/ui/UIWindow.h"
#include "platform/ui/render/ContentPainter.h"
#include "platform/ui/render/ImageRasterCache.h"
#include "platform/ui/render/LayerPainter.h"
#include "platform/ui/render/PathTracing.h"
#include "platform/ui/render/RasterPlacement.h"

namespace platform {

namespace {

// Views this transparent are not drawn (as the platform skips them for touches too).
constexpr double kInvisibleAlpha = 0.001;

// The look of each blur style: spread in points, saturation and the colour laid over.
BlurLook lookFor(UIBlurEffectStyle style) {
  switch (style) {
    case UIBlurEffectStyle::ExtraLight:
    case UIBlurEffectStyle::Prominent: return {10, 1.8, UIColor(0.97, 0.97, 0.97, 0.78)};
    case UIBlurEffectStyle::Light:
    case UIBlurEffectStyle::Regular: return {10, 1.8, UIColor(1, 1, 1, 0.3)};
    case UIBlurEffectStyle::Dark: return {10, 1.8, UIColor(0.11, 0.11, 0.11, 0.73)};
  }
  return {};
}

// `top` laid over `bottom` (source-over) as one colour.
UIColor over(const UIColor& top, const UIColor& bottom) {
  const double at = std::clamp(top.alpha(), 0.0, 1.0), ab = std::clamp(bottom.alpha(), 0.0, 1.0);
  const double alpha = at + ab * (1 - at);
  if (alpha <= 0) return UIColor(0, 0, 0, 0);
  auto mix = [&](double t, double b) { return (t * at + b * ab * (1 - at)) / alpha; };
  return UIColor(mix(top.red(), bottom.red()), mix(top.green(), bottom.green()), mix(top.blue(), bottom.blue()), alpha);
}

bool hasFilter(const CALayer& layer, const char* name) {
  for (const auto& f : layer.filters())
    if (f.name == name) return true;
  return false;
}

// Inverts the colours of a premultiplied image surface in place, keeping alpha.
void invertColors(cairo_surface_t* surface) {
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  if (!data) return;
  const int width = cairo_image_surface_get_width(surface), height = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < width; ++x) {
      const uint32_t p = row[x];
      const uint32_t a = p >> 24;
      const uint32_t r = a - ((p >> 16) & 0xFF), g = a - ((p >> 8) & 0xFF), b = a - (p & 0xFF);
      row[x] = (a << 24) | (r << 16) | (g << 8) | b;
    }
  }
  cairo_surface_mark_dirty(surface);
}

// Device-pixel bounding box of a rectangle in the context's user space.
PixelRect deviceBox(cairo_t* cr, const CGRect& r) {
  double xs[4] = {r.origin.x, r.origin.x + r.size.width, r.origin.x, r.origin.x + r.size.width};
  double ys[4] = {r.origin.y, r.origin.y, r.origin.y + r.size.height, r.origin.y + r.size.height};
  double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
  for (int i = 0; i < 4; ++i) {
    cairo_user_to_device(cr, &xs[i], &ys[i]);
    minX = std::min(minX, xs[i]);
    maxX = std::max(maxX, xs[i]);
    minY = std::min(minY, ys[i]);
    maxY = std::max(maxY, ys[i]);
  }
  PixelRect box;
  box.x = static_cast<int>(std::floor(minX));
  box.y = static_cast<int>(std::floor(minY));
  box.width = static_cast<int>(std::ceil(maxX)) - box.x;
  box.height = static_cast<int>(std::ceil(maxY)) - box.y;
  return box;
}

PixelRect intersect(const PixelRect& a, const PixelRect& b) {
  const int x0 = std::max(a.x, b.x), y0 = std::max(a.y, b.y);
  const int x1 = std::min(a.x + a.width, b.x + b.width), y1 = std::min(a.y + a.height, b.y + b.height);
  if (x1 <= x0 || y1 <= y0) return {};
  return {x0, y0, x1 - x0, y1 - y0};
}

bool isEmpty(const PixelRect& r) { return r.width <= 0 || r.height <= 0; }

// The smallest rectangle holding both (an empty one adds nothing).
PixelRect unite(const PixelRect& a, const PixelRect& b) {
  if (isEmpty(a)) return b;
  if (isEmpty(b)) return a;
  const int x0 = std::min(a.x, b.x), y0 = std::min(a.y, b.y);
  const int x1 = std::max(a.x + a.width, b.x + b.width), y1 = std::max(a.y + a.height, b.y + b.height);
  return {x0, y0, x1 - x0, y1 - y0};
}

// A shape mask that a clip can stand for: an opaque filled path at full opacity.
const CAShapeLayer* clippableShapeMask(const CALayer& layer) {
  auto* shape = dynamic_cast<const CAShapeLayer*>(layer.mask().get());
  if (!shape || shape->isHidden() || !shape->path() || !shape->fillColor()) return nullptr;
  if (shape->fillColor()->alpha() < 1 || shape->borderWidth() > 0) return nullptr;
  const CALayer::Presentation p = shape->presentation();
  if (p.opacity < 1 || (p.backgroundColor && p.backgroundColor->alpha() > 0)) return nullptr;
  return shape;
}

}  // namespace

// How one pass draws a frame that an opaque blur view covers whole (the occluder): what lies under it is seen
// only through its blur, so it is drawn small (Beneath, at the blur's reduced size, stopping at the occluder)
// and the full-size pass (Above) draws nothing until the occluder, whose blur it makes from that small drawing.
struct ViewRenderer::Occlusion {
  enum class Pass { Whole, Beneath, Above };
  Pass pass = Pass::Whole;
  UIView* occluder = nullptr;
  cairo_surface_t* beneath = nullptr;  // Above: the Beneath pass's drawing
};

// One drawing pass over a surface: walks the views, keeps the device clip
// for culling, and reaches the renderer's caches.
class ViewRenderer::Frame {
 public:
  using Pass = Occlusion::Pass;

  Frame(ViewRenderer& renderer, cairo_t* cr, cairo_surface_t* root, double scale, const Occlusion& occlusion)
      : renderer_(renderer), cr_(cr), root_(root), scale_(scale), occlusion_(occlusion) {
    clip_ = {0, 0, cairo_image_surface_get_width(root), cairo_image_surface_get_height(root)};
    skipping_ = occlusion.pass == Pass::Above;
    for (UIView* v = occlusion.occluder ? occlusion.occluder->superview() : nullptr; v; v = v->superview())
      occluderAncestors_.push_back(v);
  }

  // Whether the pass drew what it had to: Beneath reached the occluder, Above drew its blur over the whole frame.
  bool succeeded() const {
    switch (occlusion_.pass) {
      case Pass::Whole: return true;
      case Pass::Beneath: return stopped_;
      case Pass::Above: return !failed_ && !skipping_;
    }
    return false;
  }
  // The last blur view found to cover the whole frame with an opaque blur, if any.
  UIView* coveringBlur() const { return coveringBlur_; }

  // Draws `view` placed by its own geometry in the current (superview's) space.
  void drawView(UIView& view) {
    CALayer& layer = view.layer();
    if (layer.isHidden()) return;
    const CALayer::Presentation p = layer.presentation();
    if (p.opacity < kInvisibleAlpha || !reaches(view)) return;
    cairo_save(cr_);
    LayerPainter::enterLayer(cr_, p);
    drawBody(view, p, p.opacity);
    cairo_restore(cr_);
  }

  // Draws `view` in its own bounds coordinates (already entered), ignoring its opacity.
  void drawRoot(UIView& view) {
    if (!reaches(view)) return;
    CALayer::Presentation p = view.layer().presentation();
    cairo_save(cr_);
    cairo_translate(cr_, -p.bounds.origin.x, -p.bounds.origin.y);
    drawBody(view, p, 1.0);
    cairo_restore(cr_);
  }

 private:
  // Whether this pass draws anything now: not past the occluder when beneath it, not before it when above.
  bool painting() const { return !stopped_ && !skipping_; }

  // Whether the pass goes into `view`: Beneath stops at the occluder; Above, before the occluder, enters only
  // the views that hold it.
  bool reaches(UIView& view) {
    if (stopped_) return false;
    if (&view == occlusion_.occluder) {
      if (occlusion_.pass == Pass::Beneath) stopped_ = true;
      return occlusion_.pass != Pass::Beneath;
    }
    return !skipping_ ||
           std::find(occluderAncestors_.begin(), occluderAncestors_.end(), &view) != occluderAncestors_.end();
  }

  // Shadow, blur, own look, content, subviews and border, with group effects.
  void drawBody(UIView& view, const CALayer::Presentation& p, double opacity) {
    CALayer& layer = view.layer();
    const PixelRect box = deviceBox(cr_, p.bounds);
    const bool hasShadow = p.shadowOpacity > 0 && p.shadowColor && p.shadowColor->alpha() > 0;
    // A clipped view that lies outside the visible area draws nothing (its shadow may still show).
    if (layer.masksToBounds() && !hasShadow && isEmpty(intersect(box, clip_))) return;

    const auto transition = layer.transition();
    const CAShapeLayer* clipMask = clippableShapeMask(layer);
    const bool groupMask = layer.mask() && !clipMask;
    const bool invert = hasFilter(layer, "colorInvert");
    const bool simpleLeaf = view.subviews().empty() && !hasShadow && !layer.mask() && !invert && !transition &&
                            layer.borderWidth() <= 0 && typeid(view) == typeid(UIView) &&
                            typeid(layer) == typeid(CALayer);
    if (simpleLeaf) {
      paintBackground(layer, p, opacity);
      return;
    }
    const bool group = opacity < 1 || groupMask || invert || transition;
    if (clipMask) applyClipMask(*clipMask);
    // Where this view's group surface would start unbounded; kept rasters are made on that grid.
    const auto outerGrid = ImageRasterCache::gridOrigin();
    if (group) {
      // The group needs only the pixels the view can draw on: a small icon at the start of a
      // wide row, or a small button on a full screen, would otherwise clear and blend a surface
      // the size of the whole row or screen.
      if (renderer_.boundGroups_) {
        const std::array<int, 2> outer = outerGrid.value_or(std::array<int, 2>{0, 0});
        ImageRasterCache::gridOrigin() = std::array<int, 2>{std::max(outer[0], clip_.x), std::max(outer[1], clip_.y)};
        if (const auto area = drawnBox(view, p)) {
          // The surface may start at the box only where every image in it is laid as a raster made on
          // the unbounded grid: an image drawn directly would be resampled with a shifted phase.
          if (!clipMask && imagesDrawnAligned(view) && clipIsWholePixels())
            clipGroupTo(*area);
          else
            clipGroupEnd(*area);
        }
      }
      cairo_push_group(cr_);
    }

    if (hasShadow && painting()) drawShadow(view, p);
    if (transition) {
      if (painting()) drawSnapshot(transition->snapshot, p, 1 - transition->progress);
      cairo_push_group(cr_);
    }
    drawOwnAndSubviews(view, p, box);
    if (transition) {
      // A dissolve: old look x (1 - progress) + new look x progress, so two opaque looks stay opaque.
      cairo_pop_group_to_source(cr_);
      cairo_set_operator(cr_, CAIRO_OPERATOR_ADD);
      cairo_paint_with_alpha(cr_, transition->progress);
      cairo_set_operator(cr_, CAIRO_OPERATOR_OVER);
    }

    if (group) {
      cairo_pattern_t* content = cairo_pop_group(cr_);
      if (invert) {
        cairo_surface_t* surface = nullptr;
        if (cairo_pattern_get_surface(content, &surface) == CAIRO_STATUS_SUCCESS) invertColors(surface);
      }
      cairo_set_source(cr_, content);
      if (groupMask) {
        cairo_push_group(cr_);
        LayerPainter::paintFreeLayer(cr_, *layer.mask());
        cairo_pattern_t* mask = cairo_pop_group(cr_);
        cairo_set_source(cr_, content);
        if (opacity < 1) {
          cairo_push_group(cr_);
          cairo_set_source(cr_, content);
          cairo_mask(cr_, mask);
          cairo_pop_group_to_source(cr_);
          cairo_paint_with_alpha(cr_, opacity);
        } else {
          cairo_mask(cr_, mask);
        }
        cairo_pattern_destroy(mask);
      } else {
        cairo_paint_with_alpha(cr_, opacity);
      }
      cairo_pattern_destroy(content);
      ImageRasterCache::gridOrigin() = outerGrid;
    }
  }

  void drawOwnAndSubviews(UIView& view, const CALayer::Presentation& p, const PixelRect& box) {
    CALayer& layer = view.layer();
    bool backgroundDrawn = false;
    if (auto* effect = dynamic_cast<UIVisualEffectView*>(&view); effect && effect->effect()) {
      BlurLook look = lookFor(effect->effect()->style());
      backgroundDrawn = layBackgroundOnBlur(p, look);
      if (skipping_ && &view == occlusion_.occluder)
        drawOccluderBlur(*effect, p, box, look);
      else if (painting())
        drawBlur(*effect, p, box, look);
    }
    if (painting() && !backgroundDrawn) paintBackground(layer, p, 1);

    const PixelRect savedClip = clip_;
    cairo_save(cr_);
    if (layer.masksToBounds()) {
      LayerPainter::clipToBounds(cr_, p);
      clip_ = intersect(clip_, box);
    }
    if (painting()) paintOwnContent(view, layer, p);
    if (!isEmpty(clip_)) {
      for (const auto& sub : view.subviews()) drawView(*sub);
    }
    cairo_restore(cr_);
    clip_ = savedClip;
    if (painting()) LayerPainter::paintBorder(cr_, layer, p);
  }

  // The layer's gradient or contents, then the text, image or spinner of the view.
  void paintOwnContent(UIView& view, CALayer& layer, const CALayer::Presentation& p) {
    if (auto* gradient = dynamic_cast<const CAGradientLayer*>(&layer)) {
      RasterCache& cache = renderer_.cacheFor(&layer).contents;
      const bool kept = cache.paint(cr_, p.bounds, LayerPainter::gradientKey(*gradient),
                                    [&](cairo_t* g) { LayerPainter::paintGradient(g, *gradient, p.bounds); });
      if (!kept) LayerPainter::paintGradient(cr_, *gradient, p.bounds);
      countRaster(cache, kept);
    } else {
      LayerPainter::paintContents(cr_, layer, p);
    }
    if (auto* label = dynamic_cast<UILabel*>(&view)) {
      LabelPainter& painter = renderer_.cacheFor(&layer).label;
      painter.paint(cr_, *label);
      if (painter.lastWasCacheHit())
        ++renderer_.stats_.textsReused;
      else if (!label->text().empty())
        ++renderer_.stats_.textsLaidOut;
    } else if (auto* image = dynamic_cast<UIImageView*>(&view)) {
      ContentPainter::paintImageView(cr_, *image);
    } else if (auto* spinner = dynamic_cast<UIActivityIndicatorView*>(&view)) {
      ContentPainter::paintActivityIndicator(cr_, *spinner);
    }
  }

  // The background; a rounded one is kept as an image, as rasterizing curves is slow.
  void paintBackground(CALayer& layer, const CALayer::Presentation& p, double alpha) {
    if (!p.backgroundColor || p.backgroundColor->alpha() * alpha <= 0) return;
    if (p.cornerRadius > 0) {
      RasterCache& cache = renderer_.cacheFor(&layer).background;
      const bool kept = cache.paint(cr_, p.bounds, LayerPainter::backgroundKey(p, alpha),
                                    [&](cairo_t* g) { LayerPainter::paintBackground(g, p, alpha); });
      countRaster(cache, kept);
      if (kept) return;
    }
    LayerPainter::paintBackground(cr_, p, alpha);
  }

  void countRaster(const RasterCache& cache, bool kept) {
    if (!kept) return;
    if (cache.lastWasCacheHit())
      ++renderer_.stats_.rastersReused;
    else
      ++renderer_.stats_.rastersDrawn;
  }

  void applyClipMask(const CAShapeLayer& mask) {
    const CALayer::Presentation mp = mask.presentation();
    cairo_save(cr_);
    LayerPainter::enterLayer(cr_, mp);
    PathTracing::trace(cr_, *mask.path());
    cairo_restore(cr_);  // the path stays, in device space
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_WINDING);
    cairo_clip(cr_);
  }

  void drawSnapshot(const std::shared_ptr<UIImage>& snapshot, const CALayer::Presentation& p, double alpha) {
    if (!snapshot || !snapshot->surface() || alpha <= 0) return;
    const CGRect b = p.bounds;
    cairo_save(cr_);
    cairo_translate(cr_, b.origin.x, b.origin.y);
    cairo_scale(cr_, b.size.width / snapshot->pixelWidth(), b.size.height / snapshot->pixelHeight());
    cairo_set_source_surface(cr_, snapshot->surface(), 0, 0);
    cairo_paint_with_alpha(cr_, alpha);
    cairo_restore(cr_);
  }

  // The blur of what the frame's surface holds behind the view, clipped to its rounded bounds.
  // Inside a translucent ancestor (drawn as a group), what that ancestor drew before the blur
  // view is not on the surface yet and so is not blurred; a panel's backdrop is its first view,
  // so what it blurs is everything behind the panel.
  void drawBlur(UIVisualEffectView& view, const CALayer::Presentation& p, const PixelRect& box, const BlurLook& look) {
    const PixelRect region = blurRegion(box);
    if (isEmpty(region)) return;
    BackdropBlur& blur = renderer_.cacheFor(&view.layer()).blur;
    cairo_surface_t* result = blur.blur(root_, region, scale_, look);
    countBlur(blur);
    cairo_save(cr_);
    LayerPainter::clipToBounds(cr_, p);
    cairo_identity_matrix(cr_);
    if (blur.isOpaque() && coversFrame(region)) coveringBlur_ = &view;
    // An opaque blur replaces what lies behind: copying is cheaper than blending.
    if (blur.isOpaque()) cairo_set_operator(cr_, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr_, result, region.x, region.y);
    cairo_paint(cr_);
    cairo_restore(cr_);
  }

  // The occluder's blur, made from the Beneath pass's small drawing. When it no longer covers the whole frame
  // opaquely, the pass fails (and the renderer draws the frame whole).
  void drawOccluderBlur(UIVisualEffectView& view, const CALayer::Presentation& p, const PixelRect& box,
                        const BlurLook& look) {
    const PixelRect region = blurRegion(box);
    cairo_save(cr_);
    LayerPainter::clipToBounds(cr_, p);
    cairo_identity_matrix(cr_);
    BackdropBlur& blur = renderer_.cacheFor(&view.layer()).blur;
    // Covering the frame, the blur replaces every pixel: it is scaled up straight onto the surface.
    const bool drawn = coversFrame(region) && blur.blurSmallOnto(occlusion_.beneath, root_, region, scale_, look);
    cairo_restore(cr_);
    if (!drawn) {
      failed_ = stopped_ = true;
      return;
    }
    countBlur(blur);
    ++renderer_.stats_.backdropsDrawnSmall;
    skipping_ = false;
    coveringBlur_ = &view;
  }

  // Lays a blur view's plain background colour into its blur's tint, so that it is laid once on the reduced
  // picture instead of blended over every pixel: exact (a uniform colour commutes with the scaling) where the
  // blur's clip and the background cover the same pixels, a rectangle upright on the screen. True when done.
  bool layBackgroundOnBlur(const CALayer::Presentation& p, BlurLook& look) {
    if (!p.backgroundColor || p.backgroundColor->alpha() <= 0 || p.cornerRadius > 0) return false;
    cairo_matrix_t m;
    cairo_get_matrix(cr_, &m);
    if (m.xy != 0 || m.yx != 0) return false;
    look.tint = over(*p.backgroundColor, look.tint);
    return true;
  }

  PixelRect blurRegion(const PixelRect& box) const {
    return intersect(intersect(box, clip_),
                     {0, 0, cairo_image_surface_get_width(root_), cairo_image_surface_get_height(root_)});
  }

  void countBlur(const BackdropBlur& blur) {
    if (blur.lastWasCacheHit())
      ++renderer_.stats_.blursReused;
    else
      ++renderer_.stats_.blursComputed;
  }

  // Whether a blur of `region`, clipped as the context is now (device space), lands on every pixel of the
  // frame's own surface: the region is the whole surface, no group is being drawn, and the clip is one
  // rectangle holding the surface.
  bool coversFrame(const PixelRect& region) {
    const int width = cairo_image_surface_get_width(root_), height = cairo_image_surface_get_height(root_);
    if (cairo_get_group_target(cr_) != root_ || !(region == PixelRect{0, 0, width, height})) return false;
    cairo_rectangle_list_t* list = cairo_copy_clip_rectangle_list(cr_);
    bool whole = list->status == CAIRO_STATUS_SUCCESS && list->num_rectangles == 1;
    if (whole) {
      const cairo_rectangle_t& r = list->rectangles[0];
      whole = r.x <= 0 && r.y <= 0 && r.x + r.width >= width && r.y + r.height >= height;
    }
    cairo_rectangle_list_destroy(list);
    return whole;
  }

  // The layer's shadow: of its shadow path, of its rounded bounds when only a background
  // shows, else of everything it draws.
  void drawShadow(UIView& view, const CALayer::Presentation& p) {
    CALayer& layer = view.layer();
    // Offset and spread are in the superlayer's space; measure them through the current
    // transform less the layer's own (an approximation that is exact without rotation).
    cairo_matrix_t m;
    cairo_get_matrix(cr_, &m);
    const double unit = std::sqrt(std::fabs(m.xx * m.yy - m.xy * m.yx));
    DeviceShadow shadow;
    shadow.color =
        p.shadowColor->colorWithAlphaComponent(p.shadowColor->alpha() * std::clamp(p.shadowOpacity, 0.0, 1.0));
    shadow.sigma = p.shadowRadius * unit;
    double dx = p.shadowOffset.width, dy = p.shadowOffset.height;
    cairo_user_to_device_distance(cr_, &dx, &dy);
    shadow.dx = dx;
    shadow.dy = dy;

    ShadowPainter& painter = renderer_.cacheFor(&layer).shadow;
    const bool plainShape = view.subviews().empty() && typeid(view) == typeid(UIView);
    if (layer.shadowPath() || plainShape) {
      const CGRect shapeRect = layer.shadowPath() ? layer.shadowPath()->bounds() : p.bounds;
      const PixelRect shape = deviceBox(cr_, shapeRect);
      cairo_matrix_t user;
      cairo_get_matrix(cr_, &user);
      painter.paint(cr_, shape, shadow, [&](cairo_t* mask) {
        cairo_transform(mask, &user);
        if (layer.shadowPath())
          PathTracing::trace(mask, *layer.shadowPath());
        else
          PathTracing::traceRoundedRect(mask, p.bounds, p.cornerRadius);
        cairo_set_source_rgba(mask, 0, 0, 0, 1);
        cairo_fill(mask);
      });
    } else {
      // Everything the layer draws, in a group the size of what it covers.
      const PixelRect area = intersect(subtreeBox(view, p), clip_);
      if (isEmpty(area)) return;
      const auto outerGrid = ImageRasterCache::gridOrigin();
      if (outerGrid)
        ImageRasterCache::gridOrigin() =
            std::array<int, 2>{std::max((*outerGrid)[0], clip_.x), std::max((*outerGrid)[1], clip_.y)};
      cairo_save(cr_);
      cairo_push_group(cr_);
      drawOwnAndSubviews(view, p, deviceBox(cr_, p.bounds));
      cairo_pattern_t* content = cairo_pop_group(cr_);
      cairo_restore(cr_);
      ImageRasterCache::gridOrigin() = outerGrid;
      painter.paint(cr_, area, shadow, [&](cairo_t* mask) {
        cairo_set_source(mask, content);
        cairo_paint(mask);
      });
      cairo_pattern_destroy(content);
    }
    if (painter.lastWasCacheHit())
      ++renderer_.stats_.shadowsReused;
    else
      ++renderer_.stats_.shadowsComputed;
  }

  // A device box, grown by a pixel for antialiasing and rounding, that holds every pixel `view`
  // and its subviews draw; none when something may draw beyond its bounds (a shadow, text or
  // a shape path not clipped by its view).
  std::optional<PixelRect> drawnBox(UIView& view, const CALayer::Presentation& p) {
    const CALayer& layer = view.layer();
    if (p.shadowOpacity > 0 && p.shadowColor && p.shadowColor->alpha() > 0) return std::nullopt;
    PixelRect box = deviceBox(cr_, p.bounds);
    if (!layer.masksToBounds()) {
      if (dynamic_cast<UILabel*>(&view) || dynamic_cast<const CAShapeLayer*>(&layer)) return std::nullopt;
      if (auto* image = dynamic_cast<UIImageView*>(&view))
        box = unite(box, deviceBox(cr_, CGRectStandardize(image->imageRect())));
      for (const auto& sub : view.subviews()) {
        if (sub->layer().isHidden()) continue;
        const CALayer::Presentation sp = sub->layer().presentation();
        cairo_save(cr_);
        LayerPainter::enterLayer(cr_, sp);
        const auto child = drawnBox(*sub, sp);
        cairo_restore(cr_);
        if (!child) return std::nullopt;
        box = unite(box, *child);
      }
    }
    if (isEmpty(box)) return box;
    return PixelRect{box.x - 1, box.y - 1, box.width + 2, box.height + 2};
  }

  // Whether every image under `view` is drawn under whole-pixel clips only (none of its
  // ancestors up to `view` clips to bounds or is masked), so it is laid as a kept raster.
  static bool imagesDrawnAligned(UIView& view, bool clipped = false) {
    const CALayer& layer = view.layer();
    clipped = clipped || layer.masksToBounds() || layer.mask();
    if (clipped && dynamic_cast<UIImageView*>(&view)) return false;
    for (const auto& sub : view.subviews())
      if (!sub->layer().isHidden() && !imagesDrawnAligned(*sub, clipped)) return false;
    return true;
  }

  // Whether the current clip is one rectangle on whole device pixels (or none).
  bool clipIsWholePixels() {
    cairo_rectangle_list_t* list = cairo_copy_clip_rectangle_list(cr_);
    bool whole = list->status == CAIRO_STATUS_SUCCESS && list->num_rectangles <= 1;
    cairo_matrix_t m;
    cairo_get_matrix(cr_, &m);
    for (int i = 0; whole && i < list->num_rectangles; ++i) {
      double x0 = list->rectangles[i].x, y0 = list->rectangles[i].y;
      double x1 = x0 + list->rectangles[i].width, y1 = y0 + list->rectangles[i].height;
      cairo_user_to_device(cr_, &x0, &y0);
      cairo_user_to_device(cr_, &x1, &y1);
      whole = m.xy == 0 && m.yx == 0 && x0 == std::floor(x0) && y0 == std::floor(y0) && x1 == std::floor(x1) &&
              y1 == std::floor(y1);
    }
    cairo_rectangle_list_destroy(list);
    return whole;
  }

  // Clips the group that comes next to end at the right and bottom of `r`, keeping the
  // surface's start where the clip puts it.
  void clipGroupEnd(const PixelRect& r) {
    cairo_matrix_t m;
    cairo_get_matrix(cr_, &m);
    cairo_identity_matrix(cr_);
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    cairo_clip_extents(cr_, &x0, &y0, &x1, &y1);
    const double right = std::min<double>(x1, r.x + r.width), bottom = std::min<double>(y1, r.y + r.height);
    cairo_rectangle(cr_, x0, y0, std::max(right - x0, 0.0), std::max(bottom - y0, 0.0));
    cairo_set_matrix(cr_, &m);
    cairo_clip(cr_);
  }

  // Clips the group that comes next to the device box `r`. Its surface then starts at the
  // box's whole-pixel corner, on the same pixel grid as the frame.
  void clipGroupTo(const PixelRect& r) {
    cairo_matrix_t m;
    cairo_get_matrix(cr_, &m);
    cairo_identity_matrix(cr_);
    cairo_rectangle(cr_, r.x, r.y, r.width, r.height);
    cairo_set_matrix(cr_, &m);
    cairo_clip(cr_);
  }

  // Device box of a view and every visible subview that is not clipped away.
  PixelRect subtreeBox(UIView& view, const CALayer::Presentation& p) {
    PixelRect box = deviceBox(cr_, p.bounds);
    if (view.layer().masksToBounds()) return box;
    for (const auto& sub : view.subviews()) {
      if (sub->isHidden()) continue;
      const CALayer::Presentation sp = sub->layer().presentation();
      cairo_save(cr_);
      LayerPainter::enterLayer(cr_, sp);
      PixelRect child = subtreeBox(*sub, sp);
      cairo_restore(cr_);
      if (isEmpty(child)) continue;
      if (isEmpty(box)) {
        box = child;
        continue;
      }
      const int x0 = std::min(box.x, child.x), y0 = std::min(box.y, child.y);
      const int x1 = std::max(box.x + box.width, child.x + child.width);
      const int y1 = std::max(box.y + box.height, child.y + child.height);
      box = {x0, y0, x1 - x0, y1 - y0};
    }
    return box;
  }

  ViewRenderer& renderer_;
  cairo_t* cr_;
  cairo_surface_t* root_;
  double scale_;
  PixelRect clip_;
  const Occlusion occlusion_;
  std::vector<const UIView*> occluderAncestors_;
  bool stopped_ = false;   // nothing more is drawn: Beneath reached the occluder, or Above failed
  bool skipping_ = false;  // Above, before the occluder
  bool failed_ = false;
  UIView* coveringBlur_ = nullptr;
};

ViewRenderer::ViewRenderer() = default;

namespace {

void clearSurface(cairo_surface_t* surface) {
  cairo_surface_flush(surface);
  std::memset(cairo_image_surface_get_data(surface), 0,
              static_cast<size_t>(cairo_image_surface_get_stride(surface)) * cairo_image_surface_get_height(surface));
  cairo_surface_mark_dirty(surface);
}

}  // namespace

ViewRenderer::~ViewRenderer() {
  for (cairo_surface_t* surface : frames_) cairo_surface_destroy(surface);
  if (beneath_) cairo_surface_destroy(beneath_);
}

cairo_surface_t* ViewRenderer::frameSurface(int width, int height, Clear clear) {
  for (cairo_surface_t* surface : frames_) {
    if (cairo_surface_get_reference_count(surface) != 1 || cairo_image_surface_get_width(surface) != width ||
        cairo_image_surface_get_height(surface) != height)
      continue;
    if (clear == Clear::Yes) clearSurface(surface);
    return cairo_surface_reference(surface);
  }
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  // Keep it for later frames, in place of one that is still held or of another size.
  if (frames_.size() == kSpareFrames) {
    cairo_surface_destroy(frames_.front());
    frames_.erase(frames_.begin());
  }
  frames_.push_back(cairo_surface_reference(surface));
  return surface;
}

ViewRenderer::LayerCache& ViewRenderer::cacheFor(const CALayer* layer) {
  auto& entry = caches_[layer];
  if (!entry) entry = std::make_unique<LayerCache>();
  entry->lastFrame = frame_;
  return *entry;
}

void ViewRenderer::dropUnused() {
  std::erase_if(caches_, [this](const auto& e) { return e.second->lastFrame != frame_; });
}

std::shared_ptr<UIImage> ViewRenderer::renderInto(double widthPoints, double heightPoints, double scale,
                                                  const std::function<void(Frame&)>& draw) {
  scale = std::clamp(scale, 0.25, 4.0);
  const int width = std::max(1, static_cast<int>(std::ceil(widthPoints * scale - 1e-9)));
  const int height = std::max(1, static_cast<int>(std::ceil(heightPoints * scale - 1e-9)));
  std::shared_ptr<UIView> occluder = occluder_.lock();
  if (occluder && (width != occludedWidth_ || height != occludedHeight_ || scale != occludedScale_)) occluder.reset();
  cairo_surface_t* surface = frameSurface(width, height, occluder ? Clear::No : Clear::Yes);
  ++frame_;
  // A frame starts on its own surface's grid, even when drawn while another is being drawn.
  const auto outerGrid = ImageRasterCache::gridOrigin();
  UIView* covering = nullptr;
  if (!occluder || !drawAroundOccluder(*occluder, surface, scale, draw, &covering)) {
    if (occluder) clearSurface(surface);
    cairo_t* cr = cairo_create(surface);
    drawPass(cr, surface, scale, Occlusion{}, draw, &covering);
    cairo_destroy(cr);
  }
  occluder_ = covering ? covering->weak_from_this() : std::weak_ptr<UIView>();
  occludedWidth_ = width;
  occludedHeight_ = height;
  occludedScale_ = scale;
  ImageRasterCache::gridOrigin() = outerGrid;
  dropUnused();
  cairo_surface_flush(surface);
  auto image = UIImage::imageWithSurface(surface, scale);
  cairo_surface_destroy(surface);
  return image;
}

bool ViewRenderer::drawAroundOccluder(UIView& occluder, cairo_surface_t* surface, double scale,
                                      const std::function<void(Frame&)>& draw, UIView** covering) {
  // Under the occluder, at the blur's reduced size: about one pixel a block of the full frame, stretched by
  // less than a block so that the frame fills whole pixels (an edge pixel half outside would show the frame's
  // content fading out there).
  const int factor = BackdropBlur::reductionFactor(scale);
  const int width = cairo_image_surface_get_width(surface), height = cairo_image_surface_get_height(surface);
  const int smallWidth = (width + factor - 1) / factor, smallHeight = (height + factor - 1) / factor;
  if (beneath_ && (cairo_image_surface_get_width(beneath_) != smallWidth ||
                   cairo_image_surface_get_height(beneath_) != smallHeight)) {
    cairo_surface_destroy(beneath_);
    beneath_ = nullptr;
  }
  if (!beneath_)
    beneath_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, smallWidth, smallHeight);
  else
    clearSurface(beneath_);
  cairo_t* small = cairo_create(beneath_);
  cairo_scale(small, static_cast<double>(smallWidth) * factor / width,
              static_cast<double>(smallHeight) * factor / height);
  Occlusion beneath{Occlusion::Pass::Beneath, &occluder, nullptr};
  const bool reached = drawPass(small, beneath_, scale / factor, beneath, draw, nullptr);
  cairo_destroy(small);
  if (!reached) return false;

  cairo_t* cr = cairo_create(surface);
  Occlusion above{Occlusion::Pass::Above, &occluder, beneath_};
  const bool drawn = drawPass(cr, surface, scale, above, draw, covering);
  cairo_destroy(cr);
  return drawn;
}

bool ViewRenderer::drawPass(cairo_t* cr, cairo_surface_t* surface, double scale, const Occlusion& occlusion,
                            const std::function<void(Frame&)>& draw, UIView** covering) {
  cairo_scale(cr, scale, scale);
  ImageRasterCache::gridOrigin().reset();
  // What lies beneath a covering blur is seen only blurred: its rasters may be laid on whole pixels.
  const RasterPlacement outerPlacement = rasterPlacement();
  rasterPlacement() =
      occlusion.pass == Occlusion::Pass::Beneath ? RasterPlacement::NearestPixel : RasterPlacement::Exact;
  Frame frame(*this, cr, surface, scale, occlusion);
  draw(frame);
  rasterPlacement() = outerPlacement;
  if (covering) *covering = frame.coveringBlur();
  return frame.succeeded();
}

std::shared_ptr<UIImage> ViewRenderer::renderView(UIView& view, double scale) {
  const CGRect b = view.bounds();
  return renderInto(std::fabs(b.size.width), std::fabs(b.size.height), scale,
                    [&](Frame& frame) { frame.drawRoot(view); });
}

std::shared_ptr<UIImage> ViewRenderer::renderWindows(const std::vector<UIWindow*>& windows, CGSize size, double scale) {
  return renderInto(size.width, size.height, scale, [&](Frame& frame) {
    for (UIWindow* window : windows)
      if (window) frame.drawView(*window);
  });
}

std::shared_ptr<UIImage> ViewRenderer::renderScreen(double scale) {
  const CGRect screen = UIScreen::mainScreen().bounds();
  return renderWindows(UIApplication::sharedApplication().windows(), screen.size, scale);
}

bool ViewRenderer::writePng(const UIImage& image, const std::string& path, std::string* error) {
  cairo_status_t status = cairo_surface_write_to_png(image.surface(), path.c_str());
  if (status == CAIRO_STATUS_SUCCESS) return true;
  if (error) *error = std::string("cannot write ") + path + ": " + cairo_status_to_string(status);
  return false;
}

void ViewRenderer::installSnapshotProvider(double scale) {
  UIView::setSnapshotProvider([scale](UIView& view) {
    ViewRenderer renderer;
    return renderer.renderView(view, scale);
  });
}

}  // namespace platform
