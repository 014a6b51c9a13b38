#include "platform/ui/CALayer.h"

#include <algorithm>

#include "platform/foundation/Log.h"
#include "platform/ui/Animator.h"
#include "platform/ui/LayerTransition.h"
#include "platform/ui/PropertyAnimation.h"

namespace platform {

namespace {
unsigned bit(LayerProperty p) { return 1u << static_cast<unsigned>(p); }

LayerValue optionalColor(const std::optional<UIColor>& c) {
  if (c) return *c;
  return std::monostate{};
}

uint64_t nextAnimationSerial() {
  static uint64_t serial = 0;
  return ++serial;
}
}  // namespace

CALayer::CALayer() = default;

CALayer::~CALayer() {
  for (auto& a : animations_) {
    a->cancel();
    a->layer_ = nullptr;
  }
  if (transition_) transition_->cancel();
}

// --- Model values -----------------------------------------------------------

LayerValue CALayer::modelValue(LayerProperty p) const {
  switch (p) {
    case LayerProperty::Position: return position_;
    case LayerProperty::Bounds: return bounds_;
    case LayerProperty::Transform: return transform_;
    case LayerProperty::Opacity: return opacity_;
    case LayerProperty::BackgroundColor: return optionalColor(backgroundColor_);
    case LayerProperty::CornerRadius: return cornerRadius_;
    case LayerProperty::ShadowColor: return optionalColor(shadowColor_);
    case LayerProperty::ShadowOpacity: return shadowOpacity_;
    case LayerProperty::ShadowRadius: return shadowRadius_;
    case LayerProperty::ShadowOffset: return shadowOffset_;
  }
  return {};
}

void CALayer::setModelValue(LayerProperty p, const LayerValue& v) {
  auto color = [&v]() -> std::optional<UIColor> {
    if (auto c = std::get_if<UIColor>(&v)) return *c;
    return std::nullopt;
  };
  switch (p) {
    case LayerProperty::Position:
      if (auto x = std::get_if<CGPoint>(&v)) position_ = *x;
      break;
    case LayerProperty::Bounds:
      if (auto x = std::get_if<CGRect>(&v)) bounds_ = *x;
      break;
    case LayerProperty::Transform:
      if (auto x = std::get_if<CGAffineTransform>(&v)) transform_ = *x;
      break;
    case LayerProperty::Opacity: opacity_ = layerValueAsDouble(v); break;
    case LayerProperty::BackgroundColor: backgroundColor_ = color(); break;
    case LayerProperty::CornerRadius: cornerRadius_ = layerValueAsDouble(v); break;
    case LayerProperty::ShadowColor: shadowColor_ = color(); break;
    case LayerProperty::ShadowOpacity: shadowOpacity_ = layerValueAsDouble(v); break;
    case LayerProperty::ShadowRadius: shadowRadius_ = layerValueAsDouble(v); break;
    case LayerProperty::ShadowOffset:
      if (auto x = std::get_if<CGSize>(&v)) shadowOffset_ = *x;
      break;
  }
}

// Sets a model value; inside a UIView animation block (for a view's layer) the
// change also starts an animation from the old (or presented) value.
void CALayer::willChange(LayerProperty p, const LayerValue& newValue) {
  const Animator::BlockContext* ctx = delegate_ ? Animator::shared().currentContext() : nullptr;
  if (!ctx || ctx->duration <= 0) {
    setModelValue(p, newValue);
    return;
  }
  LayerValue oldValue = modelValue(p);
  if (oldValue == newValue) return;
  bool fromCurrent = hasFlag(ctx->options, UIViewAnimationOptions::BeginFromCurrentState);
  PropertyAnimation::Setup setup;
  setup.property = p;
  setup.from = AnimationValue::from(p, fromCurrent ? presentationValue(p) : oldValue);
  setModelValue(p, newValue);
  setup.to = AnimationValue::from(p, modelValue(p));
  setup.key = layerPropertyKey(p);
  if (!fromCurrent) setup.key += "-" + std::to_string(nextAnimationSerial());
  setup.begin = Animator::now() + seconds(ctx->delay);
  setup.duration = ctx->duration;
  setup.curve = ctx->curve;
  setup.additive = !fromCurrent;
  setup.blocksInteraction = !hasFlag(ctx->options, UIViewAnimationOptions::AllowUserInteraction);
  if (fromCurrent) removeAnimationsFor(p);
  ctx->group->add();
  attach(std::make_shared<PropertyAnimation>(this, std::move(setup), ctx->group));
}

void CALayer::setPosition(CGPoint p) { willChange(LayerProperty::Position, p); }
void CALayer::setBounds(const CGRect& b) { willChange(LayerProperty::Bounds, b); }
void CALayer::setAffineTransform(const CGAffineTransform& t) { willChange(LayerProperty::Transform, t); }
void CALayer::setOpacity(double o) { willChange(LayerProperty::Opacity, o); }
void CALayer::setBackgroundColor(std::optional<UIColor> c) {
  willChange(LayerProperty::BackgroundColor, optionalColor(c));
}
void CALayer::setCornerRadius(double r) { willChange(LayerProperty::CornerRadius, r); }
void CALayer::setShadowColor(std::optional<UIColor> c) { willChange(LayerProperty::ShadowColor, optionalColor(c)); }
void CALayer::setShadowOpacity(double o) { willChange(LayerProperty::ShadowOpacity, o); }
void CALayer::setShadowRadius(double r) { willChange(LayerProperty::ShadowRadius, r); }
void CALayer::setShadowOffset(CGSize s) { willChange(LayerProperty::ShadowOffset, s); }

CGRect CALayer::frame() const {
  CGRect local{{-bounds_.size.width / 2, -bounds_.size.height / 2}, bounds_.size};
  CGRect r = CGAffineTransformIsIdentity(transform_) ? local : CGRectApplyAffineTransform(local, transform_);
  return CGRectOffset(r, position_.x, position_.y);
}

void CALayer::setFrame(const CGRect& f) {
  CGRect s = CGRectStandardize(f);
  setPosition({CGRectGetMidX(s), CGRectGetMidY(s)});
  setBounds({bounds_.origin, s.size});
}

// --- Key-value reads ---------------------------------------------------------

LayerValue CALayer::valueForKey(const std::string& key) const { return baseValueForKey(key); }

LayerValue CALayer::baseValueForKey(const std::string& key) const {
  LayerProperty p;
  if (layerPropertyForKey(key, &p)) return modelValue(p);
  if (key == "hidden") return hidden_;
  if (key == "masksToBounds") return masksToBounds_;
  if (key == "frame") return frame();
  if (key == "borderWidth") return borderWidth_;
  if (key == "borderColor") return optionalColor(borderColor_);
  if (key == "filters") return filters_;
  if (key == "mask") {
    if (mask_) return mask_;
    return std::monostate{};
  }
  if (key == "shadowPath") {
    if (shadowPath_) return *shadowPath_;
    return std::monostate{};
  }
  return std::monostate{};
}

// --- Animations --------------------------------------------------------------

void CALayer::attach(std::shared_ptr<PropertyAnimation> a) {
  for (size_t i = 0; i < animations_.size(); ++i) {
    if (animations_[i]->key() == a->key()) {
      auto old = animations_[i];
      animations_.erase(animations_.begin() + static_cast<long>(i));
      old->cancel();
      old->layer_ = nullptr;
      break;
    }
  }
  animatedMask_ |= bit(a->property());
  animations_.push_back(a);
  Animator::shared().add(a);
}

void CALayer::detach(PropertyAnimation* a, bool /*finished*/) {
  auto it = std::find_if(animations_.begin(), animations_.end(), [a](const auto& p) { return p.get() == a; });
  if (it == animations_.end()) return;
  auto keep = *it;  // destroyed after the list is consistent
  animations_.erase(it);
  keep->layer_ = nullptr;
  animatedMask_ = 0;
  for (const auto& x : animations_) animatedMask_ |= bit(x->property());
}

void CALayer::removeAnimationsFor(LayerProperty p) {
  std::vector<std::shared_ptr<PropertyAnimation>> removed;
  for (auto it = animations_.begin(); it != animations_.end();) {
    if ((*it)->property() == p) {
      removed.push_back(*it);
      it = animations_.erase(it);
    } else {
      ++it;
    }
  }
  animatedMask_ &= ~bit(p);
  for (const auto& x : animations_) animatedMask_ |= bit(x->property());
  for (auto& a : removed) {
    a->cancel();
    a->layer_ = nullptr;
  }
}

void CALayer::addAnimation(const CABasicAnimation& animation, const std::string& key) {
  LayerProperty p;
  if (!layerPropertyForKey(animation.keyPath(), &p)) {
    Log::write("CALayer: cannot animate key path " + animation.keyPath());
    return;
  }
  PropertyAnimation::Setup setup;
  setup.property = p;
  setup.key = key.empty() ? animation.keyPath() + "#" + std::to_string(nextAnimationSerial()) : key;
  setup.from = AnimationValue::from(
      p, std::holds_alternative<std::monostate>(animation.fromValue()) ? presentationValue(p) : animation.fromValue());
  setup.to = AnimationValue::from(
      p, std::holds_alternative<std::monostate>(animation.toValue()) ? modelValue(p) : animation.toValue());
  setup.begin = Animator::now() + seconds(animation.beginTime());
  setup.duration = animation.duration();
  setup.curve = AnimationCurve::timing(animation.timingFunction());
  setup.removedOnCompletion = animation.isRemovedOnCompletion();
  setup.fillMode = animation.fillMode();
  auto group = std::make_shared<AnimationGroup>(animation.completion());
  group->add();
  group->seal();
  attach(std::make_shared<PropertyAnimation>(this, std::move(setup), group));
}

void CALayer::removeAnimationForKey(const std::string& key) {
  auto it = std::find_if(animations_.begin(), animations_.end(), [&](const auto& a) { return a->key() == key; });
  if (it == animations_.end()) return;
  auto a = *it;
  animations_.erase(it);
  animatedMask_ = 0;
  for (const auto& x : animations_) animatedMask_ |= bit(x->property());
  a->cancel();
  a->layer_ = nullptr;
}

void CALayer::removeAllAnimations() {
  auto all = std::move(animations_);
  animations_.clear();
  animatedMask_ = 0;
  for (auto& a : all) {
    a->cancel();
    a->layer_ = nullptr;
  }
}

std::vector<std::string> CALayer::animationKeys() const {
  std::vector<std::string> keys;
  for (const auto& a : animations_) keys.push_back(a->key());
  return keys;
}

bool CALayer::hasAnimationForKey(const std::string& key) const {
  return std::any_of(animations_.begin(), animations_.end(), [&](const auto& a) { return a->key() == key; });
}

bool CALayer::blocksUserInteraction() const {
  if (animations_.empty()) return false;
  TimePoint now = Animator::now();
  return std::any_of(animations_.begin(), animations_.end(),
                     [now](const auto& a) { return a->blocksInteractionAt(now); });
}

// --- Presentation ------------------------------------------------------------

LayerValue CALayer::presentationValue(LayerProperty p) const {
  LayerValue model = modelValue(p);
  if (!(animatedMask_ & bit(p))) return model;
  TimePoint now = Animator::now();
  AnimationValue value = AnimationValue::from(p, model);
  bool any = false;
  for (const auto& a : animations_) {
    if (a->property() != p || a->setup().additive || !a->isEffective(now)) continue;
    value = a->valueAt(now);
    any = true;
  }
  for (const auto& a : animations_) {
    if (a->property() != p || !a->setup().additive || !a->isEffective(now)) continue;
    value.addDifference(a->valueAt(now), a->setup().to);
    any = true;
  }
  if (!any) return model;
  return value.toLayerValue(p);
}

CALayer::Presentation CALayer::presentation() const {
  Presentation s;
  auto get = [this](LayerProperty p) { return presentationValue(p); };
  s.position = std::get<CGPoint>(get(LayerProperty::Position));
  s.bounds = std::get<CGRect>(get(LayerProperty::Bounds));
  s.transform = std::get<CGAffineTransform>(get(LayerProperty::Transform));
  s.opacity = std::clamp(layerValueAsDouble(get(LayerProperty::Opacity)), 0.0, 1.0);
  auto bg = get(LayerProperty::BackgroundColor);
  if (auto c = std::get_if<UIColor>(&bg)) s.backgroundColor = *c;
  s.cornerRadius = layerValueAsDouble(get(LayerProperty::CornerRadius));
  auto sc = get(LayerProperty::ShadowColor);
  if (auto c = std::get_if<UIColor>(&sc)) s.shadowColor = *c;
  s.shadowOpacity = std::clamp(layerValueAsDouble(get(LayerProperty::ShadowOpacity)), 0.0, 1.0);
  s.shadowRadius = layerValueAsDouble(get(LayerProperty::ShadowRadius));
  s.shadowOffset = std::get<CGSize>(get(LayerProperty::ShadowOffset));
  return s;
}

std::optional<CALayer::Transition> CALayer::transition() const {
  if (!transition_) return std::nullopt;
  return Transition{transition_->progressAt(Animator::now()), transition_->snapshot()};
}

}  // namespace platform
