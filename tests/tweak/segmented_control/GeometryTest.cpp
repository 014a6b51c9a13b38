// The segmented control's arithmetic without any view: state offsets,
// percent, snapping, taps, the selector outlines and the gradient's layout.
#include <gtest/gtest.h>

#include <cmath>

#include "tweak/TSSegmentedControl/TSGradientGeometry.h"
#include "tweak/TSSegmentedControl/TSSegmentedControlGeometry.h"
#include "tweak/TSSegmentedControl/TSSelectorShape.h"

namespace {

using platform::CGPoint;
using platform::UIBezierPath;
using Element = UIBezierPath::Element;
using Type = UIBezierPath::ElementType;

class SegmentedControlGeometryTest : public ::testing::Test {};

TEST_F(SegmentedControlGeometryTest, TwoStatesOnThreeHundredPoints) {
  const TSSegmentedControlGeometry g(2, 300);
  EXPECT_EQ(g.selectorWidth(), 150);
  EXPECT_EQ(g.spacerWidth(), 150);
  EXPECT_EQ(g.contentWidth(), 450);
  EXPECT_EQ(g.offsetFromState(0), CGPoint(150, 0));
  EXPECT_EQ(g.offsetFromState(1), CGPoint(0, 0));
  EXPECT_EQ(g.percentFromOffset(75), 0.5);
  EXPECT_EQ(TSSegmentedControlGeometry::leftStateIndexFromPercentage(0.5), 0);
  EXPECT_EQ(TSSegmentedControlGeometry::rightStateIndexFromPercentage(0.5), 1);
  EXPECT_EQ(g.selectorLeftEdge(75), 75);
  EXPECT_EQ(g.selectorLeftEdge(150), 0);
  EXPECT_EQ(g.selectorLeftEdge(0), 150);
}

TEST_F(SegmentedControlGeometryTest, HalfWayRoundsTowardTheFirstState) {
  const TSSegmentedControlGeometry g(2, 300);
  EXPECT_EQ(g.stateFromOffset(75), 0);
  EXPECT_EQ(g.stateFromOffset(74.9), 1);
  EXPECT_EQ(g.nearestStateOffsetFromOffset({75, 3}), CGPoint(150, 3));
  EXPECT_EQ(g.nearestStateOffsetFromOffset({74.9, 0}), CGPoint(0, 0));
}

TEST_F(SegmentedControlGeometryTest, EveryStateOffsetMapsBackToItsStateForTwoToFiveStates) {
  for (long n = 2; n <= 5; ++n) {
    for (double w : {300.0, 100.0, 301.0, 170.0}) {
      const TSSegmentedControlGeometry g(n, w);
      EXPECT_DOUBLE_EQ(g.selectorWidth() * static_cast<double>(n), w);
      EXPECT_DOUBLE_EQ(g.spacerWidth() + g.selectorWidth(), w);
      for (long i = 0; i < n; ++i) {
        const double x = g.offsetFromState(i).x;
        EXPECT_DOUBLE_EQ(x, static_cast<double>(n - 1 - i) * w / static_cast<double>(n)) << n << " " << w << " " << i;
        EXPECT_EQ(g.stateFromOffset(x), i);
        EXPECT_NEAR(g.percentFromOffset(x), static_cast<double>(i), 1e-12);
        EXPECT_NEAR(g.selectorLeftEdge(x), static_cast<double>(i) * w / static_cast<double>(n), 1e-9);
        EXPECT_NEAR(g.nearestStateOffsetFromOffset({x + 0.3 * g.selectorWidth(), 0}).x, x, 1e-4);
        EXPECT_EQ(g.stateFromTapPoint({(static_cast<double>(i) + 0.5) * g.selectorWidth(), 5}), i);
      }
    }
  }
}

TEST_F(SegmentedControlGeometryTest, WidthsThatDoNotDivideEvenly) {
  const TSSegmentedControlGeometry g(3, 100);
  EXPECT_DOUBLE_EQ(g.selectorWidth(), 100.0 / 3);
  EXPECT_DOUBLE_EQ(g.spacerWidth(), 200.0 / 3);
  EXPECT_DOUBLE_EQ(g.offsetFromState(1).x, 100.0 / 3);
  EXPECT_DOUBLE_EQ(g.percentFromOffset(50), 0.5);
  EXPECT_EQ(g.stateFromOffset(50), 0);  // 1.5 slots from the last state: rounded away from zero
  EXPECT_DOUBLE_EQ(g.nearestStateOffsetFromOffset({50, 0}).x, 200.0 / 3);
  EXPECT_EQ(g.stateFromTapPoint({33.3, 0}), 0);
  EXPECT_EQ(g.stateFromTapPoint({33.4, 0}), 1);
  EXPECT_EQ(g.stateFromTapPoint({99.99, 0}), 2);
  EXPECT_EQ(g.stateFromTapPoint({100, 0}), 2);  // kept on the last slot
  EXPECT_EQ(g.stateFromTapPoint({-4, 0}), 0);
  EXPECT_DOUBLE_EQ(g.slotFrame(2, 30).origin.x, 200.0 / 3);

  const TSSegmentedControlGeometry five(5, 301);
  EXPECT_DOUBLE_EQ(five.offsetFromState(2).x, 120.4);
  EXPECT_DOUBLE_EQ(five.percentFromOffset(120.4), 2);
  EXPECT_DOUBLE_EQ(five.percentFromOffset(90.3), 2.5);
  EXPECT_EQ(five.stateFromOffset(100), 2);
  EXPECT_EQ(five.stateFromOffset(80), 3);
}

TEST_F(SegmentedControlGeometryTest, PastEitherEndThePercentLeavesTheRange) {
  const TSSegmentedControlGeometry g(2, 300);
  EXPECT_DOUBLE_EQ(g.percentFromOffset(180), -0.2);
  EXPECT_EQ(TSSegmentedControlGeometry::leftStateIndexFromPercentage(-0.2), -1);
  EXPECT_EQ(TSSegmentedControlGeometry::rightStateIndexFromPercentage(-0.2), 0);
  EXPECT_DOUBLE_EQ(g.percentFromOffset(-30), 1.2);
  EXPECT_EQ(TSSegmentedControlGeometry::leftStateIndexFromPercentage(1.2), 1);
}

TEST_F(SegmentedControlGeometryTest, FewerThanTwoStatesNeverDivideByZero) {
  for (long n : {0L, 1L, -3L}) {
    const TSSegmentedControlGeometry g(n, 300);
    EXPECT_EQ(g.spacerWidth(), 0);
    EXPECT_EQ(g.percentFromOffset(40), 0);
    EXPECT_EQ(g.offsetFromState(0), CGPoint(0, 0));
    EXPECT_EQ(g.stateFromOffset(40), 0);
    EXPECT_EQ(g.nearestStateOffsetFromOffset({40, 2}), CGPoint(0, 2));
    EXPECT_EQ(g.stateFromTapPoint({250, 0}), 0);
  }
  EXPECT_EQ(TSSegmentedControlGeometry(1, 300).selectorWidth(), 300);
  EXPECT_EQ(TSSegmentedControlGeometry(0, 300).selectorWidth(), 0);
  EXPECT_EQ(TSSegmentedControlGeometry(0, 300).contentWidth(), 0);
}

class SelectorShapeTest : public ::testing::Test {};

TEST_F(SelectorShapeTest, SqueezePolynomialSamples) {
  EXPECT_EQ(TSSelectorShape::F(0), 0);
  EXPECT_NEAR(TSSelectorShape::F(0.25), 0.052458, 1e-6);
  EXPECT_NEAR(TSSelectorShape::F(0.5), 0.182599, 1e-6);
  EXPECT_NEAR(TSSelectorShape::F(0.75), 0.246615, 1e-6);
  EXPECT_NEAR(TSSelectorShape::F(1), -0.002745, 1e-6);
  EXPECT_NEAR(TSSelectorShape::F(0.685), 0.2597, 1e-4);
}

TEST_F(SelectorShapeTest, DribbleHalfWayHasItsWaistAndSymmetricEnds) {
  const double w = 150, h = 30;
  const double a = h * TSSelectorShape::F(0.5);
  const UIBezierPath path = TSSelectorShape::dribblePathForSelectorViewFromPercentage(w, h, 0.5);
  const auto& e = path.elements();
  ASSERT_EQ(e.size(), 12u);
  EXPECT_EQ(e[0], (Element{Type::MoveTo, {0, 15}, {}, {}}));
  EXPECT_EQ(e[1].type, Type::CurveTo);
  EXPECT_EQ(e[1].point, CGPoint(15, a));
  EXPECT_EQ(e[1].control1, CGPoint(0, 15 - 7.5));
  EXPECT_EQ(e[2].point, CGPoint(45, a + 3));  // waist 0.1 h at t = 0.5
  EXPECT_EQ(e[3].point, CGPoint(105, a + 3));
  EXPECT_EQ(e[4].point, CGPoint(135, a));
  EXPECT_EQ(e[5].point, CGPoint(150, 15));
  EXPECT_EQ(e[6].point, CGPoint(135, 30 - a));
  EXPECT_EQ(e[7].point, CGPoint(105, 30 - a - 3));
  EXPECT_EQ(e[8].point, CGPoint(45, 30 - a - 3));
  EXPECT_EQ(e[9].point, CGPoint(15, 30 - a));
  EXPECT_EQ(e[10].point, CGPoint(0, 15));
  EXPECT_EQ(e[11].type, Type::Close);
  EXPECT_TRUE(path.containsPoint({75, 15}));
  // The top edge dips to a + 4.875 mid-way: pinched in at the waist.
  EXPECT_FALSE(path.containsPoint({75, a + 4.5}));
  EXPECT_TRUE(path.containsPoint({75, a + 5.25}));
  EXPECT_TRUE(path.containsPoint({15, a + 0.5}));
}

TEST_F(SelectorShapeTest, DribbleAtRestIsACapsule) {
  const UIBezierPath path = TSSelectorShape::dribblePathForSelectorViewFromPercentage(150, 30, 0);
  const auto& e = path.elements();
  EXPECT_EQ(e[1].point, CGPoint(15, 0));
  EXPECT_EQ(e[2].point.y, 30 * TSSelectorShape::F(1) / 4);
  EXPECT_NEAR(e[4].point.y, 0, 0.1);
  EXPECT_TRUE(path.containsPoint({2, 15}));
  EXPECT_TRUE(path.containsPoint({75, 0.5}));
  EXPECT_FALSE(path.containsPoint({1, 1}));  // the rounded end
  EXPECT_TRUE(path.containsPoint({0.5, 15}));
  EXPECT_TRUE(path.containsPoint({149.5, 15}));
  EXPECT_FALSE(path.containsPoint({150.5, 15}));
}

TEST_F(SelectorShapeTest, NegativePercentDrawsAsTheNextSlotsShape) {
  EXPECT_EQ(TSSelectorShape::dribblePathForSelectorViewFromPercentage(150, 30, -0.25),
            TSSelectorShape::dribblePathForSelectorViewFromPercentage(150, 30, 0.75));
}

TEST_F(SelectorShapeTest, WaistBoundsAreExclusive) {
  for (double t : {0.3, 0.7}) {
    const double h = 30, a = h * TSSelectorShape::F(t), b = h * TSSelectorShape::F(1 - t);
    const auto e = TSSelectorShape::dribblePathForSelectorViewFromPercentage(150, h, t).elements();
    EXPECT_DOUBLE_EQ(e[2].point.y, (3 * a + b) / 4) << t;
    EXPECT_DOUBLE_EQ(e[3].point.y, (a + 3 * b) / 4) << t;
  }
  const double h = 30, t = 0.4, a = h * TSSelectorShape::F(t), b = h * TSSelectorShape::F(1 - t);
  const auto e = TSSelectorShape::dribblePathForSelectorViewFromPercentage(150, h, t).elements();
  EXPECT_NEAR(e[2].point.y, (3 * a + b) / 4 + 1.5, 1e-12);  // half the full waist at 0.4
}

TEST_F(SelectorShapeTest, RoundedRectIgnoresThePercentAndOtherStylesHaveNoOutline) {
  using Style = TSSegmentedControlShapeStyle;
  const auto r0 = TSSelectorShape::pathForSelectorViewFromPercentage(Style::RoundedRect, 85, 30, 15, 0);
  const auto r1 = TSSelectorShape::pathForSelectorViewFromPercentage(Style::RoundedRect, 85, 30, 15, 0.4);
  ASSERT_TRUE(r0);
  EXPECT_EQ(*r0, *r1);
  EXPECT_EQ(r0->bounds(), platform::CGRectMake(0, 0, 85, 30));
  EXPECT_FALSE(r0->containsPoint({1, 1}));
  EXPECT_TRUE(r0->containsPoint({15, 1}));
  EXPECT_FALSE(TSSelectorShape::pathForSelectorViewFromPercentage(static_cast<Style>(2), 85, 30, 15, 0));
  EXPECT_FALSE(TSSelectorShape::pathForSelectorViewFromPercentage(static_cast<Style>(7), 85, 30, 15, 0));
}

class GradientGeometryTest : public ::testing::Test {};

TEST_F(GradientGeometryTest, LocationsOfTwoStatesWithTwoColoursEach) {
  const TSGradientGeometry g(2, 1.0);
  EXPECT_EQ(g.totalLength(), 7);
  const double expected[4][2] = {{0, 1.0 / 7}, {2.0 / 7, 3.0 / 7}, {4.0 / 7, 5.0 / 7}, {6.0 / 7, 1}};
  for (long i = -1; i <= 2; ++i) {
    for (long j = 0; j < 2; ++j) {
      EXPECT_DOUBLE_EQ(g.gradientLocationForStateAtIndex(i, j, 2), expected[i + 1][j]) << i << " " << j;
    }
  }
  for (long j = 0; j < 3; ++j) {
    EXPECT_DOUBLE_EQ(g.gradientLocationForBounce(0, j, 3), g.gradientLocationForStateAtIndex(-1, j, 3));
    EXPECT_DOUBLE_EQ(g.gradientLocationForBounce(1, j, 3), g.gradientLocationForStateAtIndex(2, j, 3));
  }
  EXPECT_EQ(g.gradientLocationForBounce(5, 1, 2), 0);
}

TEST_F(GradientGeometryTest, TheMaskSitsUnderTheSelectorAtEveryPercent) {
  const TSGradientGeometry g(2, 1.0);
  const double sw = 150;
  EXPECT_EQ(g.gradientViewWidth(300), 1050);
  EXPECT_EQ(g.gradientViewLeftOffset(sw, 0), -300);
  EXPECT_EQ(g.maskShift(sw, 0), 300);
  EXPECT_EQ(g.gradientViewLeftOffset(sw, 0.5), -450);
  EXPECT_EQ(g.maskShift(sw, 0.5), 600);
  for (double p : {-0.2, 0.0, 0.3, 1.0, 1.25}) {
    const double k = p / 2;
    EXPECT_NEAR(g.gradientViewLeftOffset(sw, k) + g.maskShift(sw, k), sw * p, 1e-9);
    EXPECT_NEAR(g.gradientViewLeftOffset(sw, k), -sw * (1 + 1.0 * (1 + p)), 1e-9);
  }
}

TEST_F(GradientGeometryTest, BackVelocityWidensTheGapsAndSpeedsTheSlide) {
  const TSGradientGeometry g(2, 2.0);
  EXPECT_EQ(g.totalLength(), 10);
  EXPECT_EQ(g.gradientViewWidth(300), 1500);
  EXPECT_DOUBLE_EQ(g.gradientLocationForStateAtIndex(0, 0, 2), 0.3);
  // Past state 0 by a fifth of a slot the window shows 1.6 x 1.5 = 2.4 selector widths in: the left gap.
  EXPECT_DOUBLE_EQ(g.gradientViewLeftOffset(150, -0.1), -390);
  EXPECT_DOUBLE_EQ(g.maskShift(150, -0.1), 360);
  // Past the last state the window reaches into the right gap.
  EXPECT_DOUBLE_EQ(g.maskShift(150, 1.2 / 2), 150 * (1 + 2.2 * 3) - 150);
  EXPECT_EQ(TSGradientGeometry(0, 1).gradientViewWidth(300), 0);
}

}  // namespace
