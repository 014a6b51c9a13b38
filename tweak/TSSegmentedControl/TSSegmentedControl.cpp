#include "tweak/TSSegmentedControl/TSSegmentedControl.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "platform/foundation/Log.h"
#include "platform/ui/CABasicAnimation.h"
#include "platform/ui/CAShapeLayer.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITapGestureRecognizer.h"
#include "tweak/TSSegmentedControl/TSGradientGeometry.h"

using platform::CGPoint;
using platform::CGRect;
using platform::UIBezierPath;
using platform::UIColor;
using platform::UIView;

namespace {

constexpr const char* kShadowOpacityKey = "shadowOpacity";

// A programmer error inside the control: reported with its fixed message; the operation stops.
void assertionFailure(const std::string& message) {
  platform::Log::write("*** Assertion failure in TSSegmentedControl: " + message);
}

std::string describe(const TSSegmentedControl* control) {
  char text[64];
  std::snprintf(text, sizeof text, "<TSSegmentedControl: %p>", static_cast<const void*>(control));
  return text;
}

std::shared_ptr<UIView> makeClearView(bool takesTouches) {
  auto view = std::make_shared<UIView>();
  view->setBackgroundColor(std::nullopt);
  view->setUserInteractionEnabled(takesTouches);
  return view;
}

// The shape layer masking `layer`, made when it has none.
platform::CAShapeLayer& shapeMaskOf(platform::CALayer& layer) {
  auto* shape = dynamic_cast<platform::CAShapeLayer*>(layer.mask().get());
  if (!shape) {
    auto mask = std::make_shared<platform::CAShapeLayer>();
    shape = mask.get();
    layer.setMask(std::move(mask));
  }
  return *shape;
}

std::optional<UIBezierPath> shifted(std::optional<UIBezierPath> path, double dx) {
  if (path) path->applyTransform(platform::CGAffineTransformMakeTranslation(dx, 0));
  return path;
}

}  // namespace

TSSegmentedControl::TSSegmentedControl(const CGRect& frame) : UIView(frame) { baseInit(); }

TSSegmentedControl::~TSSegmentedControl() {
  scrollView_->setDelegate(nullptr);
  // A window may still hold a limiter's recogniser for a finger that is down: it must not call back.
  for (auto* limiter : {leftLimiterView_.get(), rightLimiterView_.get()})
    for (const auto& g : limiter->gestureRecognizers()) g->removeTarget(this);
}

void TSSegmentedControl::baseInit() {
  setClipsToBounds(false);

  scrollView_ = std::make_shared<platform::UIScrollView>(bounds());
  scrollView_->setShowsHorizontalScrollIndicator(false);
  scrollView_->setShowsVerticalScrollIndicator(false);
  scrollView_->setClipsToBounds(true);
  // A snap from rest settles in about half a second, and a flick reaches a neighbouring slot.
  scrollView_->setDecelerationRate(platform::UIScrollView::UIScrollViewDecelerationRateFast);
  scrollView_->setDelegate(this);
  addSubview(scrollView_);
  bringSubviewToFront(scrollView_.get());

  leftSpacerView_ = makeClearView(true);
  selectorView_ = std::make_shared<UIView>();
  selectorView_->setBackgroundColor(selectorViewColor_);
  selectorView_->setClipsToBounds(true);
  shapeMaskOf(selectorView_->layer());  // no path yet: the selector shows nothing before the first step
  rightSpacerView_ = makeClearView(true);
  scrollView_->addSubview(leftSpacerView_);
  scrollView_->addSubview(selectorView_);
  scrollView_->addSubview(rightSpacerView_);

  leftLimiterView_ = makeClearView(true);
  rightLimiterView_ = makeClearView(true);
  insertSubviewAbove(leftLimiterView_, scrollView_.get());
  insertSubviewAbove(rightLimiterView_, leftLimiterView_.get());

  gradientViewContainer_ = makeClearView(false);
  gradientViewContainer_->setClipsToBounds(true);
  gradientView_ = std::make_shared<TSGradientView>();
  gradientView_->setUserInteractionEnabled(false);
  gradientViewContainer_->addSubview(gradientView_);
  insertSubview(gradientViewContainer_, 0);

  shadowView_ = makeClearView(false);
  addSubview(shadowView_);

  for (auto* limiter : {leftLimiterView_.get(), rightLimiterView_.get()}) {
    auto tap = std::make_shared<platform::UITapGestureRecognizer>();
    tap->addTarget(this, [this](platform::UIGestureRecognizer& g) { tapWasRecognized(g); });
    limiter->addGestureRecognizer(tap);
  }
  placeParts();
}

// --- Data source and reload ---

void TSSegmentedControl::setDataSource(const std::shared_ptr<TSSegmentedControlDataSource>& dataSource) {
  dataSource_ = dataSource;
  reloadData();
}

void TSSegmentedControl::reloadData() {
  auto source = dataSource();
  if (!source) {
    platform::Log::write("Can't reload segmented control data without specified data source.");
    return;
  }
  auto keepAlive = weak_from_this().lock();
  layoutDependentValuesWasUpdated_ = false;
  statesCount_ = std::max(0L, source->numberOfStatesInSegmentedControl(*this));
  // A move under way belongs to the old slots.
  scrollView_->setContentOffset(scrollView_->contentOffset());
  endInteractionPause();
  if (currentState_ >= statesCount_) currentState_ = 0;
  changedViews_.clear();

  reinstallViews();
  sendSubviewToBack(scrollView_.get());
  sendSubviewToBack(gradientViewContainer_.get());
  placeParts();
  updateTransitionStyle();
  if (viewWasLayoutSubviews_) updateLayoutDependentValues();
}

void TSSegmentedControl::reinstallViews() {
  for (auto& container : stateViewContainers_) container->removeFromSuperview();
  for (auto& container : selectedStateViewContainers_) container->removeFromSuperview();
  stateViewContainers_.clear();
  stateViews_.clear();
  selectedStateViewContainers_.clear();
  selectedStateViews_.clear();

  auto source = dataSource();
  const long count = source ? statesCount_ : 0;
  for (long i = 0; i < count; ++i) {
    auto container = makeClearView(false);
    addSubview(container);
    stateViewContainers_.push_back(container);
  }
  for (long i = 0; i < count; ++i) {
    auto container = makeClearView(false);
    insertSubviewAbove(container, stateViewContainers_[static_cast<size_t>(i)].get());
    selectedStateViewContainers_.push_back(container);
  }
  for (long i = 0; i < count; ++i) {
    auto content = viewForStateAtIndex(*source, i);
    stateViewContainers_[static_cast<size_t>(i)]->addSubview(content);
    stateViews_.push_back(content);
    auto selected = selectedViewForStateAtIndex(*source, i);
    selectedStateViewContainers_[static_cast<size_t>(i)]->addSubview(selected);
    selectedStateViews_.push_back(selected);
  }
  setupGradientViewWithCount(count);
}

std::shared_ptr<UIView> TSSegmentedControl::viewForStateAtIndex(TSSegmentedControlDataSource& source, long index) {
  if (auto view = source.viewForStateAtIndex(*this, index)) return view;
  auto title = source.titleForStateAtIndex(*this, index);
  auto attributed = source.attributedTitleForStateAtIndex(*this, index);
  if (!title && !attributed) assertionFailure("Data source should provide titles/attribute titles or views.");
  return makeTitleLabel(title, attributed, textColor_);
}

std::shared_ptr<UIView> TSSegmentedControl::selectedViewForStateAtIndex(TSSegmentedControlDataSource& source,
                                                                        long index) {
  if (auto view = source.viewForSelectedStateAtIndex(*this, index)) return view;
  if (auto view = source.viewForStateAtIndex(*this, index)) return view;
  auto title = source.titleForSelectedStateAtIndex(*this, index);
  auto attributed = source.attributedTitleForSelectedStateAtIndex(*this, index);
  if (!title && !attributed) {
    title = source.titleForStateAtIndex(*this, index);
    attributed = source.attributedTitleForStateAtIndex(*this, index);
  }
  return makeTitleLabel(title, attributed, selectedStateTextColor_);
}

std::shared_ptr<UIView> TSSegmentedControl::makeTitleLabel(
    const std::optional<std::string>& title, const std::optional<platform::NSAttributedString>& attributed,
    const UIColor& color) const {
  auto label = std::make_shared<platform::UILabel>();
  if (title) {
    label->setText(*title);
    label->setFont(textFont_);
  }
  if (attributed) label->setAttributedText(*attributed);
  label->setTextColor(color);  // over the whole text, attributed or not
  label->setTextAlignment(platform::NSTextAlignment::Center);
  return label;
}

// --- Slot looks ---

void TSSegmentedControl::setupStateViewAtIndex(long index, double s) {
  if (index < 0 || index >= static_cast<long>(stateViewContainers_.size())) return;
  if (s > -1 && s < 1) changedViews_.insert(index);
  UIView& plain = *stateViewContainers_[static_cast<size_t>(index)];
  UIView& selected = *selectedStateViewContainers_[static_cast<size_t>(index)];
  switch (transitionStyle_) {
    case TSSegmentedControlTransitionStyle::Mask:
      shapeMaskOf(selected.layer())
          .setPath(shifted(pathForSelectorViewFromPercentage(s), selected.bounds().size.width * s));
      break;
    case TSSegmentedControlTransitionStyle::CrossFade:
      selected.setAlpha(1 - std::fabs(s));
      plain.setAlpha(std::fabs(s));
      break;
    case TSSegmentedControlTransitionStyle::None: break;
  }
  if (auto d = delegate()) d->setupStateAtIndex(*this, index, plain, selected, s);
}

void TSSegmentedControl::resetStateViewAtIndex(long index) {
  if (index < 0 || index >= static_cast<long>(stateViewContainers_.size())) return;
  UIView& plain = *stateViewContainers_[static_cast<size_t>(index)];
  UIView& selected = *selectedStateViewContainers_[static_cast<size_t>(index)];
  plain.setAlpha(1);
  selected.setAlpha(1);
  selected.layer().setMask(nullptr);
  if (auto d = delegate()) d->resetStateAtIndex(*this, index, plain, selected);
}

void TSSegmentedControl::updateTransitionStyle() {
  const long count = static_cast<long>(stateViewContainers_.size());
  for (long i = 0; i < count; ++i) {
    resetStateViewAtIndex(i);
    setupStateViewAtIndex(i, 1);
  }
  setupStateViewAtIndex(currentState_, 0);
}

void TSSegmentedControl::setTransitionStyle(TSSegmentedControlTransitionStyle style) {
  transitionStyle_ = style;
  if (statesCount_ < 1) return;
  updateTransitionStyle();
  if (layoutDependentValuesWasUpdated_) scrollStep();
}

void TSSegmentedControl::setShapeStyle(TSSegmentedControlShapeStyle style) {
  shapeStyle_ = style;
  if (layoutDependentValuesWasUpdated_) scrollStep();
  if (shadowShown_) setupShadowForStateAtIndex(currentState_, true, false);
}

std::optional<UIBezierPath> TSSegmentedControl::pathForSelectorViewFromPercentage(double q) const {
  const TSSegmentedControlGeometry g = geometry();
  return TSSelectorShape::pathForSelectorViewFromPercentage(shapeStyle_, g.selectorWidth(), bounds().size.height,
                                                            cornerRadius_, q);
}

void TSSegmentedControl::setSelectorViewPath(std::optional<UIBezierPath> path) {
  shapeMaskOf(selectorView_->layer()).setPath(path);
  selectorViewPath_ = std::move(path);
}

void TSSegmentedControl::setSelectorViewColor(const UIColor& color) {
  selectorViewColor_ = color;
  selectorView_->setBackgroundColor(color);
}

void TSSegmentedControl::setCornerRadius(double radius) {
  cornerRadius_ = radius;
  layer().setCornerRadius(radius);
  scrollView_->layer().setCornerRadius(radius);
  gradientViewContainer_->layer().setCornerRadius(radius);
  selectorView_->layer().setCornerRadius(applyCornerRadiusToSelectorView_ ? radius : 0);
}

void TSSegmentedControl::setApplyCornerRadiusToSelectorView(bool apply) {
  applyCornerRadiusToSelectorView_ = apply;
  setCornerRadius(cornerRadius_);
}

// --- Layout ---

void TSSegmentedControl::layoutSubviews() {
  UIView::layoutSubviews();
  placeParts();
  viewWasLayoutSubviews_ = true;
  const double width = bounds().size.width;
  if (!layoutDependentValuesWasUpdated_) {
    updateLayoutDependentValues();
  } else if (width != laidOutWidth_ && !scrollView_->isTracking() && currentState_ < statesCount_) {
    // A new width moves every state offset: stay on the current state.
    const CGPoint target = geometry().offsetFromState(currentState_);
    if (scrollView_->contentOffset() != target)
      scrollView_->setContentOffset(target);
    else if (scrollStepDepth_ == 0)
      scrollStep();
  }
  laidOutWidth_ = width;
}

void TSSegmentedControl::updateLayoutDependentValues() {
  layoutDependentValuesWasUpdated_ = true;
  laidOutWidth_ = bounds().size.width;
  const CGPoint start = scrollView_->contentOffset();
  if (statesCount_ > 0 && dataSource()) {
    setCurrentState(0, false);
  } else {
    currentState_ = 0;
    scrollView_->setContentOffset({0, 0});
  }
  // Nothing moved: draw the state anyway (unless a step under way, whose delegate reloaded, will).
  if (scrollView_->contentOffset() == start && scrollStepDepth_ == 0) scrollStep();
}

void TSSegmentedControl::placeParts() {
  const CGRect b = bounds();
  const double w = b.size.width, h = b.size.height;
  const TSSegmentedControlGeometry g = geometry();
  const double s = g.spacerWidth(), sw = g.selectorWidth();
  scrollView_->setFrame({{0, 0}, {w, h}});
  scrollView_->setContentSize({g.contentWidth(), h});
  leftSpacerView_->setFrame({{0, 0}, {s, h}});
  selectorView_->setFrame({{s, 0}, {sw, h}});
  rightSpacerView_->setFrame({{s + sw, 0}, {s, h}});
  gradientViewContainer_->setFrame({{0, 0}, {w, h}});
  shadowView_->setFrame({{0, 0}, {w, h}});
  for (size_t i = 0; i < stateViewContainers_.size(); ++i) {
    const CGRect slot = g.slotFrame(static_cast<long>(i), h);
    stateViewContainers_[i]->setFrame(slot);
    selectedStateViewContainers_[i]->setFrame(slot);
    stateViews_[i]->setFrame({{0, 0}, slot.size});
    selectedStateViews_[i]->setFrame({{0, 0}, slot.size});
  }
  placeMovingParts(scrollView_->contentOffset().x);
}

void TSSegmentedControl::placeMovingParts(double x) {
  const double w = bounds().size.width, h = bounds().size.height;
  const TSSegmentedControlGeometry g = geometry();
  const double left = std::clamp(g.selectorLeftEdge(x), 0.0, w);
  const double right = std::clamp(g.selectorLeftEdge(x) + g.selectorWidth(), 0.0, w);
  leftLimiterView_->setFrame({{0, 0}, {left, h}});
  rightLimiterView_->setFrame({{right, 0}, {w - right, h}});
}

// --- Scrolling ---

void TSSegmentedControl::scrollStep() {
  auto keepAlive = weak_from_this().lock();
  ++scrollStepDepth_;
  struct Leave {
    int& depth;
    ~Leave() { --depth; }
  } leave{scrollStepDepth_};
  const double x = scrollView_->contentOffset().x;
  const TSSegmentedControlGeometry g = geometry();
  const double edge = g.selectorLeftEdge(x);
  if (auto d = delegate()) d->didScrollWithXOffset(*this, edge);
  if (shadowShown_ && x != g.offsetFromState(g.stateFromOffset(x)).x)
    setupShadowForStateAtIndex(currentState_, false, true);
  const double p = g.percentFromOffset(x);
  const long left = TSSegmentedControlGeometry::leftStateIndexFromPercentage(p);
  const long right = TSSegmentedControlGeometry::rightStateIndexFromPercentage(p);
  if (auto d = delegate()) d->didScrollWithXOffset(*this, edge, p, left, right);
  for (auto it = changedViews_.begin(); it != changedViews_.end();) {
    if (*it == left || *it == right) {
      ++it;
      continue;
    }
    const long index = *it;
    it = changedViews_.erase(it);
    setupStateViewAtIndex(index, 1);
  }
  const double f = p - std::floor(p);
  setSelectorViewPath(pathForSelectorViewFromPercentage(f));
  setupStateViewAtIndex(left, f);
  setupStateViewAtIndex(right, f - 1);
  setupGradientWithPercent(f, statesCount_ > 0 ? p / static_cast<double>(statesCount_) : 0);
  placeMovingParts(x);
}

void TSSegmentedControl::scrollViewDidScroll(platform::UIScrollView&) { scrollStep(); }

void TSSegmentedControl::scrollViewWillBeginDragging(platform::UIScrollView&) {
  if (auto d = delegate()) d->willChangeStateFromStateAtIndex(*this, currentState_);
}

void TSSegmentedControl::scrollViewWillEndDragging(platform::UIScrollView&, CGPoint, CGPoint* target) {
  if (dataSource() && target) *target = geometry().nearestStateOffsetFromOffset(*target);
}

void TSSegmentedControl::scrollViewDidEndDragging(platform::UIScrollView& scroller, bool decelerate) {
  // Released at rest exactly on a state: nothing decelerates, so the state is committed here.
  if (!decelerate) scrollViewDidEndDecelerating(scroller);
}

void TSSegmentedControl::scrollViewDidEndDecelerating(platform::UIScrollView&) {
  const double x = scrollView_->contentOffset().x;
  const TSSegmentedControlGeometry g = geometry();
  if (statesCount_ < 1 || x < 0 || x > bounds().size.width - g.selectorWidth()) return;
  changeStateToState(g.stateFromOffset(x));
}

void TSSegmentedControl::scrollViewDidEndScrollingAnimation(platform::UIScrollView&) {
  if (statesCount_ > 0) changeStateToState(geometry().stateFromOffset(scrollView_->contentOffset().x));
  endInteractionPause();
}

// --- State changes ---

void TSSegmentedControl::setCurrentState(long state, bool animated) {
  if (!dataSource()) {
    platform::Log::write("Warning! Data source of segmented control:" + describe(this) +
                         " wasn't set. In order to use segmented control set its data source.");
    return;
  }
  if (state < 0 || state >= statesCount_) {
    assertionFailure("Unable to set state " + std::to_string(state) + ". Segmented control has only " +
                     std::to_string(statesCount_) + " states from 0 to " + std::to_string(statesCount_ - 1) + ".");
    return;
  }
  const CGPoint target = geometry().offsetFromState(state);
  if (!animated) {
    endInteractionPause();
    currentState_ = state;
    if (shadowsEnabled_) setupShadowForStateAtIndex(state, true, false);
    scrollView_->setContentOffset(target);
    return;
  }
  if (scrollView_->contentOffset() == target) {  // already there: nothing will move
    scrollView_->setContentOffset(target);
    changeStateToState(state);
    endInteractionPause();
    return;
  }
  scrollView_->setContentOffset(target, true);
}

void TSSegmentedControl::changeStateToState(long state) {
  state = std::clamp(state, 0L, std::max(0L, statesCount_ - 1));
  const long old = currentState_;
  currentState_ = state;
  if (shadowsEnabled_) setupShadowForStateAtIndex(state, true, true);
  if (auto d = delegate()) d->didChangeStateFromStateAtIndex(*this, old, state);
}

void TSSegmentedControl::tapWasRecognized(platform::UIGestureRecognizer& tap) {
  if (tap.state() != platform::UIGestureRecognizerState::Ended || statesCount_ < 1) return;
  auto keepAlive = weak_from_this().lock();
  const long state = geometry().stateFromTapPoint(tap.locationInView(this));
  if (dataSource()) {
    interactionPaused_ = true;
    setUserInteractionEnabled(false);
  }
  setCurrentState(state, true);
  if (auto d = delegate()) d->didTapAtIndex(*this, state);
}

void TSSegmentedControl::endInteractionPause() {
  if (!interactionPaused_) return;
  interactionPaused_ = false;
  setUserInteractionEnabled(true);
}

// --- Gradient ---

std::optional<std::vector<UIColor>> TSSegmentedControl::gradientColorForStateAtIndex(long index) {
  auto source = dataSource();
  if (!source) return std::nullopt;
  auto colors = source->gradientColorsForStateAtIndex(*this, index);
  if (colors && colors->size() == 1) colors->push_back(colors->front());
  return colors;
}

std::vector<UIColor> TSSegmentedControl::gradientColorForBounce(unsigned long side) {
  auto source = dataSource();
  std::optional<std::vector<UIColor>> colors;
  if (source) colors = source->gradientColorsForBounce(*this, side);
  if (!colors) colors = std::vector<UIColor>{gradientBounceColor_};
  if (colors->size() == 1) colors->push_back(colors->front());
  return *colors;
}

void TSSegmentedControl::setupGradientViewWithCount(long count) {
  gradientStatesCount_ = count;
  std::vector<std::vector<UIColor>> groups;  // groups -1 ... N
  bool provided = false;
  for (long i = 0; i < count; ++i) {
    auto colors = gradientColorForStateAtIndex(i);
    provided = provided || colors.has_value();
    groups.push_back(colors.value_or(std::vector<UIColor>{}));
  }
  std::vector<UIColor> colors;
  std::vector<double> locations;
  if (provided) {
    groups.insert(groups.begin(), gradientColorForBounce(0));
    groups.push_back(gradientColorForBounce(1));
    const TSGradientGeometry g(count, gradientBackVelocity_);
    for (size_t k = 0; k < groups.size(); ++k) {
      const long c = static_cast<long>(groups[k].size());
      for (long j = 0; j < c; ++j) {
        colors.push_back(groups[k][static_cast<size_t>(j)]);
        locations.push_back(g.gradientLocationForStateAtIndex(static_cast<long>(k) - 1, j, c));
      }
    }
  }
  auto& layer = gradientView_->gradientLayer();
  layer.setColors(std::move(colors));
  layer.setLocations(std::move(locations));
  layer.setStartPoint({0, 0});
  layer.setEndPoint({1, 0});
}

void TSSegmentedControl::setupGradientWithPercent(double fraction, double offsetFactor) {
  const TSSegmentedControlGeometry g = geometry();
  const TSGradientGeometry gradient(statesCount_, gradientBackVelocity_);
  const double sw = g.selectorWidth();
  auto& mask = shapeMaskOf(gradientView_->layer());
  gradientView_->setFrame({{gradient.gradientViewLeftOffset(sw, offsetFactor), 0},
                           {gradient.gradientViewWidth(bounds().size.width), bounds().size.height}});
  mask.setPath(shifted(pathForSelectorViewFromPercentage(fraction), gradient.maskShift(sw, offsetFactor)));
}

// --- Shadow ---

UIColor TSSegmentedControl::shadowColorForStateAtIndex(long index) {
  auto colors = gradientColorForStateAtIndex(index);
  if (colors && !colors->empty()) return colors->front();
  return selectorViewColor_;
}

void TSSegmentedControl::setupShadowForStateAtIndex(long index, bool visible, bool animated) {
  platform::CALayer& layer = shadowView_->layer();
  layer.setShadowColor(shadowColorForStateAtIndex(index));
  layer.setShadowRadius(kShadowRadius);
  layer.setShadowOffset({0, 5});
  layer.setShadowPath(
      shifted(pathForSelectorViewFromPercentage(0), geometry().selectorWidth() * static_cast<double>(index)));
  shadowShown_ = visible;
  const double opacity = visible ? kShadowOpacityShown : 0.0;
  if (!animated) {
    layer.removeAnimationForKey(kShadowOpacityKey);
    layer.setShadowOpacity(opacity);
    return;
  }
  auto fade = platform::CABasicAnimation::animationWithKeyPath(kShadowOpacityKey);
  fade.setToValue(opacity);
  fade.setDuration(visible ? shadowShowDuration_ : shadowHideDuration_);
  fade.setFillMode(platform::CAFillMode::Forwards);
  fade.setRemovedOnCompletion(false);
  layer.addAnimation(fade, kShadowOpacityKey);
}
