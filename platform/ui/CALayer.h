#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Clock.h"
#include "platform/ui/CABasicAnimation.h"
#include "platform/ui/CAFilter.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/LayerValue.h"
#include "platform/ui/UIBezierPath.h"
#include "platform/ui/UIColor.h"

namespace platform {

class UIImage;
class UIView;
class PropertyAnimation;
class LayerTransition;

// The drawable state of one view (CALayer): geometry, opacity, background,
// corners, clipping, shadow, a shape mask and filters. Every view owns one
// (or a subclass: CAGradientLayer, CAShapeLayer); a mask is a layer owned by
// the layer it masks. Setters change the model value at once; inside a
// UIView animation block, or through addAnimation, the presented value
// follows an animation stepped by the clock (presentation()). Key-value reads
// (valueForKey) answer the model values by their Core Animation names.
class CALayer {
 public:
  CALayer();
  virtual ~CALayer();
  CALayer(const CALayer&) = delete;
  CALayer& operator=(const CALayer&) = delete;

  // Centre of the layer in its superlayer (anchor point is always the middle).
  CGPoint position() const { return position_; }
  void setPosition(CGPoint p);
  // Own coordinate space: origin (the scroll offset for scroll views) and size.
  CGRect bounds() const { return bounds_; }
  void setBounds(const CGRect& b);
  CGAffineTransform affineTransform() const { return transform_; }
  void setAffineTransform(const CGAffineTransform& t);
  // Frame in the superlayer: the bounding box of the transformed bounds.
  CGRect frame() const;
  // Sets position and bounds size from a frame (the transform is not applied).
  void setFrame(const CGRect& f);
  double opacity() const { return opacity_; }
  void setOpacity(double o);
  bool isHidden() const { return hidden_; }
  void setHidden(bool h) { hidden_ = h; }
  // Fill behind the content; nil draws nothing.
  const std::optional<UIColor>& backgroundColor() const { return backgroundColor_; }
  void setBackgroundColor(std::optional<UIColor> c);
  double cornerRadius() const { return cornerRadius_; }
  void setCornerRadius(double r);
  // Whether content and sublayers are clipped to the (rounded) bounds.
  bool masksToBounds() const { return masksToBounds_; }
  void setMasksToBounds(bool m) { masksToBounds_ = m; }
  double borderWidth() const { return borderWidth_; }
  void setBorderWidth(double w) { borderWidth_ = w; }
  const std::optional<UIColor>& borderColor() const { return borderColor_; }
  void setBorderColor(std::optional<UIColor> c) { borderColor_ = c; }

  // Shadow: colour (default opaque black), opacity (default 0), blur radius (default 3),
  // offset (default (0, -3)) and an optional path that gives its shape.
  const std::optional<UIColor>& shadowColor() const { return shadowColor_; }
  void setShadowColor(std::optional<UIColor> c);
  double shadowOpacity() const { return shadowOpacity_; }
  void setShadowOpacity(double o);
  double shadowRadius() const { return shadowRadius_; }
  void setShadowRadius(double r);
  CGSize shadowOffset() const { return shadowOffset_; }
  void setShadowOffset(CGSize s);
  const std::optional<UIBezierPath>& shadowPath() const { return shadowPath_; }
  void setShadowPath(std::optional<UIBezierPath> p) { shadowPath_ = std::move(p); }

  // A layer whose alpha (for a shape layer: its filled path) masks this one, in this layer's coordinates.
  const std::shared_ptr<CALayer>& mask() const { return mask_; }
  void setMask(std::shared_ptr<CALayer> m) { mask_ = std::move(m); }
  // Filters applied to the layer's rendering, by name.
  const std::vector<CAFilter>& filters() const { return filters_; }
  void setFilters(std::vector<CAFilter> f) { filters_ = std::move(f); }

  // Key-value read of a property by its Core Animation name ("shadowOpacity", "cornerRadius",
  // "filters", "bounds", ...); monostate for an unknown key or a nil value.
  virtual LayerValue valueForKey(const std::string& key) const;

  // Adds a copy of an explicit animation under `key`, replacing (finished = false) one with the same key.
  void addAnimation(const CABasicAnimation& animation, const std::string& key);
  // Removes the animation under `key` (its completion gets finished = false).
  void removeAnimationForKey(const std::string& key);
  // Removes every animation (completions get finished = false).
  void removeAllAnimations();
  // Keys of the animations on the layer, oldest first.
  std::vector<std::string> animationKeys() const;
  // Whether an animation under `key` is on the layer.
  bool hasAnimationForKey(const std::string& key) const;

  // What is on screen now: the model values with the running animations applied.
  struct Presentation {
    CGPoint position;
    CGRect bounds;
    CGAffineTransform transform;
    double opacity = 1;
    std::optional<UIColor> backgroundColor;
    double cornerRadius = 0;
    std::optional<UIColor> shadowColor;
    double shadowOpacity = 0;
    double shadowRadius = 0;
    CGSize shadowOffset;
  };
  // The presented values at the clock's current time.
  Presentation presentation() const;
  // The presented value of one animatable property.
  LayerValue presentationValue(LayerProperty p) const;

  // A running cross-dissolve (UIView transitionWithView): progress 0 ... 1 and the image
  // of the old look (null when no snapshot provider is installed). Nothing when none runs.
  struct Transition {
    double progress = 0;
    std::shared_ptr<UIImage> snapshot;
  };
  std::optional<Transition> transition() const;

  // The view this layer belongs to (null for masks and free layers).
  UIView* delegate() const { return delegate_; }
  // Whether an animation that blocks touches runs on this layer.
  bool blocksUserInteraction() const;

 protected:
  // Subclasses add their own keys and fall back to this.
  LayerValue baseValueForKey(const std::string& key) const;

 private:
  friend class UIView;
  friend class Animator;
  friend class PropertyAnimation;
  friend class LayerTransition;

  LayerValue modelValue(LayerProperty p) const;
  void setModelValue(LayerProperty p, const LayerValue& v);
  // Records a model change for a running UIView animation block, if any.
  void willChange(LayerProperty p, const LayerValue& oldValue);
  void attach(std::shared_ptr<PropertyAnimation> a);
  void detach(PropertyAnimation* a, bool finished);
  void removeAnimationsFor(LayerProperty p);

  UIView* delegate_ = nullptr;
  CGPoint position_;
  CGRect bounds_;
  CGAffineTransform transform_;
  double opacity_ = 1;
  bool hidden_ = false;
  std::optional<UIColor> backgroundColor_;
  double cornerRadius_ = 0;
  bool masksToBounds_ = false;
  double borderWidth_ = 0;
  std::optional<UIColor> borderColor_;
  std::optional<UIColor> shadowColor_ = UIColor::blackColor();
  double shadowOpacity_ = 0;
  double shadowRadius_ = 3;
  CGSize shadowOffset_{0, -3};
  std::optional<UIBezierPath> shadowPath_;
  std::shared_ptr<CALayer> mask_;
  std::vector<CAFilter> filters_;
  std::vector<std::shared_ptr<PropertyAnimation>> animations_;
  std::shared_ptr<LayerTransition> transition_;
  unsigned animatedMask_ = 0;  // bit per LayerProperty with an animation attached
};

}  // namespace platform
