// How the segmented control looks at each position: the selected titles'
// masks and fades, the selector's outline, the gradient and its mask beyond
// the ends, the shadow's fades on the clock, and a few drawn pixels.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/ui/CAShapeLayer.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UIWindow.h"
#include "platform/ui/render/ViewRenderer.h"
#include "tests/tweak/segmented_control/SegmentedControlTestSupport.h"
#include "tweak/TSSegmentedControl/TSGradientGeometry.h"
#include "tweak/TSSegmentedControl/TSSegmentedControl.h"

namespace {

using namespace platform;
using Style = TSSegmentedControlTransitionStyle;
using Shape = TSSegmentedControlShapeStyle;

const UIColor kRed = UIColor::redColor(), kBlue = UIColor::blueColor(), kWhite = UIColor::whiteColor();

class SegmentedControlLookTest : public ::testing::Test {
 protected:
  // A 300 x 30 control with `n` states, rectangular outlines unless told otherwise.
  void build(long n, Style style, Shape shape = Shape::RoundedRect) {
    source->count = n;
    window->makeKeyAndVisible();
    window->addSubview(control);
    control->setDelegate(delegate);
    control->setTransitionStyle(style);
    control->setShapeStyle(shape);
    control->setDataSource(source);
    control->layoutIfNeeded();
    delegate->clear();
  }
  void moveTo(double x) { control->scrollView().setContentOffset({x, 0}); }
  // Bounds of the path masking slot i's selected look (nothing when unmasked or empty).
  std::optional<CGRect> revealed(size_t i) const {
    auto* mask = dynamic_cast<CAShapeLayer*>(control->selectedStateViewContainers()[i]->layer().mask().get());
    if (!mask || !mask->path()) return std::nullopt;
    return mask->path()->bounds();
  }
  double shadowOpacityShown() const {
    return layerValueAsDouble(control->shadowView().layer().presentationValue(LayerProperty::ShadowOpacity));
  }

  ManualTaskEnvironment env;
  std::shared_ptr<UIWindow> window = std::make_shared<UIWindow>(CGRectMake(0, 0, 400, 100));
  std::shared_ptr<TSSegmentedControl> control = std::make_shared<TSSegmentedControl>(CGRectMake(50, 20, 300, 30));
  std::shared_ptr<TitlesDataSource> source = std::make_shared<TitlesDataSource>(2);
  std::shared_ptr<RecordingDelegate> delegate = std::make_shared<RecordingDelegate>();
};

// --- Selected titles ---

TEST_F(SegmentedControlLookTest, MaskStyleRevealsExactlyWhereTheSelectorCoversEachSlot) {
  build(2, Style::Mask);
  EXPECT_EQ(revealed(0), CGRectMake(0, 0, 150, 30));
  EXPECT_EQ(revealed(1), CGRectMake(-150, 0, 150, 30));  // nothing of slot 1
  for (double p : {0.25, 0.5, 0.9}) {
    moveTo(150 - 150 * p);
    EXPECT_EQ(revealed(0), CGRectMake(150 * p, 0, 150, 30)) << p;
    EXPECT_EQ(revealed(1), CGRectMake(150 * (p - 1), 0, 150, 30)) << p;
  }
  moveTo(0);
  EXPECT_EQ(revealed(0), CGRectMake(150, 0, 150, 30));  // slot 0 fully outside the selector
  EXPECT_EQ(revealed(1), CGRectMake(0, 0, 150, 30));
  EXPECT_EQ(control->stateViewContainers()[0]->alpha(), 1);
}

TEST_F(SegmentedControlLookTest, MaskFollowsTheDribbleOutline) {
  build(2, Style::Mask, Shape::Dribble);
  moveTo(75);
  auto* mask = dynamic_cast<CAShapeLayer*>(control->selectedStateViewContainers()[0]->layer().mask().get());
  UIBezierPath expected = TSSelectorShape::dribblePathForSelectorViewFromPercentage(150, 30, 0.5);
  expected.applyTransform(CGAffineTransformMakeTranslation(75, 0));
  EXPECT_EQ(*mask->path(), expected);
  EXPECT_EQ(control->selectorViewPath(), TSSelectorShape::dribblePathForSelectorViewFromPercentage(150, 30, 0.5));
}

TEST_F(SegmentedControlLookTest, CrossFadeBlendsTheTwoSlotsAndResetsTheOnesLeftBehind) {
  build(3, Style::CrossFade);
  auto alphas = [&](size_t i) {
    return std::make_pair(control->selectedStateViewContainers()[i]->alpha(),
                          control->stateViewContainers()[i]->alpha());
  };
  EXPECT_EQ(alphas(0), std::make_pair(1.0, 0.0));
  EXPECT_EQ(alphas(1), std::make_pair(0.0, 1.0));
  moveTo(200 - 100 * 0.25);  // p = 0.25
  EXPECT_EQ(alphas(0), std::make_pair(0.75, 0.25));
  EXPECT_EQ(alphas(1), std::make_pair(0.25, 0.75));
  EXPECT_EQ(alphas(2), std::make_pair(0.0, 1.0));
  moveTo(200 - 100 * 1.5);  // jumps to between 1 and 2: slot 0 is deselected once
  EXPECT_EQ(alphas(0), std::make_pair(0.0, 1.0));
  EXPECT_EQ(alphas(1), std::make_pair(0.5, 0.5));
  EXPECT_EQ(alphas(2), std::make_pair(0.5, 0.5));
  EXPECT_FALSE(revealed(1));
}

TEST_F(SegmentedControlLookTest, StyleNoneLeavesTheLooksToTheDelegate) {
  build(2, Style::None);
  moveTo(150 - 150 * 0.25);
  EXPECT_EQ(control->selectedStateViewContainers()[0]->alpha(), 1);
  EXPECT_EQ(control->stateViewContainers()[0]->alpha(), 1);
  EXPECT_FALSE(revealed(0));
  ASSERT_EQ(delegate->setups.size(), 2u);
  EXPECT_EQ(delegate->setups[0], std::make_pair(0L, 0.25));
  EXPECT_EQ(delegate->setups[1], std::make_pair(1L, -0.75));
}

TEST_F(SegmentedControlLookTest, ChangingTheStyleResetsAndReappliesEverySlot) {
  build(2, Style::CrossFade);
  control->setTransitionStyle(Style::Mask);
  EXPECT_EQ(delegate->resets, (std::vector<long>{0, 1}));
  EXPECT_EQ(control->stateViewContainers()[1]->alpha(), 1);
  EXPECT_EQ(control->selectedStateViewContainers()[1]->alpha(), 1);
  EXPECT_EQ(revealed(0), CGRectMake(0, 0, 150, 30));
}

// --- Outlines ---

TEST_F(SegmentedControlLookTest, WithoutAnOutlineNothingIsShownOrMasked) {
  source->gradients = {{kRed, kBlue}};
  build(2, Style::Mask, static_cast<Shape>(2));
  EXPECT_FALSE(control->selectorViewPath());
  EXPECT_FALSE(dynamic_cast<CAShapeLayer&>(*control->selectorView().layer().mask()).path());
  EXPECT_FALSE(dynamic_cast<CAShapeLayer&>(*control->gradientView().layer().mask()).path());
  EXPECT_FALSE(control->shadowView().layer().shadowPath());
  EXPECT_FALSE(revealed(0));
}

TEST_F(SegmentedControlLookTest, CornerRadiusReachesTheSelectorOnlyWhenAsked) {
  build(2, Style::Mask);
  control->setCornerRadius(15);
  EXPECT_EQ(control->layer().cornerRadius(), 15);
  EXPECT_EQ(control->scrollView().layer().cornerRadius(), 15);
  EXPECT_EQ(control->gradientViewContainer().layer().cornerRadius(), 15);
  EXPECT_EQ(control->selectorView().layer().cornerRadius(), 0);
  control->setApplyCornerRadiusToSelectorView(true);
  EXPECT_EQ(control->selectorView().layer().cornerRadius(), 15);
  moveTo(100);
  EXPECT_EQ(control->selectorViewPath(), UIBezierPath::bezierPathWithRoundedRect(CGRectMake(0, 0, 150, 30), 15));
}

// --- Gradient ---

TEST_F(SegmentedControlLookTest, GradientColoursAndLocationsWithBounceColours) {
  source->gradients = {{kRed, kBlue}, {kWhite}};
  build(2, Style::Mask);
  const auto& layer = control->gradientView().gradientLayer();
  const UIColor bounce = UIColor::redColor();
  EXPECT_EQ(layer.colors(), (std::vector<UIColor>{bounce, bounce, kRed, kBlue, kWhite, kWhite, bounce, bounce}));
  const std::vector<double> at{0, 1.0 / 7, 2.0 / 7, 3.0 / 7, 4.0 / 7, 5.0 / 7, 6.0 / 7, 1};
  ASSERT_EQ(layer.locations().size(), at.size());
  for (size_t i = 0; i < at.size(); ++i) EXPECT_DOUBLE_EQ(layer.locations()[i], at[i]) << i;
  EXPECT_EQ(layer.startPoint(), CGPointMake(0, 0));
  EXPECT_EQ(layer.endPoint(), CGPointMake(1, 0));

  source->bounces = {{kBlue}, {kWhite, kRed, kBlue}};
  control->reloadData();
  EXPECT_EQ(layer.colors().front(), kBlue);
  EXPECT_EQ(layer.colors().size(), 9u);
  EXPECT_DOUBLE_EQ(layer.locations()[7], (0.5 + 6) / 7);

  source->gradients.clear();
  control->reloadData();
  EXPECT_TRUE(layer.colors().empty());
}

TEST_F(SegmentedControlLookTest, GradientSlidesAndBouncesBeyondBothEnds) {
  source->gradients = {{kRed, kBlue}};
  build(2, Style::Mask);
  auto maskLeft = [&] {
    return dynamic_cast<CAShapeLayer&>(*control->gradientView().layer().mask()).path()->bounds().origin.x;
  };
  EXPECT_EQ(control->gradientView().frame(), CGRectMake(-300, 0, 1050, 30));
  EXPECT_EQ(maskLeft(), 300);
  moveTo(180);  // 30 points past the first state: p = -0.2
  EXPECT_DOUBLE_EQ(control->gradientView().frame().origin.x, -270);
  EXPECT_DOUBLE_EQ(maskLeft(), 240);
  moveTo(-30);  // past the last state: p = 1.2
  EXPECT_DOUBLE_EQ(control->gradientView().frame().origin.x, -480);
  EXPECT_DOUBLE_EQ(maskLeft(), 660);

  control->setGradientBackVelocity(2);
  control->reloadData();
  moveTo(180);
  EXPECT_DOUBLE_EQ(control->gradientView().frame().size.width, 1500);
  EXPECT_DOUBLE_EQ(control->gradientView().frame().origin.x, -390);
  EXPECT_DOUBLE_EQ(maskLeft(), 360);
}

// --- Shadow ---

TEST_F(SegmentedControlLookTest, ShadowFadesOutWhileMovingAndInWhenCommitted) {
  build(2, Style::Mask);
  const CALayer& layer = control->shadowView().layer();
  EXPECT_EQ(shadowOpacityShown(), 0.7);  // shown at once by the move without animation
  EXPECT_EQ(layer.shadowColor(), UIColor::greenColor());
  EXPECT_EQ(layer.shadowRadius(), 7);
  EXPECT_EQ(layer.shadowOffset(), CGSizeMake(0, 5));
  EXPECT_EQ(layer.shadowPath()->bounds(), CGRectMake(0, 0, 150, 30));

  moveTo(140);  // off the state: the shadow fades out, linearly over 0.8 s
  env.fastForwardBy(seconds(0.4));
  EXPECT_NEAR(shadowOpacityShown(), 0.35, 1e-6);
  env.fastForwardBy(seconds(0.39));
  EXPECT_NEAR(shadowOpacityShown(), 0.00875, 1e-6);
  env.fastForwardBy(seconds(0.01));
  EXPECT_EQ(shadowOpacityShown(), 0);

  control->setCurrentState(1, true);
  while (control->currentState() != 1) env.fastForwardBy(std::chrono::milliseconds(1));  // the glide commits
  EXPECT_EQ(layer.shadowPath()->bounds(), CGRectMake(150, 0, 150, 30));
  // The shadow fades in, linearly over 0.5 s from the moment of the commit.
  env.fastForwardBy(seconds(0.25));
  EXPECT_NEAR(shadowOpacityShown(), 0.35, 0.002);
  env.fastForwardBy(seconds(0.24));
  EXPECT_NEAR(shadowOpacityShown(), 0.686, 0.002);
  env.fastForwardBy(seconds(0.01));
  EXPECT_EQ(shadowOpacityShown(), 0.7);
  env.fastForwardBy(seconds(5));
  EXPECT_EQ(shadowOpacityShown(), 0.7);  // kept at its end value
}

TEST_F(SegmentedControlLookTest, ShadowFadeTimesFollowTheDurations) {
  build(2, Style::Mask);
  control->setShadowHideDuration(0.2);
  control->setShadowShowDuration(1.0);
  moveTo(140);
  env.fastForwardBy(seconds(0.1));
  EXPECT_NEAR(shadowOpacityShown(), 0.35, 1e-6);
  env.fastForwardBy(seconds(0.1));
  EXPECT_EQ(shadowOpacityShown(), 0);
  control->setCurrentState(1, true);
  while (control->currentState() != 1) env.fastForwardBy(std::chrono::milliseconds(1));
  env.fastForwardBy(seconds(0.5));
  EXPECT_NEAR(shadowOpacityShown(), 0.35, 0.002);
  env.fastForwardBy(seconds(0.5));
  EXPECT_EQ(shadowOpacityShown(), 0.7);
}

TEST_F(SegmentedControlLookTest, ShadowTakesTheStatesFirstGradientColour) {
  source->gradients = {{kRed, kBlue}, {kBlue, kWhite}};
  build(2, Style::Mask);
  EXPECT_EQ(control->shadowView().layer().shadowColor(), kRed);
  control->setCurrentState(1);
  EXPECT_EQ(control->shadowView().layer().shadowColor(), kBlue);
}

TEST_F(SegmentedControlLookTest, WithShadowsOffNoShadowIsEverShown) {
  control->setShadowsEnabled(false);
  build(2, Style::Mask);
  control->setCurrentState(1, true);
  env.fastForwardBy(seconds(2));
  EXPECT_EQ(shadowOpacityShown(), 0);
}

// --- Drawn ---

TEST_F(SegmentedControlLookTest, DrawnSelectorCoversTheSlotsItLiesOver) {
  control->setFrame(CGRectMake(0, 0, 100, 20));
  control->setSelectorViewColor(kWhite);
  control->setShadowsEnabled(false);
  build(2, Style::Mask);
  moveTo(25);  // half-way: the selector spans 25 ... 75
  ViewRenderer renderer;
  auto image = renderer.renderView(*control, 1);
  EXPECT_EQ(image->pixelAt(30, 1), 0xFFFFFFFFu);
  EXPECT_EQ(image->pixelAt(70, 1), 0xFFFFFFFFu);
  EXPECT_EQ(image->pixelAt(20, 1) >> 24, 0u);
  EXPECT_EQ(image->pixelAt(80, 1) >> 24, 0u);
}

}  // namespace
