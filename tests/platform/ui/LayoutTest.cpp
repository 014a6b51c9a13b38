// Layout constraints: edges, centres, sizes, multipliers, priorities, guides,
// the visual format, right-to-left, removal, scroll content and stack views.
#include <gtest/gtest.h>

#include <memory>

#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UILayoutGuide.h"
#include "platform/ui/UIScrollView.h"
#include "platform/ui/UIStackView.h"
#include "platform/ui/UIView.h"

namespace platform {
namespace {

using A = NSLayoutAttribute;
using R = NSLayoutRelation;

// A view with a natural size, as a label would have.
class Sized : public UIView {
 public:
  explicit Sized(CGSize s) : size_(s) {}
  CGSize intrinsicContentSize() const override { return size_; }

 private:
  CGSize size_;
};

class LayoutTest : public ::testing::Test {
 protected:
  std::shared_ptr<UIView> child(UIView& parent, bool autoLayout = true) {
    auto v = std::make_shared<UIView>(CGRectMake(1, 2, 3, 4));
    v->setTranslatesAutoresizingMaskIntoConstraints(!autoLayout);
    parent.addSubview(v);
    return v;
  }
  static NSLayoutConstraint::Ptr rule(LayoutItem* a, A aa, R r, LayoutItem* b, A ba, double m, double c) {
    return NSLayoutConstraint::constraintWithItem(a, aa, r, b, ba, m, c);
  }
  static void expectRect(const CGRect& r, double x, double y, double w, double h) {
    EXPECT_NEAR(r.origin.x, x, 1e-6);
    EXPECT_NEAR(r.origin.y, y, 1e-6);
    EXPECT_NEAR(r.size.width, w, 1e-6);
    EXPECT_NEAR(r.size.height, h, 1e-6);
  }

  ManualTaskEnvironment env;
  std::shared_ptr<UIView> root = std::make_shared<UIView>(CGRectMake(0, 0, 375, 812));
};

TEST_F(LayoutTest, VisualFormatPinsAViewToAllEdgesAndFollowsResizes) {
  auto v = child(*root);
  std::map<std::string, UIView*> views{{"v", v.get()}};
  auto h = NSLayoutConstraint::constraintsWithVisualFormat("H:|-0-[v]-0-|", 0, {}, views);
  auto vv = NSLayoutConstraint::constraintsWithVisualFormat("V:|-0-[v]-0-|", 0, {}, views);
  ASSERT_EQ(h.size(), 2u);
  ASSERT_EQ(vv.size(), 2u);
  NSLayoutConstraint::activateConstraints(h);
  NSLayoutConstraint::activateConstraints(vv);
  EXPECT_EQ(h[0]->holder(), root.get());
  root->layoutIfNeeded();
  expectRect(v->frame(), 0, 0, 375, 812);
  root->setFrame(CGRectMake(0, 0, 200, 100));
  root->layoutIfNeeded();
  expectRect(v->frame(), 0, 0, 200, 100);
}

TEST_F(LayoutTest, VisualFormatWithSpacingSizesAndMetrics) {
  auto a = child(*root), b = child(*root);
  auto cs = NSLayoutConstraint::constraintsWithVisualFormat("H:|-[a(40)]-gap-[b(==60)]", 0, {{"gap", 12}},
                                                            {{"a", a.get()}, {"b", b.get()}});
  NSLayoutConstraint::activateConstraints(cs);
  root->layoutIfNeeded();
  EXPECT_NEAR(a->frame().origin.x, 20, 1e-9);
  EXPECT_NEAR(a->frame().size.width, 40, 1e-9);
  EXPECT_NEAR(b->frame().origin.x, 72, 1e-9);
  EXPECT_NEAR(b->frame().size.width, 60, 1e-9);
  EXPECT_TRUE(NSLayoutConstraint::constraintsWithVisualFormat("H:|-0-[missing]", 0, {}, {}).empty());
  EXPECT_TRUE(NSLayoutConstraint::constraintsWithVisualFormat("H:|-x-[a]", 0, {}, {{"a", a.get()}}).empty());
}

TEST_F(LayoutTest, GuidesShareTheSpaceAboveARingInAGivenRatio) {
  // A label between the top of the screen and a ring placed by frame, with the space above it
  // 1.5 times the space below it.
  auto ring = std::make_shared<UIView>(CGRectMake(0, 218, 375, 375));
  root->addSubview(ring);
  auto label = std::make_shared<Sized>(CGSizeMake(50, 20));
  label->setTranslatesAutoresizingMaskIntoConstraints(false);
  root->addSubview(label);
  auto upper = std::make_shared<UILayoutGuide>(), lower = std::make_shared<UILayoutGuide>();
  root->addLayoutGuide(upper);
  root->addLayoutGuide(lower);
  NSLayoutConstraint::activateConstraints({
      label->leadingAnchor().constraintEqualToAnchor(root->leadingAnchor(), 80),
      label->centerXAnchor().constraintEqualToAnchor(root->centerXAnchor()),
      upper->topAnchor().constraintEqualToAnchor(root->topAnchor()),
      upper->bottomAnchor().constraintEqualToAnchor(label->topAnchor()),
      lower->topAnchor().constraintEqualToAnchor(label->bottomAnchor()),
      lower->bottomAnchor().constraintEqualToAnchor(ring->topAnchor()),
      upper->heightAnchor().constraintEqualToAnchor(lower->heightAnchor(), 1.5, 0),
  });
  root->layoutIfNeeded();
  double below = (218 - 20) / 2.5;
  expectRect(label->frame(), 80, 1.5 * below, 215, 20);
  EXPECT_NEAR(upper->layoutFrame().size.height, 1.5 * below, 1e-6);
  EXPECT_NEAR(lower->layoutFrame().origin.y, 1.5 * below + 20, 1e-6);
  // Moving the ring by frame moves the label with it.
  ring->setFrame(CGRectMake(0, 318, 375, 375));
  root->layoutIfNeeded();
  EXPECT_NEAR(label->frame().origin.y, 1.5 * (318 - 20) / 2.5, 1e-6);
}

TEST_F(LayoutTest, MultipliersConstantsAndPrioritiesDecide) {
  auto v = child(*root);
  auto half = v->widthAnchor().constraintEqualToAnchor(root->widthAnchor(), 0.5, 10);
  auto weak = v->widthAnchor().constraintEqualToConstant(30);
  weak->setPriority(500);
  NSLayoutConstraint::activateConstraints({half, weak, v->heightAnchor().constraintEqualToConstant(40),
                                           v->centerXAnchor().constraintEqualToAnchor(root->centerXAnchor()),
                                           v->bottomAnchor().constraintEqualToAnchor(root->bottomAnchor(), -25)});
  root->layoutIfNeeded();
  expectRect(v->frame(), (375 - 197.5) / 2, 812 - 25 - 40, 197.5, 40);
  half->setActive(false);
  root->layoutIfNeeded();
  EXPECT_NEAR(v->frame().size.width, 30, 1e-9);
  weak->setConstant(44);
  root->layoutIfNeeded();
  EXPECT_NEAR(v->frame().size.width, 44, 1e-9);
}

TEST_F(LayoutTest, ConflictingRequiredRuleIsDroppedNotFatal) {
  auto v = child(*root);
  NSLayoutConstraint::activateConstraints({v->widthAnchor().constraintEqualToConstant(10),
                                           v->widthAnchor().constraintEqualToConstant(20),
                                           v->leftAnchor().constraintEqualToAnchor(root->leftAnchor())});
  root->layoutIfNeeded();
  EXPECT_NEAR(v->frame().size.width, 10, 1e-9);
}

TEST_F(LayoutTest, InequalityHoldsAgainstWeakerWishes) {
  auto v = child(*root);
  auto wish = v->widthAnchor().constraintEqualToConstant(50);
  wish->setPriority(250);
  NSLayoutConstraint::activateConstraints(
      {wish, v->widthAnchor().constraintGreaterThanOrEqualToAnchor(root->widthAnchor(), 0)});
  root->layoutIfNeeded();
  EXPECT_NEAR(v->frame().size.width, 375, 1e-9);
}

TEST_F(LayoutTest, UnderConstrainedViewsKeepTheRestOfTheirFrame) {
  auto v = child(*root);
  v->setFrame(CGRectMake(7, 8, 9, 10));
  v->widthAnchor().constraintEqualToConstant(30)->setActive(true);
  root->layoutIfNeeded();
  expectRect(v->frame(), 7, 8, 30, 10);
}

TEST_F(LayoutTest, LeadingAndTrailingFlipInRightToLeft) {
  auto v = child(*root);
  NSLayoutConstraint::activateConstraints({v->leadingAnchor().constraintEqualToAnchor(root->leadingAnchor(), 20),
                                           v->widthAnchor().constraintEqualToConstant(100)});
  root->setSemanticContentAttribute(UISemanticContentAttribute::ForceRightToLeft);
  root->layoutIfNeeded();
  EXPECT_NEAR(v->frame().origin.x, 375 - 20 - 100, 1e-9);
  root->setSemanticContentAttribute(UISemanticContentAttribute::Unspecified);
  UIApplication::sharedApplication().setUserInterfaceLayoutDirection(UIUserInterfaceLayoutDirection::LeftToRight);
  root->layoutIfNeeded();
  EXPECT_NEAR(v->frame().origin.x, 20, 1e-9);
}

TEST_F(LayoutTest, RemovingAViewTakesItsConstraintsAlong) {
  auto a = child(*root), b = child(*root);
  auto tie = b->leftAnchor().constraintEqualToAnchor(a->rightAnchor());
  auto own = a->widthAnchor().constraintEqualToConstant(5);
  NSLayoutConstraint::activateConstraints({tie, own});
  EXPECT_EQ(tie->holder(), root.get());
  EXPECT_EQ(own->holder(), a.get());
  a->removeFromSuperview();
  EXPECT_FALSE(tie->isActive());
  EXPECT_TRUE(own->isActive());  // held inside the removed subtree
  root->layoutIfNeeded();        // b is left alone
  b.reset();
  a.reset();
  EXPECT_FALSE(own->isActive());
}

TEST_F(LayoutTest, ItemsWithoutCommonAncestorAreNotActivated) {
  auto stranger = std::make_shared<UIView>();
  auto c = stranger->topAnchor().constraintEqualToAnchor(root->topAnchor());
  c->setActive(true);
  EXPECT_FALSE(c->isActive());
}

TEST_F(LayoutTest, LayoutRunsByItselfOnTheMainLoop) {
  auto v = child(*root);
  NSLayoutConstraint::activateConstraints(
      NSLayoutConstraint::constraintsWithVisualFormat("H:|-10-[v]-10-|", 0, {}, {{"v", v.get()}}));
  env.runUntilIdle();
  EXPECT_NEAR(v->frame().size.width, 355, 1e-9);
}

TEST_F(LayoutTest, ScrollContentSizeComesFromConstraintsToTheScrollView) {
  // The segmented control's strip: spacer, selector, spacer inside a 300 × 30 scroller.
  auto control = std::make_shared<UIView>(CGRectMake(0, 0, 300, 30));
  root->addSubview(control);
  auto scroll = std::make_shared<UIScrollView>();
  scroll->setTranslatesAutoresizingMaskIntoConstraints(false);
  control->addSubview(scroll);
  auto left = child(*scroll), selector = child(*scroll), right = child(*scroll);
  std::vector<NSLayoutConstraint::Ptr> cs{
      scroll->leftAnchor().constraintEqualToAnchor(control->leftAnchor()),
      scroll->topAnchor().constraintEqualToAnchor(control->topAnchor()),
      scroll->bottomAnchor().constraintEqualToAnchor(control->bottomAnchor()),
      scroll->widthAnchor().constraintEqualToAnchor(control->widthAnchor()),
      left->leftAnchor().constraintEqualToAnchor(scroll->leftAnchor()),
      selector->leftAnchor().constraintEqualToAnchor(left->rightAnchor()),
      right->leftAnchor().constraintEqualToAnchor(selector->rightAnchor()),
      right->rightAnchor().constraintEqualToAnchor(scroll->rightAnchor()),
      left->widthAnchor().constraintEqualToAnchor(control->widthAnchor(), 0.5, 0),
      selector->widthAnchor().constraintEqualToAnchor(control->widthAnchor(), 0.5, 0),
      right->widthAnchor().constraintEqualToAnchor(control->widthAnchor(), 0.5, 0),
  };
  for (auto* v : {left.get(), selector.get(), right.get()}) {
    cs.push_back(v->topAnchor().constraintEqualToAnchor(scroll->topAnchor()));
    cs.push_back(v->bottomAnchor().constraintEqualToAnchor(scroll->bottomAnchor()));
    cs.push_back(v->heightAnchor().constraintEqualToAnchor(control->heightAnchor()));
  }
  NSLayoutConstraint::activateConstraints(cs);
  root->layoutIfNeeded();
  expectRect(scroll->frame(), 0, 0, 300, 30);
  EXPECT_NEAR(scroll->contentSize().width, 450, 1e-9);
  EXPECT_NEAR(scroll->contentSize().height, 30, 1e-9);
  expectRect(selector->frame(), 150, 0, 150, 30);
  // Scrolling moves the bounds, not the content's frames.
  scroll->setContentOffset({150, 0});
  root->setNeedsLayout();
  root->layoutIfNeeded();
  expectRect(selector->frame(), 150, 0, 150, 30);
}

TEST_F(LayoutTest, StackViewSharesFreeWidthEquallyBetweenCentredIcons) {
  auto strip = std::make_shared<UIView>(CGRectMake(0, 0, 64, 16));
  root->addSubview(strip);
  auto stack = std::make_shared<UIStackView>();
  stack->setAxis(UILayoutConstraintAxis::Horizontal);
  stack->setDistribution(UIStackViewDistribution::EqualSpacing);
  stack->setAlignment(UIStackViewAlignment::Center);
  stack->setTranslatesAutoresizingMaskIntoConstraints(false);
  strip->addSubview(stack);
  std::map<std::string, UIView*> views{{"s", stack.get()}};
  NSLayoutConstraint::activateConstraints(
      NSLayoutConstraint::constraintsWithVisualFormat("H:|-0-[s]-0-|", 0, {}, views));
  NSLayoutConstraint::activateConstraints(
      NSLayoutConstraint::constraintsWithVisualFormat("V:|-0-[s]-0-|", 0, {}, views));
  double d = 64.0 / 3 - 4;
  std::vector<std::shared_ptr<UIView>> icons;
  for (int i = 0; i < 3; ++i) {
    auto icon = std::make_shared<UIView>();
    icon->setTranslatesAutoresizingMaskIntoConstraints(false);
    icon->heightAnchor().constraintEqualToConstant(d)->setActive(true);
    icon->heightAnchor().constraintEqualToAnchor(icon->widthAnchor(), 1, 0)->setActive(true);
    stack->addArrangedSubview(icon);
    icons.push_back(icon);
  }
  strip->layoutIfNeeded();
  double gap = (64 - 3 * d) / 2;
  for (int i = 0; i < 3; ++i) {
    expectRect(icons[i]->frame(), i * (d + gap), (16 - d) / 2, d, d);
  }
  // One icon fills the strip's width.
  stack->removeArrangedSubview(icons[1].get());
  icons[1]->removeFromSuperview();
  stack->removeArrangedSubview(icons[2].get());
  icons[2]->removeFromSuperview();
  icons[0]->constraints()[0]->setConstant(64);
  strip->layoutIfNeeded();
  expectRect(icons[0]->frame(), 0, -24, 64, 64);
}

// Lays out its children at once inside its own layout and notes what it saw.
class EagerView : public UIView {
 public:
  using UIView::UIView;
  void layoutSubviews() override {
    UIView::layoutSubviews();
    layoutIfNeeded();
    if (inner) seen = inner->frame().size.width;
  }
  UIView* inner = nullptr;
  double seen = -1;
};

TEST_F(LayoutTest, LayoutSubviewsCanLayOutItsChildrenAtOnce) {
  auto eager = std::make_shared<EagerView>(CGRectMake(0, 0, 300, 30));
  root->addSubview(eager);
  auto box = child(*eager);
  auto inner = child(*box);
  eager->inner = inner.get();
  NSLayoutConstraint::activateConstraints({
      box->leftAnchor().constraintEqualToAnchor(eager->leftAnchor()),
      box->rightAnchor().constraintEqualToAnchor(eager->rightAnchor()),
      box->topAnchor().constraintEqualToAnchor(eager->topAnchor()),
      box->bottomAnchor().constraintEqualToAnchor(eager->bottomAnchor()),
      inner->leftAnchor().constraintEqualToAnchor(box->leftAnchor()),
      inner->topAnchor().constraintEqualToAnchor(box->topAnchor()),
      inner->bottomAnchor().constraintEqualToAnchor(box->bottomAnchor()),
      inner->widthAnchor().constraintEqualToAnchor(box->widthAnchor(), 0.5, 0),
  });
  root->layoutIfNeeded();
  EXPECT_NEAR(eager->seen, 150, 1e-9);
}

}  // namespace
}  // namespace platform
