#pragma once

#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "platform/ui/UIBezierPath.h"
#include "platform/ui/UIColor.h"
#include "platform/ui/UIFont.h"
#include "platform/ui/UIScrollView.h"
#include "platform/ui/UIView.h"
#include "tweak/TSSegmentedControl/TSGradientView.h"
#include "tweak/TSSegmentedControl/TSSegmentedControlDataSource.h"
#include "tweak/TSSegmentedControl/TSSegmentedControlDelegate.h"
#include "tweak/TSSegmentedControl/TSSegmentedControlGeometry.h"
#include "tweak/TSSegmentedControl/TSSelectorShape.h"

namespace platform {
class UIGestureRecognizer;
}

// How the selected look of a slot follows the selector (the control's transitionStyle).
enum class TSSegmentedControlTransitionStyle : unsigned {
  None = 0,       // the control changes nothing; only the delegate's hook runs
  Mask = 1,       // the selected title shows exactly where the selector covers the slot
  CrossFade = 2,  // the selected and plain titles cross-fade
};

// A horizontal selector of N states: N equal slots with a highlighted
// selector that the finger drags continuously from slot to slot. While it
// moves the control reports a fractional state to its delegate and blends the
// titles of the two slots it lies between; released, it snaps to the nearest
// state; a tap beside it moves it there with an animation. Slots and
// gradient colours come from a data source.
//
// The mover is a scroll view whose content is a spacer, the selector and a
// spacer; its offset decides everything else (see TSSegmentedControlGeometry).
// The control owns its whole view tree; it refers to its data source and
// delegate weakly. With fewer than two states the selector cannot move; with
// none the control shows only its background. Main thread only.
class TSSegmentedControl : public platform::UIView, private platform::UIScrollViewDelegate {
 public:
  static constexpr double kShadowRadius = 7.0;
  static constexpr double kShadowOpacityShown = 0.7;

  explicit TSSegmentedControl(const platform::CGRect& frame = platform::CGRectZero);
  ~TSSegmentedControl() override;
  TSSegmentedControl(const TSSegmentedControl&) = delete;
  TSSegmentedControl& operator=(const TSSegmentedControl&) = delete;

  // --- Data source and delegate ---
  std::shared_ptr<TSSegmentedControlDataSource> dataSource() const { return dataSource_.lock(); }
  // Stores the weak reference, then reloads.
  void setDataSource(const std::shared_ptr<TSSegmentedControlDataSource>& dataSource);
  std::shared_ptr<TSSegmentedControlDelegate> delegate() const { return delegate_.lock(); }
  void setDelegate(const std::shared_ptr<TSSegmentedControlDelegate>& delegate) { delegate_ = delegate; }
  // Rebuilds the slots and the gradient from the data source; back at state 0 once laid out.
  void reloadData();

  // --- State ---
  long currentState() const { return currentState_; }
  long statesCount() const { return statesCount_; }
  // Moves to `state` without animation (the delegate hears the scroll steps only).
  void setCurrentState(long state) { setCurrentState(state, false); }
  // Moves to `state`; animated, the move ends by committing the state and telling the delegate.
  void setCurrentState(long state, bool animated);

  // --- Look ---
  TSSegmentedControlTransitionStyle transitionStyle() const { return transitionStyle_; }
  // Stores the style and re-applies every slot's look.
  void setTransitionStyle(TSSegmentedControlTransitionStyle style);
  TSSegmentedControlShapeStyle shapeStyle() const { return shapeStyle_; }
  // Stores the style and redraws the selector, the masks and the shadow.
  void setShapeStyle(TSSegmentedControlShapeStyle style);
  double cornerRadius() const { return cornerRadius_; }
  // Rounds the control, its scroller and gradient container (and the selector when asked).
  void setCornerRadius(double radius);
  bool applyCornerRadiusToSelectorView() const { return applyCornerRadiusToSelectorView_; }
  void setApplyCornerRadiusToSelectorView(bool apply);
  const platform::UIColor& textColor() const { return textColor_; }
  // Applies to slots built from the next reload on.
  void setTextColor(const platform::UIColor& color) { textColor_ = color; }
  const platform::UIColor& selectedStateTextColor() const { return selectedStateTextColor_; }
  void setSelectedStateTextColor(const platform::UIColor& color) { selectedStateTextColor_ = color; }
  const platform::UIFont& textFont() const { return textFont_; }
  void setTextFont(const platform::UIFont& font) { textFont_ = font; }
  const platform::UIColor& selectorViewColor() const { return selectorViewColor_; }
  // Stores the colour and refills the selector.
  void setSelectorViewColor(const platform::UIColor& color);
  const platform::UIColor& gradientBounceColor() const { return gradientBounceColor_; }
  // Applies from the next reload on.
  void setGradientBounceColor(const platform::UIColor& color) { gradientBounceColor_ = color; }
  double gradientBackVelocity() const { return gradientBackVelocity_; }
  // Applies from the next reload on.
  void setGradientBackVelocity(double velocity) { gradientBackVelocity_ = velocity; }
  bool shadowsEnabled() const { return shadowsEnabled_; }
  void setShadowsEnabled(bool enabled) { shadowsEnabled_ = enabled; }
  double shadowShowDuration() const { return shadowShowDuration_; }
  void setShadowShowDuration(double seconds) { shadowShowDuration_ = seconds; }
  double shadowHideDuration() const { return shadowHideDuration_; }
  void setShadowHideDuration(double seconds) { shadowHideDuration_ = seconds; }

  // --- Geometry and parts (read-only) ---
  // The arithmetic for the current width and number of states.
  TSSegmentedControlGeometry geometry() const { return {statesCount_, bounds().size.width}; }
  // The selector's outline for percentage q in the current shape style, or nothing.
  std::optional<platform::UIBezierPath> pathForSelectorViewFromPercentage(double q) const;
  platform::UIScrollView& scrollView() const { return *scrollView_; }
  platform::UIView& selectorView() const { return *selectorView_; }
  platform::UIView& leftLimiterView() const { return *leftLimiterView_; }
  platform::UIView& rightLimiterView() const { return *rightLimiterView_; }
  platform::UIView& shadowView() const { return *shadowView_; }
  platform::UIView& gradientViewContainer() const { return *gradientViewContainer_; }
  TSGradientView& gradientView() const { return *gradientView_; }
  const std::vector<std::shared_ptr<platform::UIView>>& stateViewContainers() const { return stateViewContainers_; }
  const std::vector<std::shared_ptr<platform::UIView>>& selectedStateViewContainers() const {
    return selectedStateViewContainers_;
  }
  const std::vector<std::shared_ptr<platform::UIView>>& stateViews() const { return stateViews_; }
  const std::vector<std::shared_ptr<platform::UIView>>& selectedStateViews() const { return selectedStateViews_; }
  const std::optional<platform::UIBezierPath>& selectorViewPath() const { return selectorViewPath_; }

  void layoutSubviews() override;

 private:
  void baseInit();
  // Slots.
  void reinstallViews();
  std::shared_ptr<platform::UIView> viewForStateAtIndex(TSSegmentedControlDataSource& source, long index);
  std::shared_ptr<platform::UIView> selectedViewForStateAtIndex(TSSegmentedControlDataSource& source, long index);
  // A centred title label: the plain title in textFont, then the attributed title over it, in `color`.
  std::shared_ptr<platform::UIView> makeTitleLabel(const std::optional<std::string>& title,
                                                   const std::optional<platform::NSAttributedString>& attributed,
                                                   const platform::UIColor& color) const;
  void setupStateViewAtIndex(long index, double selectionPercent);
  void resetStateViewAtIndex(long index);
  void updateTransitionStyle();
  void updateLayoutDependentValues();
  void placeParts();
  void placeMovingParts(double offsetX);
  // One scroll step at the scroller's current offset.
  void scrollStep();
  void setSelectorViewPath(std::optional<platform::UIBezierPath> path);
  // Gradient.
  void setupGradientViewWithCount(long count);
  void setupGradientWithPercent(double fraction, double offsetFactor);
  std::optional<std::vector<platform::UIColor>> gradientColorForStateAtIndex(long index);
  std::vector<platform::UIColor> gradientColorForBounce(unsigned long side);
  // Shadow.
  platform::UIColor shadowColorForStateAtIndex(long index);
  void setupShadowForStateAtIndex(long index, bool visible, bool animated);
  // Gestures and commits.
  void tapWasRecognized(platform::UIGestureRecognizer& tap);
  void changeStateToState(long state);
  void endInteractionPause();

  // UIScrollViewDelegate.
  void scrollViewDidScroll(platform::UIScrollView&) override;
  void scrollViewWillBeginDragging(platform::UIScrollView&) override;
  void scrollViewWillEndDragging(platform::UIScrollView&, platform::CGPoint velocity,
                                 platform::CGPoint* targetContentOffset) override;
  void scrollViewDidEndDragging(platform::UIScrollView&, bool decelerate) override;
  void scrollViewDidEndDecelerating(platform::UIScrollView&) override;
  void scrollViewDidEndScrollingAnimation(platform::UIScrollView&) override;

  std::weak_ptr<TSSegmentedControlDataSource> dataSource_;
  std::weak_ptr<TSSegmentedControlDelegate> delegate_;
  long currentState_ = 0;
  long statesCount_ = 0;
  TSSegmentedControlTransitionStyle transitionStyle_ = TSSegmentedControlTransitionStyle::CrossFade;
  TSSegmentedControlShapeStyle shapeStyle_ = TSSegmentedControlShapeStyle::Dribble;
  double cornerRadius_ = 0;
  bool applyCornerRadiusToSelectorView_ = false;
  platform::UIColor textColor_ = platform::UIColor::blackColor();
  platform::UIColor selectedStateTextColor_ = platform::UIColor::whiteColor();
  platform::UIColor selectorViewColor_ = platform::UIColor::greenColor();
  platform::UIFont textFont_ = platform::UIFont::systemFontOfSize(14);
  platform::UIColor gradientBounceColor_ = platform::UIColor::redColor();
  double gradientBackVelocity_ = 1.0;
  bool shadowsEnabled_ = true;
  double shadowShowDuration_ = 0.5;
  double shadowHideDuration_ = 0.8;

  std::shared_ptr<platform::UIScrollView> scrollView_;
  std::shared_ptr<platform::UIView> leftSpacerView_, selectorView_, rightSpacerView_;
  std::shared_ptr<platform::UIView> leftLimiterView_, rightLimiterView_;
  std::shared_ptr<platform::UIView> gradientViewContainer_;
  std::shared_ptr<TSGradientView> gradientView_;
  std::shared_ptr<platform::UIView> shadowView_;
  std::vector<std::shared_ptr<platform::UIView>> stateViewContainers_, stateViews_;
  std::vector<std::shared_ptr<platform::UIView>> selectedStateViewContainers_, selectedStateViews_;
  std::set<long> changedViews_;
  std::optional<platform::UIBezierPath> selectorViewPath_;
  long gradientStatesCount_ = 0;  // N the gradient was built for
  bool shadowShown_ = false;      // where the shadow is (or is fading) to
  bool viewWasLayoutSubviews_ = false;
  bool layoutDependentValuesWasUpdated_ = false;
  double laidOutWidth_ = -1;
  bool interactionPaused_ = false;  // a tap's animated move is under way
  int scrollStepDepth_ = 0;         // scroll steps under way (a delegate may reload from one)
};
