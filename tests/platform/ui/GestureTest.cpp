// Gestures on simulated touches delivered through a window: taps, double taps
// against single taps, pans, long presses, buttons and exclusive touch.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UILongPressGestureRecognizer.h"
#include "platform/ui/UIPanGestureRecognizer.h"
#include "platform/ui/UITapGestureRecognizer.h"
#include "platform/ui/UIWindow.h"

namespace platform {
namespace {

using S = UIGestureRecognizerState;

class GestureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window->makeKeyAndVisible();
    window->addSubview(target);
  }
  void forward(double s) { env.fastForwardBy(seconds(s)); }
  void down(CGPoint p, int finger = 0) { window->sendTouch(UITouchPhase::Began, p, finger); }
  void move(CGPoint p, int finger = 0) { window->sendTouch(UITouchPhase::Moved, p, finger); }
  void up(CGPoint p, int finger = 0) { window->sendTouch(UITouchPhase::Ended, p, finger); }
  void tapAt(CGPoint p) {
    down(p);
    forward(0.05);
    up(p);
  }

  ManualTaskEnvironment env;
  std::shared_ptr<UIWindow> window = std::make_shared<UIWindow>(CGRectMake(0, 0, 400, 800));
  std::shared_ptr<UIView> target = std::make_shared<UIView>(CGRectMake(100, 100, 200, 200));
};

TEST_F(GestureTest, SingleTapIsRecognisedOnLift) {
  int taps = 0;
  auto tap = std::make_shared<UITapGestureRecognizer>([&](UIGestureRecognizer& g) {
    EXPECT_EQ(g.state(), S::Ended);
    EXPECT_EQ(g.locationInView(target.get()), CGPointMake(50, 60));
    ++taps;
  });
  target->addGestureRecognizer(tap);
  down({150, 160});
  EXPECT_EQ(taps, 0);
  up({150, 160});
  EXPECT_EQ(taps, 1);
  EXPECT_EQ(tap->state(), S::Possible);  // ready again
  tapAt({150, 160});
  EXPECT_EQ(taps, 2);
}

TEST_F(GestureTest, TapFailsWhenTheFingerWanders) {
  int taps = 0;
  target->addGestureRecognizer(std::make_shared<UITapGestureRecognizer>([&](UIGestureRecognizer&) { ++taps; }));
  down({150, 150});
  move({170, 150});
  up({170, 150});
  EXPECT_EQ(taps, 0);
  tapAt({150, 150});
  EXPECT_EQ(taps, 1);
}

class DoubleTapTest : public GestureTest {
 protected:
  void SetUp() override {
    GestureTest::SetUp();
    doubleTap = std::make_shared<UITapGestureRecognizer>([&](UIGestureRecognizer&) { ++doubles; });
    doubleTap->setNumberOfTapsRequired(2);
    singleTap = std::make_shared<UITapGestureRecognizer>([&](UIGestureRecognizer&) { ++singles; });
    singleTap->requireGestureRecognizerToFail(doubleTap);
    target->addGestureRecognizer(doubleTap);
    target->addGestureRecognizer(singleTap);
  }
  std::shared_ptr<UITapGestureRecognizer> doubleTap, singleTap;
  int doubles = 0, singles = 0;
};

TEST_F(DoubleTapTest, TwoQuickTapsMakeOneDoubleTapAndNoSingleTap) {
  tapAt({150, 150});
  forward(0.1);
  tapAt({152, 151});
  EXPECT_EQ(doubles, 1);
  EXPECT_EQ(singles, 0);
  forward(1);
  EXPECT_EQ(singles, 0);
}

TEST_F(DoubleTapTest, TwoSlowTapsAreTwoSingleTaps) {
  tapAt({150, 150});
  EXPECT_EQ(singles, 0);  // waits for the double tap to fail
  forward(0.35);
  EXPECT_EQ(singles, 1);
  forward(0.2);
  tapAt({150, 150});
  forward(0.4);
  EXPECT_EQ(singles, 2);
  EXPECT_EQ(doubles, 0);
}

TEST_F(DoubleTapTest, SecondTapFarAwayIsNoDoubleTap) {
  tapAt({110, 110});
  forward(0.1);
  tapAt({290, 290});
  forward(1);
  EXPECT_EQ(doubles, 0);
  EXPECT_EQ(singles, 2);
}

TEST_F(GestureTest, PanReportsTranslationAndStates) {
  std::vector<S> states;
  std::vector<CGPoint> translations;
  auto pan = std::make_shared<UIPanGestureRecognizer>([&](UIGestureRecognizer& g) {
    states.push_back(g.state());
    translations.push_back(static_cast<UIPanGestureRecognizer&>(g).translationInView(target.get()));
  });
  target->addGestureRecognizer(pan);
  down({150, 200});
  forward(0.016);
  move({150, 195});  // within the hysteresis: nothing yet
  EXPECT_TRUE(states.empty());
  forward(0.016);
  move({150, 188});
  forward(0.016);
  move({150, 170});
  forward(0.016);
  up({150, 160});
  ASSERT_EQ(states, (std::vector<S>{S::Began, S::Changed, S::Ended}));
  EXPECT_EQ(translations[0], CGPointMake(0, -12));
  EXPECT_EQ(translations[1], CGPointMake(0, -30));
  EXPECT_EQ(translations[2], CGPointMake(0, -40));
}

TEST_F(GestureTest, PanVelocityAndSetTranslation) {
  CGPoint velocity;
  auto pan = std::make_shared<UIPanGestureRecognizer>();
  pan->addTarget(nullptr, [&](UIGestureRecognizer& g) {
    auto& p = static_cast<UIPanGestureRecognizer&>(g);
    if (g.state() == S::Began) p.setTranslation({0, 0}, nullptr);
    if (g.state() == S::Ended) velocity = p.velocityInView(nullptr);
  });
  target->addGestureRecognizer(pan);
  down({100 + 10, 150});
  for (int i = 1; i <= 10; ++i) {
    forward(0.01);
    move({110 + 10.0 * i, 150});
  }
  EXPECT_EQ(pan->translationInView(nullptr), CGPointMake(90, 0));  // since it began at +10
  up({210, 150});
  EXPECT_NEAR(velocity.x, 1000, 1e-6);
  EXPECT_NEAR(velocity.y, 0, 1e-9);
}

TEST_F(GestureTest, PanCancelledWithTheTouch) {
  std::vector<S> states;
  target->addGestureRecognizer(
      std::make_shared<UIPanGestureRecognizer>([&](UIGestureRecognizer& g) { states.push_back(g.state()); }));
  down({150, 150});
  move({150, 180});
  window->sendTouch(UITouchPhase::Cancelled, {150, 180});
  EXPECT_EQ(states, (std::vector<S>{S::Began, S::Cancelled}));
}

TEST_F(GestureTest, LongPressNeedsTheMinimumDuration) {
  std::vector<S> states;
  auto press =
      std::make_shared<UILongPressGestureRecognizer>([&](UIGestureRecognizer& g) { states.push_back(g.state()); });
  press->setMinimumPressDuration(0.3);
  target->addGestureRecognizer(press);
  down({150, 150});
  forward(0.29);
  up({150, 150});  // released early
  forward(1);
  EXPECT_TRUE(states.empty());
  down({150, 150});
  forward(0.3);
  EXPECT_EQ(states, (std::vector<S>{S::Began}));
  move({152, 150});
  up({152, 150});
  EXPECT_EQ(states, (std::vector<S>{S::Began, S::Changed, S::Ended}));
}

TEST_F(GestureTest, OnlyOneRecogniserOfATouchWins) {
  int pans = 0, presses = 0;
  auto pan = std::make_shared<UIPanGestureRecognizer>([&](UIGestureRecognizer&) { ++pans; });
  auto press = std::make_shared<UILongPressGestureRecognizer>([&](UIGestureRecognizer&) { ++presses; });
  press->setMinimumPressDuration(0.3);
  press->setAllowableMovement(100);
  target->addGestureRecognizer(pan);
  target->addGestureRecognizer(press);
  down({150, 150});
  move({150, 180});  // the pan begins, the long press fails
  forward(0.5);
  up({150, 180});
  EXPECT_EQ(pans, 2);  // began, ended
  EXPECT_EQ(presses, 0);
  down({150, 150});
  forward(0.3);  // now the long press wins
  move({150, 190});
  up({150, 190});
  EXPECT_EQ(presses, 3);
  EXPECT_EQ(pans, 2);
}

class ButtonTest : public GestureTest {
 protected:
  void SetUp() override {
    GestureTest::SetUp();
    button = std::make_shared<UIButton>(CGRectMake(50, 50, 40, 40));
    target->addSubview(button);  // window (150..190, 150..190)
    button->addTarget(
        this, [&](UIControl&) { ++insideUps; }, UIControlEvents::TouchUpInside);
    button->addTarget(
        this, [&](UIControl&) { ++outsideUps; }, UIControlEvents::TouchUpOutside);
  }
  std::shared_ptr<UIButton> button;
  int insideUps = 0, outsideUps = 0;
};

TEST_F(ButtonTest, TouchUpInsideOnlyWhenReleasedInside) {
  down({170, 170});
  EXPECT_TRUE(button->isHighlighted());
  EXPECT_TRUE(button->isImageDimmed());
  up({175, 172});
  EXPECT_EQ(insideUps, 1);
  EXPECT_FALSE(button->isHighlighted());
  down({170, 170});
  move({300, 300});  // far beyond the tracking slop
  EXPECT_FALSE(button->isHighlighted());
  up({300, 300});
  EXPECT_EQ(insideUps, 1);
  EXPECT_EQ(outsideUps, 1);
  down({170, 170});
  up({230, 170});  // 40 points off the edge: still within the slop
  EXPECT_EQ(insideUps, 2);
}

TEST_F(ButtonTest, TapOnTheButtonIsNotTakenByTheSuperviewsTapRecogniser) {
  int backgroundTaps = 0;
  target->addGestureRecognizer(
      std::make_shared<UITapGestureRecognizer>([&](UIGestureRecognizer&) { ++backgroundTaps; }));
  tapAt({170, 170});
  EXPECT_EQ(insideUps, 1);
  EXPECT_EQ(backgroundTaps, 0);
  tapAt({120, 120});  // beside the button
  EXPECT_EQ(backgroundTaps, 1);
}

TEST_F(ButtonTest, PanOnTheSuperviewCancelsTheButtonsTouch) {
  int cancels = 0;
  button->addTarget(
      this, [&](UIControl&) { ++cancels; }, UIControlEvents::TouchCancel);
  target->addGestureRecognizer(std::make_shared<UIPanGestureRecognizer>());
  down({170, 170});
  move({170, 200});
  up({170, 200});
  EXPECT_EQ(cancels, 1);
  EXPECT_EQ(insideUps, 0);
}

TEST_F(ButtonTest, DraggingOutAndBackReportsExitAndEnter) {
  std::vector<std::string> events;
  button->addTarget(
      nullptr, [&](UIControl&) { events.push_back("exit"); }, UIControlEvents::TouchDragExit);
  button->addTarget(
      nullptr, [&](UIControl&) { events.push_back("enter"); }, UIControlEvents::TouchDragEnter);
  button->addTarget(
      nullptr, [&](UIControl&) { events.push_back("down"); }, UIControlEvents::TouchDown);
  down({170, 170});
  move({400, 170});
  move({175, 170});
  up({175, 170});
  EXPECT_EQ(events, (std::vector<std::string>{"down", "exit", "enter"}));
  EXPECT_EQ(insideUps, 1);
  button->removeTarget(this, UIControlEvents::TouchUpInside);
  tapAt({170, 170});
  EXPECT_EQ(insideUps, 1);
}

TEST_F(ButtonTest, DisabledButtonSendsNothing) {
  button->setEnabled(false);
  tapAt({170, 170});
  EXPECT_EQ(insideUps, 0);
}

TEST_F(GestureTest, ExclusiveTouchViewKeepsOtherFingersOut) {
  auto other = std::make_shared<UIView>(CGRectMake(0, 400, 100, 100));
  window->addSubview(other);
  int otherTaps = 0;
  other->addGestureRecognizer(std::make_shared<UITapGestureRecognizer>([&](UIGestureRecognizer&) { ++otherTaps; }));
  target->setExclusiveTouch(true);
  down({150, 150}, 0);
  EXPECT_FALSE(window->sendTouch(UITouchPhase::Began, {50, 450}, 1));
  up({150, 150}, 0);
  down({50, 450}, 1);
  up({50, 450}, 1);
  EXPECT_EQ(otherTaps, 1);
}

TEST_F(GestureTest, DisabledRecogniserIgnoresTouches) {
  int taps = 0;
  auto tap = std::make_shared<UITapGestureRecognizer>([&](UIGestureRecognizer&) { ++taps; });
  target->addGestureRecognizer(tap);
  tap->setEnabled(false);
  tapAt({150, 150});
  EXPECT_EQ(taps, 0);
}

}  // namespace
}  // namespace platform
