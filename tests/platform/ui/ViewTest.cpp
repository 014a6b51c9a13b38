// View trees: order of subviews, hit testing, coordinates, tint, autoresizing,
// layer key-value reads and paths.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/ui/CAGradientLayer.h"
#include "platform/ui/CAShapeLayer.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UIActivityIndicatorView.h"
#include "platform/ui/UIBezierPath.h"
#include "platform/ui/UILayoutGuide.h"
#include "platform/ui/UIView.h"
#include "platform/ui/UIVisualEffectView.h"
#include "platform/ui/UIWindow.h"

namespace platform {
namespace {

// A view whose touch area reaches `grow` points beyond its bounds.
class GrownView : public UIView {
 public:
  GrownView(const CGRect& frame, double grow) : UIView(frame), grow_(grow) {}
  bool pointInside(CGPoint p, UIEvent*) override {
    return CGRectContainsPoint(CGRectInset(bounds(), -grow_, -grow_), p);
  }

 private:
  double grow_;
};

class ViewTest : public ::testing::Test {
 protected:
  std::shared_ptr<UIView> make(double x, double y, double w, double h) {
    return std::make_shared<UIView>(CGRectMake(x, y, w, h));
  }
  std::vector<UIView*> order(const UIView& v) {
    std::vector<UIView*> out;
    for (const auto& s : v.subviews()) out.push_back(s.get());
    return out;
  }

  ManualTaskEnvironment env;
  std::shared_ptr<UIView> root = make(0, 0, 300, 300);
};

TEST_F(ViewTest, SubviewOrderFollowsInsertsAndMoves) {
  auto a = make(0, 0, 10, 10), b = make(0, 0, 10, 10), c = make(0, 0, 10, 10), d = make(0, 0, 10, 10);
  root->addSubview(a);
  root->addSubview(b);
  root->insertSubviewBelow(c, a.get());
  EXPECT_EQ(order(*root), (std::vector<UIView*>{c.get(), a.get(), b.get()}));
  root->insertSubviewAbove(d, c.get());
  EXPECT_EQ(order(*root), (std::vector<UIView*>{c.get(), d.get(), a.get(), b.get()}));
  root->bringSubviewToFront(c.get());
  root->sendSubviewToBack(b.get());
  EXPECT_EQ(order(*root), (std::vector<UIView*>{b.get(), d.get(), a.get(), c.get()}));
  root->insertSubview(a, 0);  // already a subview: moves
  EXPECT_EQ(order(*root), (std::vector<UIView*>{a.get(), b.get(), d.get(), c.get()}));
  root->insertSubviewAbove(b, c.get());
  EXPECT_EQ(order(*root), (std::vector<UIView*>{a.get(), d.get(), c.get(), b.get()}));
}

TEST_F(ViewTest, AddingToAnotherSuperviewMovesTheViewAndRemovalKeepsItAlive) {
  auto a = make(0, 0, 10, 10), other = make(0, 0, 10, 10);
  root->addSubview(a);
  other->addSubview(a);
  EXPECT_TRUE(root->subviews().empty());
  EXPECT_EQ(a->superview(), other.get());
  std::weak_ptr<UIView> weak = a;
  a.reset();
  other->subviews().front()->removeFromSuperview();
  EXPECT_TRUE(weak.expired());  // nothing else held it
  auto child = make(0, 0, 1, 1);
  root->addSubview(child);
  root.reset();
  EXPECT_EQ(child->superview(), nullptr);  // a dying superview lets go
}

TEST_F(ViewTest, AViewCannotBecomeItsOwnAncestor) {
  auto a = make(0, 0, 10, 10);
  root->addSubview(a);
  a->addSubview(root);
  EXPECT_EQ(root->superview(), nullptr);
  EXPECT_TRUE(a->subviews().empty());
}

TEST_F(ViewTest, HitTestFindsTheFrontmostInteractiveView) {
  auto back = make(0, 0, 100, 100), front = make(50, 50, 100, 100);
  root->addSubview(back);
  root->addSubview(front);
  EXPECT_EQ(root->hitTest({60, 60}, nullptr), front.get());
  EXPECT_EQ(root->hitTest({20, 20}, nullptr), back.get());
  front->setUserInteractionEnabled(false);
  EXPECT_EQ(root->hitTest({60, 60}, nullptr), back.get());
  front->setUserInteractionEnabled(true);
  front->setHidden(true);
  EXPECT_EQ(root->hitTest({60, 60}, nullptr), back.get());
  front->setHidden(false);
  front->setAlpha(0.005);
  EXPECT_EQ(root->hitTest({60, 60}, nullptr), back.get());
  EXPECT_EQ(root->hitTest({250, 250}, nullptr), root.get());
  EXPECT_EQ(root->hitTest({350, 10}, nullptr), nullptr);
}

TEST_F(ViewTest, EnlargedPointInsideTakesTouchesJustOutsideTheBounds) {
  auto button = std::make_shared<GrownView>(CGRectMake(100, 100, 40, 40), 5);
  root->addSubview(button);
  EXPECT_EQ(root->hitTest({96, 96}, nullptr), button.get());
  EXPECT_EQ(root->hitTest({144.9, 120}, nullptr), button.get());
  EXPECT_EQ(root->hitTest({94, 120}, nullptr), root.get());
  EXPECT_EQ(root->hitTest({146, 120}, nullptr), root.get());
}

TEST_F(ViewTest, SubviewsOutsideTheirSuperviewAreNotHit) {
  auto box = make(0, 0, 50, 50);
  auto outside = make(60, 0, 20, 20);
  root->addSubview(box);
  box->addSubview(outside);
  EXPECT_EQ(root->hitTest({65, 5}, nullptr), root.get());
}

TEST_F(ViewTest, ConvertsPointsThroughOffsetsBoundsAndTransforms) {
  auto a = make(10, 20, 100, 100);
  auto b = make(5, 5, 40, 40);
  root->addSubview(a);
  a->addSubview(b);
  EXPECT_EQ(b->convertPoint({1, 1}, root.get()), CGPointMake(16, 26));
  EXPECT_EQ(root->convertPointFrom({16, 26}, b.get()), CGPointMake(31, 51));
  EXPECT_EQ(b->convertPointFrom({16, 26}, root.get()), CGPointMake(1, 1));
  a->setBounds(CGRectMake(0, 30, 100, 100));  // scrolled by 30
  EXPECT_EQ(b->convertPoint({1, 1}, root.get()), CGPointMake(16, -4));
  a->setBounds(CGRectMake(0, 0, 100, 100));
  a->setTransform(CGAffineTransformMakeScale(2, 2));  // about the centre (60, 70)
  CGPoint p = a->convertPoint({50, 50}, root.get());
  EXPECT_NEAR(p.x, 60, 1e-9);
  EXPECT_NEAR(p.y, 70, 1e-9);
  p = a->convertPoint({0, 0}, root.get());
  EXPECT_NEAR(p.x, -40, 1e-9);
  EXPECT_NEAR(p.y, -30, 1e-9);
  EXPECT_EQ(a->frame(), CGRectMake(-40, -30, 200, 200));
}

TEST_F(ViewTest, RotationKeepsTheCentreAndGrowsTheFrame) {
  auto a = make(0, 0, 100, 50);
  a->setTransform(CGAffineTransformMakeRotation(M_PI / 2));
  CGRect f = a->frame();
  EXPECT_NEAR(f.origin.x, 25, 1e-9);
  EXPECT_NEAR(f.origin.y, -25, 1e-9);
  EXPECT_NEAR(f.size.width, 50, 1e-9);
  EXPECT_NEAR(f.size.height, 100, 1e-9);
  EXPECT_EQ(a->center(), CGPointMake(50, 25));
  EXPECT_EQ(a->bounds().size, CGSizeMake(100, 50));
}

TEST_F(ViewTest, TintIsInheritedUntilAViewSetsItsOwn) {
  struct Counting : UIView {
    int changes = 0;
    void tintColorDidChange() override { ++changes; }
  };
  auto parent = make(0, 0, 10, 10);
  auto child = std::make_shared<Counting>();
  parent->addSubview(child);
  EXPECT_EQ(child->tintColor(), UIColor::systemBlueColor());
  int before = child->changes;
  parent->setTintColor(UIColor::whiteColor());
  EXPECT_EQ(child->tintColor(), UIColor::whiteColor());
  EXPECT_EQ(child->changes, before + 1);
  child->setTintColor(UIColor::redColor());
  parent->setTintColor(UIColor::blackColor());
  EXPECT_EQ(child->tintColor(), UIColor::redColor());
  child->setTintColor(std::nullopt);
  EXPECT_EQ(child->tintColor(), UIColor::blackColor());
}

TEST_F(ViewTest, AutoresizingSharesTheSizeChangeAmongFlexibleParts) {
  auto fill = make(10, 10, 280, 280);
  fill->setAutoresizingMask(UIViewAutoresizing::FlexibleWidth | UIViewAutoresizing::FlexibleHeight);
  auto centred = make(100, 100, 100, 100);
  centred->setAutoresizingMask(UIViewAutoresizing::FlexibleLeftMargin | UIViewAutoresizing::FlexibleRightMargin |
                               UIViewAutoresizing::FlexibleTopMargin | UIViewAutoresizing::FlexibleBottomMargin);
  auto pinned = make(10, 10, 20, 20);
  root->addSubview(fill);
  root->addSubview(centred);
  root->addSubview(pinned);
  root->setFrame(CGRectMake(0, 0, 400, 500));
  EXPECT_EQ(fill->frame(), CGRectMake(10, 10, 380, 480));
  EXPECT_EQ(centred->frame(), CGRectMake(150, 200, 100, 100));
  EXPECT_EQ(pinned->frame(), CGRectMake(10, 10, 20, 20));
}

TEST_F(ViewTest, LayerAnswersKeyValueReads) {
  auto v = make(0, 0, 20, 20);
  v->layer().setCornerRadius(5);
  v->layer().setShadowOpacity(0.7);
  v->layer().setFilters({CAFilter{"colorInvert"}});
  EXPECT_EQ(std::get<double>(v->layer().valueForKey("cornerRadius")), 5);
  EXPECT_EQ(std::get<double>(v->layer().valueForKey("shadowOpacity")), 0.7);
  auto filters = std::get<std::vector<CAFilter>>(v->layer().valueForKey("filters"));
  ASSERT_EQ(filters.size(), 1u);
  EXPECT_EQ(filters[0].name, "colorInvert");
  EXPECT_TRUE(std::holds_alternative<std::monostate>(v->layer().valueForKey("backgroundColor")));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(v->layer().valueForKey("noSuchKey")));
  CAGradientLayer g;
  g.setColors({UIColor::redColor(), UIColor::blueColor()});
  g.setStartPoint({0, 0});
  EXPECT_EQ(std::get<std::vector<UIColor>>(g.valueForKey("colors")).size(), 2u);
  EXPECT_EQ(std::get<CGPoint>(g.valueForKey("startPoint")), CGPointMake(0, 0));
  CAShapeLayer s;
  s.setPath(UIBezierPath::bezierPathWithRect(CGRectMake(0, 0, 4, 4)));
  EXPECT_EQ(std::get<UIBezierPath>(s.valueForKey("path")).bounds(), CGRectMake(0, 0, 4, 4));
}

TEST_F(ViewTest, RoundedRectPathKeepsCornersOut) {
  auto path = UIBezierPath::bezierPathWithRoundedRect(CGRectMake(0, 0, 100, 40), 20);
  EXPECT_TRUE(path.containsPoint({50, 20}));
  EXPECT_TRUE(path.containsPoint({20, 2}));
  EXPECT_FALSE(path.containsPoint({1, 1}));  // outside the rounded corner
  EXPECT_FALSE(path.containsPoint({99, 39}));
  EXPECT_EQ(path.bounds(), CGRectMake(0, 0, 100, 40));
  // A radius larger than half the short side is limited to it (a capsule).
  auto capsule = UIBezierPath::bezierPathWithRoundedRect(CGRectMake(0, 0, 100, 40), 90);
  EXPECT_EQ(capsule, path);
}

TEST_F(ViewTest, PathsTranslateAndKeepTheirSegments) {
  UIBezierPath p;
  p.moveToPoint({0, 0});
  p.addLineToPoint({10, 0});
  p.addCurveToPoint({10, 10}, {15, 0}, {15, 10});
  p.closePath();
  p.applyTransform(CGAffineTransformMakeTranslation(5, 7));
  ASSERT_EQ(p.elements().size(), 4u);
  EXPECT_EQ(p.elements()[0].point, CGPointMake(5, 7));
  EXPECT_EQ(p.elements()[2].type, UIBezierPath::ElementType::CurveTo);
  EXPECT_EQ(p.elements()[2].control1, CGPointMake(20, 7));
  EXPECT_EQ(p.elements()[2].point, CGPointMake(15, 17));
  EXPECT_EQ(p.elements()[3].type, UIBezierPath::ElementType::Close);
  EXPECT_EQ(p.currentPoint(), CGPointMake(5, 7));
}

TEST_F(ViewTest, AffineTransformsConcatAndInvert) {
  auto t = CGAffineTransformConcat(CGAffineTransformMakeScale(2, 3), CGAffineTransformMakeTranslation(5, -1));
  EXPECT_EQ(CGPointApplyAffineTransform({1, 1}, t), CGPointMake(7, 2));
  auto back = CGPointApplyAffineTransform({7, 2}, CGAffineTransformInvert(t));
  EXPECT_NEAR(back.x, 1, 1e-12);
  EXPECT_NEAR(back.y, 1, 1e-12);
  auto r = CGAffineTransformMakeRotation(M_PI / 2);
  CGPoint q = CGPointApplyAffineTransform({1, 0}, r);
  EXPECT_NEAR(q.x, 0, 1e-12);
  EXPECT_NEAR(q.y, 1, 1e-12);
  auto singular = CGAffineTransformMakeScale(0, 1);
  EXPECT_EQ(CGAffineTransformInvert(singular), singular);
}

}  // namespace
}  // namespace platform

namespace platform {
namespace {

class SafeAreaTest : public ::testing::Test {
 protected:
  ManualTaskEnvironment env;
  std::shared_ptr<UIWindow> window = std::make_shared<UIWindow>(CGRectMake(0, 0, 375, 812));
};

TEST_F(SafeAreaTest, InsetsReachIntoViewsThatOverlapTheUnsafeEdges) {
  window->setSafeAreaInsets(UIEdgeInsetsMake(44, 0, 34, 0));
  auto full = std::make_shared<UIView>(window->bounds());
  auto middle = std::make_shared<UIView>(CGRectMake(0, 100, 375, 100));
  auto top = std::make_shared<UIView>(CGRectMake(0, 20, 375, 100));
  window->addSubview(full);
  window->addSubview(middle);
  window->addSubview(top);
  EXPECT_EQ(full->safeAreaInsets(), UIEdgeInsetsMake(44, 0, 34, 0));
  EXPECT_EQ(middle->safeAreaInsets(), UIEdgeInsets{});
  EXPECT_EQ(top->safeAreaInsets(), UIEdgeInsetsMake(24, 0, 0, 0));
  EXPECT_EQ(std::make_shared<UIView>()->safeAreaInsets(), UIEdgeInsets{});  // not in a window
  auto content = std::make_shared<UIView>();
  content->setTranslatesAutoresizingMaskIntoConstraints(false);
  full->addSubview(content);
  UILayoutGuide& safe = full->safeAreaLayoutGuide();
  EXPECT_EQ(safe.layoutFrame(), CGRectMake(0, 44, 375, 812 - 78));
  NSLayoutConstraint::activateConstraints({content->topAnchor().constraintEqualToAnchor(safe.topAnchor()),
                                           content->bottomAnchor().constraintEqualToAnchor(safe.bottomAnchor()),
                                           content->leftAnchor().constraintEqualToAnchor(safe.leftAnchor()),
                                           content->rightAnchor().constraintEqualToAnchor(safe.rightAnchor())});
  window->layoutIfNeeded();
  EXPECT_EQ(content->frame(), CGRectMake(0, 44, 375, 734));
}

TEST_F(SafeAreaTest, SpinnerRunsOnTheClockAndBlurKeepsItsContentFilled) {
  UIActivityIndicatorView spinner(UIActivityIndicatorViewStyle::WhiteLarge);
  EXPECT_EQ(spinner.bounds().size, CGSizeMake(37, 37));
  EXPECT_TRUE(spinner.isHidden());
  spinner.startAnimating();
  EXPECT_FALSE(spinner.isHidden());
  env.fastForwardBy(seconds(0.5));
  EXPECT_DOUBLE_EQ(spinner.animationTime(), 0.5);
  EXPECT_EQ(spinner.color(), UIColor::whiteColor());
  spinner.stopAnimating();
  EXPECT_TRUE(spinner.isHidden());
  EXPECT_EQ(spinner.animationTime(), 0);
  UIVisualEffectView blur(UIBlurEffect::effectWithStyle(UIBlurEffectStyle::Dark));
  blur.setFrame(CGRectMake(0, 0, 375, 812));
  EXPECT_EQ(blur.effect()->style(), UIBlurEffectStyle::Dark);
  EXPECT_EQ(blur.contentView()->frame(), CGRectMake(0, 0, 375, 812));
}

}  // namespace
}  // namespace platform
