#include "platform/ui/UIView.h"

#include <algorithm>

#include "platform/ui/Animator.h"
#include "platform/ui/LayerTransition.h"
#include "platform/ui/LayoutPass.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIGestureRecognizer.h"
#include "platform/ui/UILayoutGuide.h"
#include "platform/ui/UIWindow.h"

namespace platform {

namespace {
UIView::SnapshotProvider& provider() {
  static UIView::SnapshotProvider* p = new UIView::SnapshotProvider();
  return *p;
}

AnimationCurve curveForOptions(UIViewAnimationOptions options) {
  using Name = CAMediaTimingFunction::Name;
  switch ((static_cast<unsigned>(options) >> 16) & 0xF) {
    case 1: return AnimationCurve::timing(CAMediaTimingFunction::functionWithName(Name::EaseIn));
    case 2: return AnimationCurve::timing(CAMediaTimingFunction::functionWithName(Name::EaseOut));
    case 3: return AnimationCurve::timing(CAMediaTimingFunction::functionWithName(Name::Linear));
    default: return AnimationCurve::timing(CAMediaTimingFunction::functionWithName(Name::EaseInEaseOut));
  }
}

// Maps a point of `v`'s bounds space into its superview's (model geometry).
CGPoint toSuperview(const UIView& v, CGPoint p) {
  CGRect b = v.bounds();
  CGPoint q{p.x - b.origin.x - b.size.width / 2, p.y - b.origin.y - b.size.height / 2};
  q = CGPointApplyAffineTransform(q, v.transform());
  return {v.center().x + q.x, v.center().y + q.y};
}

CGPoint fromSuperview(const UIView& v, CGPoint p) {
  CGRect b = v.bounds();
  CGPoint q{p.x - v.center().x, p.y - v.center().y};
  q = CGPointApplyAffineTransform(q, CGAffineTransformInvert(v.transform()));
  return {q.x + b.origin.x + b.size.width / 2, q.y + b.origin.y + b.size.height / 2};
}

CGPoint toRoot(const UIView* v, CGPoint p) {
  for (; v && v->superview(); v = v->superview()) p = toSuperview(*v, p);
  return p;
}

CGPoint fromRoot(const UIView* v, CGPoint p) {
  std::vector<const UIView*> chain;
  for (; v && v->superview(); v = v->superview()) chain.push_back(v);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) p = fromSuperview(**it, p);
  return p;
}
}  // namespace

UIView::UIView(const CGRect& frame) : UIView(frame, std::make_shared<CALayer>()) {}

UIView::UIView(const CGRect& frame, std::shared_ptr<CALayer> layer) : layer_(std::move(layer)) {
  layer_->delegate_ = this;
  // Initial geometry is never animated, even when the view is made inside an animation block.
  CGRect f = CGRectStandardize(frame);
  layer_->position_ = {CGRectGetMidX(f), CGRectGetMidY(f)};
  layer_->bounds_ = {{0, 0}, f.size};
}

UIView::~UIView() {
  for (auto& c : constraints_) c->holder_ = nullptr;
  constraints_.clear();
  for (auto& s : subviews_) s->superview_ = nullptr;
  for (auto& g : gestures_) g->view_ = nullptr;
  for (auto& g : guides_) g->owner_ = nullptr;
  if (safeAreaGuide_) safeAreaGuide_->owner_ = nullptr;
  layer_->delegate_ = nullptr;
  layer_->removeAllAnimations();
}

// --- Geometry --------------------------------------------------------------------

CGRect UIView::frame() const { return layer_->frame(); }

void UIView::setFrame(const CGRect& frame) {
  CGSize old = bounds().size;
  CGRect f = CGRectStandardize(frame);
  layer_->setPosition({CGRectGetMidX(f), CGRectGetMidY(f)});
  layer_->setBounds({bounds().origin, f.size});
  geometryChanged(old);
}

void UIView::setBounds(const CGRect& b) {
  CGSize old = bounds().size;
  layer_->setBounds(b);
  geometryChanged(old);
}

void UIView::setCenter(CGPoint c) {
  layer_->setPosition(c);
  if (superview_ && isReferencedByActiveConstraint()) superview_->setNeedsLayout();
}

void UIView::geometryChanged(CGSize oldSize) {
  CGSize size = bounds().size;
  if (size != oldSize) {
    setNeedsLayout();
    if (autoresizesSubviews_) autoresizeSubviews(oldSize);
  }
  if (superview_ && isReferencedByActiveConstraint()) superview_->setNeedsLayout();
}

void UIView::autoresizeSubviews(CGSize oldSize) {
  CGSize size = bounds().size;
  auto share = [](double delta, double& margin, double& length, double far, bool fm, bool fl, bool ff) {
    int n = int(fm) + int(fl) + int(ff);
    if (n == 0) return;
    double total = (fm ? margin : 0) + (fl ? length : 0) + (ff ? far : 0);
    if (total <= 0) {
      if (fm) margin += delta / n;
      if (fl) length += delta / n;
      return;
    }
    if (fm) margin += delta * margin / total;
    if (fl) length += delta * length / total;
  };
  for (auto& s : subviews_) {
    UIViewAutoresizing m = s->autoresizing_;
    if (m == UIViewAutoresizing::None || !s->tamic_) continue;
    CGRect f = s->frame();
    double right = oldSize.width - f.origin.x - f.size.width;
    double bottom = oldSize.height - f.origin.y - f.size.height;
    share(size.width - oldSize.width, f.origin.x, f.size.width, right,
          hasFlag(m, UIViewAutoresizing::FlexibleLeftMargin), hasFlag(m, UIViewAutoresizing::FlexibleWidth),
          hasFlag(m, UIViewAutoresizing::FlexibleRightMargin));
    share(size.height - oldSize.height, f.origin.y, f.size.height, bottom,
          hasFlag(m, UIViewAutoresizing::FlexibleTopMargin), hasFlag(m, UIViewAutoresizing::FlexibleHeight),
          hasFlag(m, UIViewAutoresizing::FlexibleBottomMargin));
    s->setFrame(f);
  }
}

CGRect UIView::layoutRect() const {
  CGSize s = bounds().size;
  return {{center().x - s.width / 2, center().y - s.height / 2}, s};
}

UIColor UIView::tintColor() const {
  for (const UIView* v = this; v; v = v->superview_) {
    if (v->tint_) return *v->tint_;
  }
  return UIColor::systemBlueColor();
}

void UIView::setTintColor(std::optional<UIColor> c) {
  tint_ = c;
  notifyTintChanged();
}

void UIView::notifyTintChanged() {
  tintColorDidChange();
  for (auto& s : subviews_) {
    if (!s->tint_) s->notifyTintChanged();
  }
}

UIView* UIView::viewWithTag(long tag) {
  if (tag_ == tag) return this;
  for (auto& s : subviews_) {
    if (UIView* v = s->viewWithTag(tag)) return v;
  }
  return nullptr;
}

void UIView::setSemanticContentAttribute(UISemanticContentAttribute a) {
  semantic_ = a;
  setNeedsLayout();
}

UIUserInterfaceLayoutDirection UIView::effectiveUserInterfaceLayoutDirection() const {
  for (const UIView* v = this; v; v = v->superview_) {
    if (v->semantic_ == UISemanticContentAttribute::ForceLeftToRight)
      return UIUserInterfaceLayoutDirection::LeftToRight;
    if (v->semantic_ == UISemanticContentAttribute::ForceRightToLeft)
      return UIUserInterfaceLayoutDirection::RightToLeft;
  }
  return UIApplication::sharedApplication().userInterfaceLayoutDirection();
}

// --- Hierarchy ---------------------------------------------------------------------

UIWindow* UIView::window() const {
  const UIView* v = this;
  while (v->superview_) v = v->superview_;
  return v->isWindow_ ? static_cast<UIWindow*>(const_cast<UIView*>(v)) : nullptr;
}

void UIView::addSubview(Ptr view) { insertAt(std::move(view), subviews_.size()); }

void UIView::insertSubview(Ptr view, long index) {
  insertAt(std::move(view), index < 0 ? 0 : static_cast<size_t>(index));
}

void UIView::insertSubviewAbove(Ptr view, const UIView* sibling) {
  if (!view) return;
  if (view->superview_ == this) detachSubview(view.get());
  auto it = std::find_if(subviews_.begin(), subviews_.end(), [sibling](const Ptr& p) { return p.get() == sibling; });
  insertAt(std::move(view), it == subviews_.end() ? subviews_.size() : size_t(it - subviews_.begin()) + 1);
}

void UIView::insertSubviewBelow(Ptr view, const UIView* sibling) {
  if (!view) return;
  if (view->superview_ == this) detachSubview(view.get());
  auto it = std::find_if(subviews_.begin(), subviews_.end(), [sibling](const Ptr& p) { return p.get() == sibling; });
  insertAt(std::move(view), it == subviews_.end() ? 0 : size_t(it - subviews_.begin()));
}

// Removes a subview from the list only (no notifications): for reordering.
void UIView::detachSubview(UIView* view) {
  auto it = std::find_if(subviews_.begin(), subviews_.end(), [view](const Ptr& p) { return p.get() == view; });
  if (it != subviews_.end()) subviews_.erase(it);
}

void UIView::insertAt(Ptr view, size_t index) {
  if (!view || view.get() == this || isDescendantOfView(view.get())) return;
  if (view->superview_ == this) {
    detachSubview(view.get());
    subviews_.insert(subviews_.begin() + static_cast<long>(std::min(index, subviews_.size())), view);
    return;
  }
  UIWindow* oldWindow = view->window();
  if (view->superview_) view->removeFromSuperview();
  subviews_.insert(subviews_.begin() + static_cast<long>(std::min(index, subviews_.size())), view);
  view->superview_ = this;
  view->didMoveToSuperview();
  didAddSubview(view.get());
  if (oldWindow != view->window()) view->moveToWindow(oldWindow);
  if (!view->tint_) view->notifyTintChanged();
  view->setNeedsLayout();
  setNeedsLayout();
}

void UIView::removeFromSuperview() {
  if (!superview_) return;
  UIView* parent = superview_;
  auto it = std::find_if(parent->subviews_.begin(), parent->subviews_.end(),
                         [this](const Ptr& p) { return p.get() == this; });
  if (it == parent->subviews_.end()) return;
  Ptr keep = *it;  // this view may have no other owner
  parent->willRemoveSubview(this);
  removeConstraintsCrossing(this);
  UIWindow* oldWindow = window();
  parent->subviews_.erase(std::find(parent->subviews_.begin(), parent->subviews_.end(), keep));
  superview_ = nullptr;
  didMoveToSuperview();
  if (oldWindow) moveToWindow(oldWindow);
  if (!tint_) notifyTintChanged();
  parent->setNeedsLayout();
}

void UIView::removeConstraintsCrossing(UIView* subtreeRoot) {
  auto inSubtree = [subtreeRoot](LayoutItem* item) {
    if (!item) return false;
    UIView* v = item->asView();
    if (!v) v = item->layoutContainer();
    return v && v->isDescendantOfView(subtreeRoot);
  };
  for (UIView* a = subtreeRoot->superview_; a; a = a->superview_) {
    auto held = a->constraints_;
    for (auto& c : held) {
      if (inSubtree(c->firstItem()) || inSubtree(c->secondItem())) a->removeConstraint(c);
    }
  }
}

void UIView::moveToWindow(UIWindow* /*oldWindow*/) {
  didMoveToWindow();
  auto subs = subviews_;
  for (auto& s : subs) s->moveToWindow(nullptr);
}

void UIView::bringSubviewToFront(const UIView* view) {
  auto it = std::find_if(subviews_.begin(), subviews_.end(), [view](const Ptr& p) { return p.get() == view; });
  if (it == subviews_.end()) return;
  Ptr keep = *it;
  subviews_.erase(it);
  subviews_.push_back(keep);
}

void UIView::sendSubviewToBack(const UIView* view) {
  auto it = std::find_if(subviews_.begin(), subviews_.end(), [view](const Ptr& p) { return p.get() == view; });
  if (it == subviews_.end()) return;
  Ptr keep = *it;
  subviews_.erase(it);
  subviews_.insert(subviews_.begin(), keep);
}

bool UIView::isDescendantOfView(const UIView* view) const {
  for (const UIView* v = this; v; v = v->superview_) {
    if (v == view) return true;
  }
  return false;
}

// --- Coordinates --------------------------------------------------------------------

CGPoint UIView::convertPoint(CGPoint p, const UIView* toView) const {
  CGPoint r = toRoot(this, p);
  return toView ? fromRoot(toView, r) : r;
}

CGPoint UIView::convertPointFrom(CGPoint p, const UIView* fromView) const {
  CGPoint r = fromView ? toRoot(fromView, p) : p;
  return fromRoot(this, r);
}

namespace {

// The bounding box of a rectangle's four corners after `map` (a conversion
// between coordinate spaces, which may scale or rotate).
template <class Map>
CGRect mapRectCorners(const CGRect& r, Map map) {
  CGRect s = CGRectStandardize(r);
  CGPoint a = map(s.origin);
  CGPoint b = map({CGRectGetMaxX(s), CGRectGetMaxY(s)});
  CGPoint c = map({CGRectGetMaxX(s), s.origin.y});
  CGPoint d = map({s.origin.x, CGRectGetMaxY(s)});
  double x0 = std::min({a.x, b.x, c.x, d.x}), x1 = std::max({a.x, b.x, c.x, d.x});
  double y0 = std::min({a.y, b.y, c.y, d.y}), y1 = std::max({a.y, b.y, c.y, d.y});
  return {{x0, y0}, {x1 - x0, y1 - y0}};
}

}  // namespace

CGRect UIView::convertRect(const CGRect& r, const UIView* toView) const {
  return mapRectCorners(r, [&](CGPoint p) { return convertPoint(p, toView); });
}

CGRect UIView::convertRectFrom(const CGRect& r, const UIView* fromView) const {
  return mapRectCorners(r, [&](CGPoint p) { return convertPointFrom(p, fromView); });
}

// --- Touches --------------------------------------------------------------------------

UIView* UIView::hitTest(CGPoint p, UIEvent* event) {
  if (isHidden() || !userInteraction_ || alpha() < 0.01 || layer_->blocksUserInteraction()) return nullptr;
  if (!pointInside(p, event)) return nullptr;
  auto subs = subviews_;
  for (auto it = subs.rbegin(); it != subs.rend(); ++it) {
    if (UIView* hit = (*it)->hitTest(fromSuperview(**it, p), event)) return hit;
  }
  return this;
}

bool UIView::pointInside(CGPoint p, UIEvent*) { return CGRectContainsPoint(bounds(), p); }

void UIView::touchesBegan(const std::vector<UITouch*>&, UIEvent*) {}
void UIView::touchesMoved(const std::vector<UITouch*>&, UIEvent*) {}
void UIView::touchesEnded(const std::vector<UITouch*>&, UIEvent*) {}
void UIView::touchesCancelled(const std::vector<UITouch*>&, UIEvent*) {}

void UIView::addGestureRecognizer(std::shared_ptr<UIGestureRecognizer> g) {
  if (!g) return;
  if (g->view_ && g->view_ != this) g->view_->removeGestureRecognizer(g.get());
  if (g->view_ == this) return;
  g->view_ = this;
  gestures_.push_back(std::move(g));
}

void UIView::removeGestureRecognizer(UIGestureRecognizer* g) {
  auto it = std::find_if(gestures_.begin(), gestures_.end(), [g](const auto& p) { return p.get() == g; });
  if (it == gestures_.end()) return;
  (*it)->view_ = nullptr;
  gestures_.erase(it);
}

bool UIView::gestureRecognizerShouldBegin(UIGestureRecognizer&) { return true; }

// --- Layout ----------------------------------------------------------------------------

void UIView::setNeedsLayout() {
  needsLayout_ = true;
  for (UIView* v = superview_; v && !v->subtreeNeedsLayout_; v = v->superview_) v->subtreeNeedsLayout_ = true;
  UIView* root = this;
  while (root->superview_) root = root->superview_;
  LayoutPass::schedule(*root);
}

void UIView::layoutIfNeeded() {
  UIView* root = this;
  while (root->superview_) root = root->superview_;
  LayoutPass::run(*root);
}

void UIView::layoutSubviews() {
  for (auto& s : subviews_) {
    if (s->tamic_ || !s->solvedRect_) continue;
    CGRect r = *s->solvedRect_;
    CGRect now = s->layoutRect();
    if (nearlyEqual(r.origin.x, now.origin.x) && nearlyEqual(r.origin.y, now.origin.y) &&
        nearlyEqual(r.size.width, now.size.width) && nearlyEqual(r.size.height, now.size.height)) {
      continue;
    }
    CGSize old = s->bounds().size;
    s->layer_->setPosition({CGRectGetMidX(r), CGRectGetMidY(r)});
    s->layer_->setBounds({s->bounds().origin, r.size});
    if (s->bounds().size != old) {
      s->setNeedsLayout();
      if (s->autoresizesSubviews_) s->autoresizeSubviews(old);
    }
  }
}

CGSize UIView::sizeThatFits(CGSize) { return bounds().size; }

void UIView::sizeToFit() {
  CGRect f = frame();
  CGSize s = sizeThatFits(f.size);
  setFrame({f.origin, s});
}

void UIView::invalidateIntrinsicContentSize() {
  setNeedsLayout();
  if (superview_) superview_->setNeedsLayout();
}

void UIView::setTranslatesAutoresizingMaskIntoConstraints(bool t) {
  tamic_ = t;
  if (superview_) superview_->setNeedsLayout();
}

UILayoutPriority UIView::contentHuggingPriorityForAxis(UILayoutConstraintAxis axis) const {
  return hugging_[axis == UILayoutConstraintAxis::Horizontal ? 0 : 1];
}

void UIView::setContentHuggingPriority(UILayoutPriority p, UILayoutConstraintAxis axis) {
  hugging_[axis == UILayoutConstraintAxis::Horizontal ? 0 : 1] = p;
  setNeedsLayout();
}

void UIView::addConstraint(const NSLayoutConstraint::Ptr& c) {
  if (!c || c->holder_ == this) return;
  if (c->holder_) c->holder_->removeConstraint(c);
  c->holder_ = this;
  c->registerWithItems();
  constraints_.push_back(c);
  setNeedsLayout();
}

void UIView::addConstraints(const std::vector<NSLayoutConstraint::Ptr>& cs) {
  for (const auto& c : cs) addConstraint(c);
}

void UIView::removeConstraint(const NSLayoutConstraint::Ptr& c) {
  auto it = std::find(constraints_.begin(), constraints_.end(), c);
  if (it == constraints_.end()) return;
  NSLayoutConstraint::Ptr keep = *it;
  constraints_.erase(it);
  keep->holder_ = nullptr;
  setNeedsLayout();
}

void UIView::removeConstraints(const std::vector<NSLayoutConstraint::Ptr>& cs) {
  for (const auto& c : cs) removeConstraint(c);
}

void UIView::addLayoutGuide(const std::shared_ptr<UILayoutGuide>& g) {
  if (!g || g->owner_ == this) return;
  if (g->owner_) g->owner_->removeLayoutGuide(g.get());
  g->owner_ = this;
  guides_.push_back(g);
}

void UIView::removeLayoutGuide(const UILayoutGuide* g) {
  auto it = std::find_if(guides_.begin(), guides_.end(), [g](const auto& p) { return p.get() == g; });
  if (it == guides_.end()) return;
  auto keep = *it;
  guides_.erase(it);
  keep->deactivateReferencingConstraints();
  keep->owner_ = nullptr;
  setNeedsLayout();
}

UILayoutGuide& UIView::safeAreaLayoutGuide() {
  if (!safeAreaGuide_) {
    safeAreaGuide_ = std::make_shared<UILayoutGuide>();
    safeAreaGuide_->owner_ = this;
    safeAreaGuide_->safeArea_ = true;
    safeAreaGuide_->identifier_ = "UIViewSafeAreaLayoutGuide";
  }
  return *safeAreaGuide_;
}

UIEdgeInsets UIView::safeAreaInsets() const {
  UIWindow* w = window();
  if (!w) return {};
  CGRect safe = UIEdgeInsetsInsetRect(w->bounds(), w->windowSafeAreaInsets());
  CGRect mine = convertRect(bounds(), w);
  return {std::max(0.0, CGRectGetMinY(safe) - CGRectGetMinY(mine)),
          std::max(0.0, CGRectGetMinX(safe) - CGRectGetMinX(mine)),
          std::max(0.0, CGRectGetMaxY(mine) - CGRectGetMaxY(safe)),
          std::max(0.0, CGRectGetMaxX(mine) - CGRectGetMaxX(safe))};
}

// --- Animations --------------------------------------------------------------------------

void UIView::animateWithDuration(double duration, const Animations& animations, Completion completion) {
  animateWithDuration(duration, 0, UIViewAnimationOptions::CurveEaseInOut, animations, std::move(completion));
}

void UIView::animateWithDuration(double duration, double delay, UIViewAnimationOptions options,
                                 const Animations& animations, Completion completion) {
  auto group = std::make_shared<AnimationGroup>(std::move(completion));
  Animator::shared().pushContext({duration, delay, options, curveForOptions(options), group, false});
  if (animations) animations();
  Animator::shared().popContext();
  group->seal();
}

void UIView::animateWithDuration(double duration, double delay, double dampingRatio, double velocity,
                                 UIViewAnimationOptions options, const Animations& animations, Completion completion) {
  auto group = std::make_shared<AnimationGroup>(std::move(completion));
  Animator::shared().pushContext(
      {duration, delay, options, AnimationCurve::spring(dampingRatio, velocity, duration), group, false});
  if (animations) animations();
  Animator::shared().popContext();
  group->seal();
}

void UIView::transitionWithView(UIView* view, double duration, UIViewAnimationOptions options,
                                const Animations& animations, Completion completion) {
  bool dissolve = ((static_cast<unsigned>(options) >> 20) & 0x7) == 5;
  bool runs = view && duration > 0 && dissolve;
  std::shared_ptr<UIImage> snapshot;
  if (runs && provider()) snapshot = provider()(*view);
  performWithoutAnimation(animations);
  auto group = std::make_shared<AnimationGroup>(std::move(completion));
  if (runs) {
    CALayer& layer = *view->layer_;
    if (layer.transition_) layer.transition_->cancel();
    group->add();
    layer.transition_ =
        std::make_shared<LayerTransition>(&layer, Animator::now(), duration, curveForOptions(options), snapshot, group);
    Animator::shared().add(layer.transition_);
  }
  group->seal();
}

void UIView::performWithoutAnimation(const Animations& changes) {
  Animator::BlockContext ctx;
  ctx.disabled = true;
  Animator::shared().pushContext(ctx);
  if (changes) changes();
  Animator::shared().popContext();
}

void UIView::setSnapshotProvider(SnapshotProvider p) { provider() = std::move(p); }

const UIView::SnapshotProvider& UIView::snapshotProvider() { return provider(); }

}  // namespace platform
