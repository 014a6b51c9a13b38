// Animations on the manual clock: curves, springs, completions, replacement,
// explicit layer animations and cross-dissolve transitions.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/ui/CABasicAnimation.h"
#include "platform/ui/CAMediaTimingFunction.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIView.h"

namespace platform {
namespace {

using Name = CAMediaTimingFunction::Name;

class AnimationTest : public ::testing::Test {
 protected:
  // Moves the clock by `s` seconds, running the animator's frames.
  void forward(double s) { env.fastForwardBy(seconds(s)); }
  double presentedAlpha(const UIView& v) { return v.layer().presentation().opacity; }
  CGPoint presentedCenter(const UIView& v) { return v.layer().presentation().position; }

  ManualTaskEnvironment env;
  std::shared_ptr<UIView> view = std::make_shared<UIView>(CGRectMake(0, 0, 100, 100));
};

// A point of the cubic Bézier with end points (0,0) and (1,1), at parameter s.
CGPoint bezierAt(double c1x, double c1y, double c2x, double c2y, double s) {
  double u = 1 - s;
  return {3 * u * u * s * c1x + 3 * u * s * s * c2x + s * s * s, 3 * u * u * s * c1y + 3 * u * s * s * c2y + s * s * s};
}

TEST_F(AnimationTest, TimingFunctionsFollowTheirBezierCurves) {
  struct Case {
    Name name;
    double c1x, c1y, c2x, c2y;
  };
  for (Case c : {Case{Name::EaseIn, 0.42, 0, 1, 1}, Case{Name::EaseOut, 0, 0, 0.58, 1},
                 Case{Name::EaseInEaseOut, 0.42, 0, 0.58, 1}}) {
    auto f = CAMediaTimingFunction::functionWithName(c.name);
    for (double s : {0.1, 0.25, 0.5, 0.8}) {
      CGPoint p = bezierAt(c.c1x, c.c1y, c.c2x, c.c2y, s);
      EXPECT_NEAR(f.valueAt(p.x), p.y, 1e-7) << "s=" << s;
    }
    EXPECT_EQ(f.valueAt(0), 0);
    EXPECT_EQ(f.valueAt(1), 1);
  }
  EXPECT_DOUBLE_EQ(CAMediaTimingFunction::functionWithName(Name::Linear).valueAt(0.37), 0.37);
}

TEST_F(AnimationTest, EachCurveIsSampledAtItsOwnTimesWhileTheModelChangesAtOnce) {
  struct Case {
    UIViewAnimationOptions curve;
    double c1x, c1y, c2x, c2y;
  };
  for (Case c :
       {Case{UIViewAnimationOptions::CurveLinear, 0, 0, 1, 1}, Case{UIViewAnimationOptions::CurveEaseIn, 0.42, 0, 1, 1},
        Case{UIViewAnimationOptions::CurveEaseOut, 0, 0, 0.58, 1},
        Case{UIViewAnimationOptions::CurveEaseInOut, 0.42, 0, 0.58, 1}}) {
    auto v = std::make_shared<UIView>(CGRectMake(0, 0, 10, 10));
    v->setAlpha(0);
    UIView::animateWithDuration(2.0, 0, c.curve, [&] { v->setAlpha(1); });
    EXPECT_EQ(v->alpha(), 1);  // model value at once
    EXPECT_EQ(presentedAlpha(*v), 0);
    double elapsed = 0;
    for (double s : {0.2, 0.5, 0.7}) {
      CGPoint p = bezierAt(c.c1x, c.c1y, c.c2x, c.c2y, s);
      forward(p.x * 2.0 - elapsed);
      elapsed = p.x * 2.0;
      EXPECT_NEAR(presentedAlpha(*v), p.y, 1e-6) << "curve " << static_cast<unsigned>(c.curve) << " s=" << s;
    }
    forward(2.0 - elapsed);
    EXPECT_EQ(presentedAlpha(*v), 1);
  }
}

TEST_F(AnimationTest, FrameAnimatesCentreAndSizeTogether) {
  UIView::animateWithDuration(1.0, 0, UIViewAnimationOptions::CurveLinear,
                              [&] { view->setFrame(CGRectMake(100, 200, 50, 20)); });
  EXPECT_EQ(view->frame(), CGRectMake(100, 200, 50, 20));
  forward(0.5);
  auto p = view->layer().presentation();
  EXPECT_NEAR(p.position.x, (50 + 125) / 2.0, 1e-9);
  EXPECT_NEAR(p.position.y, (50 + 210) / 2.0, 1e-9);
  EXPECT_NEAR(p.bounds.size.width, 75, 1e-9);
  EXPECT_NEAR(p.bounds.size.height, 60, 1e-9);
}

TEST_F(AnimationTest, DelayedAnimationShowsTheOldValueUntilItStarts) {
  UIView::animateWithDuration(1.0, 0.5, UIViewAnimationOptions::CurveLinear, [&] { view->setAlpha(0); });
  forward(0.4);
  EXPECT_EQ(presentedAlpha(*view), 1);
  forward(0.6);  // 0.5 s into the animation
  EXPECT_NEAR(presentedAlpha(*view), 0.5, 1e-9);
}

TEST_F(AnimationTest, CompletionRunsOnceAtTheEnd) {
  std::vector<bool> calls;
  UIView::animateWithDuration(
      0.3,
      [&] {
        view->setCenter({10, 10});
      },
      [&](bool f) { calls.push_back(f); });
  forward(0.299);
  EXPECT_TRUE(calls.empty());
  forward(0.001);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_TRUE(calls[0]);
  forward(2);
  EXPECT_EQ(calls.size(), 1u);
  // The animator goes idle once nothing runs.
  EXPECT_FALSE(env.nextPendingDelay().has_value());
}

TEST_F(AnimationTest, BlockThatChangesNothingCompletesOnTheNextTurn) {
  int calls = 0;
  bool finished = false;
  UIView::animateWithDuration(
      1.0, [&] { view->setAlpha(view->alpha()); },
      [&](bool f) {
        ++calls;
        finished = f;
      });
  EXPECT_EQ(calls, 0);
  env.runUntilIdle();
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(finished);
}

TEST_F(AnimationTest, ZeroDurationAppliesAtOnceAndStillCompletes) {
  int calls = 0;
  UIView::animateWithDuration(
      0, [&] { view->setAlpha(0.25); }, [&](bool) { ++calls; });
  EXPECT_EQ(presentedAlpha(*view), 0.25);
  env.runUntilIdle();
  EXPECT_EQ(calls, 1);
}

TEST_F(AnimationTest, SpringOvershootsAndSettlesExactlyAtTheEnd) {
  view->setTransform(CGAffineTransformMakeScale(0.9, 0.9));
  bool done = false;
  UIView::animateWithDuration(
      0.2, 0, 0.3, 7, UIViewAnimationOptions::AllowUserInteraction,
      [&] { view->setTransform(CGAffineTransformIdentity); }, [&](bool) { done = true; });
  double maxScale = 0;
  for (int i = 0; i < 23; ++i) {
    forward(0.008);
    maxScale = std::max(maxScale, view->layer().presentation().transform.a);
  }
  EXPECT_GT(maxScale, 1.0);  // an under-damped spring overshoots
  EXPECT_FALSE(done);
  forward(0.016);
  EXPECT_TRUE(done);
  EXPECT_EQ(view->layer().presentation().transform, CGAffineTransformIdentity);
}

TEST_F(AnimationTest, CriticallyDampedSpringApproachesWithoutOvershoot) {
  view->setCenter({0, 0});
  UIView::animateWithDuration(1.0, 0, 1.0, 0, UIViewAnimationOptions::None, [&] { view->setCenter({100, 0}); });
  double last = 0;
  for (int i = 0; i < 100; ++i) {
    forward(0.01);
    double x = presentedCenter(*view).x;
    EXPECT_GE(x, last - 1e-9);
    EXPECT_LE(x, 100 + 1e-9);
    last = x;
  }
  EXPECT_EQ(presentedCenter(*view).x, 100);
  EXPECT_GT(last, 99.5);
}

TEST_F(AnimationTest, BeginFromCurrentStateReplacesTheRunningAnimation) {
  view->setCenter({0, 0});
  std::vector<bool> first, second;
  UIView::animateWithDuration(
      1.0, 0, UIViewAnimationOptions::CurveLinear,
      [&] {
        view->setCenter({100, 0});
      },
      [&](bool f) { first.push_back(f); });
  forward(0.5);
  EXPECT_NEAR(presentedCenter(*view).x, 50, 1e-9);
  UIView::animateWithDuration(
      1.0, 0, UIViewAnimationOptions::CurveLinear | UIViewAnimationOptions::BeginFromCurrentState,
      [&] {
        view->setCenter({0, 0});
      },
      [&](bool f) { second.push_back(f); });
  EXPECT_NEAR(presentedCenter(*view).x, 50, 1e-9);  // starts where the old one was
  env.runUntilIdle();
  ASSERT_EQ(first.size(), 1u);
  EXPECT_FALSE(first[0]);  // cut short
  forward(0.5);
  EXPECT_NEAR(presentedCenter(*view).x, 25, 1e-9);
  forward(0.5);
  EXPECT_EQ(presentedCenter(*view).x, 0);
  ASSERT_EQ(second.size(), 1u);
  EXPECT_TRUE(second[0]);
  EXPECT_EQ(first.size(), 1u);
}

TEST_F(AnimationTest, WithoutBeginFromCurrentStateAnimationsBlendAndBothFinish) {
  view->setCenter({0, 0});
  std::vector<bool> first, second;
  UIView::animateWithDuration(
      1.0, 0, UIViewAnimationOptions::CurveLinear,
      [&] {
        view->setCenter({100, 0});
      },
      [&](bool f) { first.push_back(f); });
  forward(0.5);
  UIView::animateWithDuration(
      1.0, 0, UIViewAnimationOptions::CurveLinear,
      [&] {
        view->setCenter({0, 0});
      },
      [&](bool f) { second.push_back(f); });
  EXPECT_NEAR(presentedCenter(*view).x, 50, 1e-9);  // no jump
  forward(0.5);
  // First: 100 → at its end (delta 0); second: 100 → 0 half way (delta +50) over model 0.
  EXPECT_NEAR(presentedCenter(*view).x, 50, 1e-9);
  ASSERT_EQ(first.size(), 1u);
  EXPECT_TRUE(first[0]);
  forward(0.5);
  EXPECT_EQ(presentedCenter(*view).x, 0);
  ASSERT_EQ(second.size(), 1u);
  EXPECT_TRUE(second[0]);
}

TEST_F(AnimationTest, PerformWithoutAnimationInsideABlockAppliesAtOnce) {
  UIView::animateWithDuration(1.0, [&] {
    UIView::performWithoutAnimation([&] { view->setAlpha(0.5); });
    view->setCenter({0, 0});
  });
  EXPECT_EQ(presentedAlpha(*view), 0.5);
  EXPECT_NE(presentedCenter(*view).x, 0);
}

TEST_F(AnimationTest, ExplicitShadowAnimationKeepsItsEndValue) {
  CALayer& layer = view->layer();
  auto anim = CABasicAnimation::animationWithKeyPath("shadowOpacity");
  anim.setToValue(0.7);
  anim.setDuration(0.5);
  anim.setFillMode(CAFillMode::Forwards);
  anim.setRemovedOnCompletion(false);
  int done = 0;
  anim.setCompletion([&](bool f) { done += f ? 1 : 100; });
  layer.addAnimation(anim, "shadow");
  forward(0.25);
  EXPECT_NEAR(layer.presentation().shadowOpacity, 0.35, 1e-9);
  forward(0.25);
  EXPECT_EQ(done, 1);
  forward(3);
  EXPECT_NEAR(layer.presentation().shadowOpacity, 0.7, 1e-12);
  EXPECT_EQ(layer.shadowOpacity(), 0.0);  // the model keeps its value
  EXPECT_TRUE(layer.hasAnimationForKey("shadow"));
  // A new animation under the same key starts from what is shown.
  auto back = CABasicAnimation::animationWithKeyPath("shadowOpacity");
  back.setToValue(0.0);
  back.setDuration(1);
  layer.addAnimation(back, "shadow");
  EXPECT_NEAR(layer.presentation().shadowOpacity, 0.7, 1e-12);
  forward(1);
  EXPECT_EQ(layer.presentation().shadowOpacity, 0);
  EXPECT_FALSE(layer.hasAnimationForKey("shadow"));  // removed on completion by default
}

TEST_F(AnimationTest, RemovingAnExplicitAnimationReportsNotFinished) {
  auto anim = CABasicAnimation::animationWithKeyPath("opacity");
  anim.setFromValue(0.0);
  anim.setDuration(1);
  std::vector<bool> calls;
  anim.setCompletion([&](bool f) { calls.push_back(f); });
  view->layer().addAnimation(anim, "fade");
  forward(0.5);
  view->layer().removeAnimationForKey("fade");
  env.runUntilIdle();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_FALSE(calls[0]);
  EXPECT_EQ(presentedAlpha(*view), 1);
}

TEST_F(AnimationTest, UnknownKeyPathIsIgnored) {
  auto anim = CABasicAnimation::animationWithKeyPath("noSuchProperty");
  view->layer().addAnimation(anim, "x");
  EXPECT_FALSE(view->layer().hasAnimationForKey("x"));
}

TEST_F(AnimationTest, CrossDissolveChangesTheTextAtOnceAndFadesBetweenLooks) {
  auto label = std::make_shared<UILabel>(CGRectMake(0, 0, 200, 20));
  label->setText("old");
  int calls = 0;
  UIView::transitionWithView(
      label.get(), 0.15, UIViewAnimationOptions::TransitionCrossDissolve, [&] { label->setText("new"); },
      [&](bool) { ++calls; });
  EXPECT_EQ(label->text(), "new");
  ASSERT_TRUE(label->layer().transition().has_value());
  EXPECT_EQ(label->layer().transition()->progress, 0);
  forward(0.075);
  EXPECT_NEAR(label->layer().transition()->progress, 0.5, 1e-9);  // ease-in-out is symmetric
  forward(0.075);
  EXPECT_FALSE(label->layer().transition().has_value());
  EXPECT_EQ(calls, 1);
}

TEST_F(AnimationTest, TransitionUsesTheInstalledSnapshotOfTheOldLook) {
  int snapshots = 0;
  UIView::setSnapshotProvider([&](UIView&) {
    ++snapshots;
    return std::shared_ptr<UIImage>();
  });
  UIView::transitionWithView(view.get(), 0.2, UIViewAnimationOptions::TransitionCrossDissolve, [] {});
  UIView::setSnapshotProvider({});
  EXPECT_EQ(snapshots, 1);
}

TEST_F(AnimationTest, AnimatedViewsTakeNoTouchesUnlessAllowed) {
  auto parent = std::make_shared<UIView>(CGRectMake(0, 0, 200, 200));
  parent->addSubview(view);
  UIView::animateWithDuration(1.0, [&] { view->setAlpha(0.5); });
  EXPECT_EQ(parent->hitTest({50, 50}, nullptr), parent.get());
  forward(1.0);
  EXPECT_EQ(parent->hitTest({50, 50}, nullptr), view.get());
  UIView::animateWithDuration(1.0, 0, UIViewAnimationOptions::AllowUserInteraction, [&] { view->setAlpha(1); });
  EXPECT_EQ(parent->hitTest({50, 50}, nullptr), view.get());
}

}  // namespace
}  // namespace platform
