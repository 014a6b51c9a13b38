// Scroll views: dragging, flings whose resting offset the delegate replaces,
// bounces past either end, animated offsets and the delegate's callbacks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/ui/UIScrollView.h"
#include "platform/ui/UIWindow.h"

namespace platform {
namespace {

// Records the callbacks; can replace the resting offset.
class Recorder : public UIScrollViewDelegate {
 public:
  void scrollViewDidScroll(UIScrollView& sv) override {
    offsets.push_back(sv.contentOffset().x);
    if (events.empty() || events.back() != "scroll") events.push_back("scroll");
  }
  void scrollViewWillBeginDragging(UIScrollView&) override { events.push_back("willBegin"); }
  void scrollViewWillEndDragging(UIScrollView&, CGPoint v, CGPoint* target) override {
    events.push_back("willEnd");
    velocity = v;
    proposed = *target;
    if (replace) *target = replace(*target);
  }
  void scrollViewDidEndDragging(UIScrollView&, bool decelerate) override {
    events.push_back(decelerate ? "didEnd(decelerate)" : "didEnd");
  }
  void scrollViewDidEndDecelerating(UIScrollView&) override { events.push_back("didEndDecelerating"); }
  void scrollViewDidEndScrollingAnimation(UIScrollView&) override { events.push_back("didEndAnimation"); }

  std::vector<std::string> events;
  std::vector<double> offsets;
  CGPoint velocity, proposed;
  std::function<CGPoint(CGPoint)> replace;
};

class ScrollViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window->makeKeyAndVisible();
    scroll->setContentSize({450, 30});
    scroll->setContentOffset({150, 0});
    scroll->setDelegate(&recorder);
    window->addSubview(scroll);
    recorder.events.clear();
    recorder.offsets.clear();
  }
  void forward(double s) { env.fastForwardBy(seconds(s)); }
  // A horizontal drag from x0 to x1 in `steps` moves 10 ms apart, then lift.
  void drag(double x0, double x1, int steps, double pauseBeforeLift = 0) {
    window->sendTouch(UITouchPhase::Began, {x0, 15});
    for (int i = 1; i <= steps; ++i) {
      forward(0.01);
      window->sendTouch(UITouchPhase::Moved, {x0 + (x1 - x0) * i / steps, 15});
    }
    forward(pauseBeforeLift);
    window->sendTouch(UITouchPhase::Ended, {x1, 15});
  }
  size_t count(const std::string& e) { return std::count(recorder.events.begin(), recorder.events.end(), e); }

  ManualTaskEnvironment env;
  std::shared_ptr<UIWindow> window = std::make_shared<UIWindow>(CGRectMake(0, 0, 400, 100));
  std::shared_ptr<UIScrollView> scroll = std::make_shared<UIScrollView>(CGRectMake(0, 0, 300, 30));
  Recorder recorder;
};

TEST_F(ScrollViewTest, ContentFollowsTheFingerOnceTheDragBegins) {
  window->sendTouch(UITouchPhase::Began, {200, 15});
  forward(0.01);
  window->sendTouch(UITouchPhase::Moved, {215, 15});  // begins; the hysteresis is not applied
  EXPECT_EQ(scroll->contentOffset().x, 150);
  EXPECT_TRUE(scroll->isDragging());
  forward(0.01);
  window->sendTouch(UITouchPhase::Moved, {245, 15});
  EXPECT_EQ(scroll->contentOffset().x, 120);
  forward(0.2);  // the finger rests: no speed left when it lifts
  window->sendTouch(UITouchPhase::Ended, {245, 15});
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"willBegin", "scroll", "willEnd", "didEnd"}));
  EXPECT_EQ(recorder.proposed, CGPointMake(120, 0));
  EXPECT_FALSE(scroll->isDragging());
}

TEST_F(ScrollViewTest, FlingEndsExactlyOnTheOffsetTheDelegateChose) {
  recorder.replace = [](CGPoint p) { return CGPoint{std::clamp(std::round(p.x / 150) * 150, 0.0, 150.0), p.y}; };
  drag(200, 230, 3);                                        // 1000 points per second to the right: the offset falls
  EXPECT_NEAR(recorder.velocity.x, -1.0, 1e-9);             // points per millisecond
  double natural = 130 - 1000 / (-std::log(0.998) * 1000);  // released at 130
  EXPECT_NEAR(recorder.proposed.x, natural, 1e-6);
  EXPECT_TRUE(scroll->isDecelerating());
  forward(5);
  EXPECT_EQ(scroll->contentOffset().x, 0);
  EXPECT_FALSE(scroll->isDecelerating());
  EXPECT_EQ(recorder.events.front(), "willBegin");
  EXPECT_EQ(count("didEndDecelerating"), 1u);
  auto we = std::find(recorder.events.begin(), recorder.events.end(), "willEnd");
  ASSERT_NE(we, recorder.events.end());
  EXPECT_EQ(*(we + 1), "didEnd(decelerate)");
  EXPECT_EQ(recorder.events.back(), "didEndDecelerating");
  // The offsets move steadily to the rest without passing it.
  for (double x : recorder.offsets) EXPECT_GE(x, 0);
}

TEST_F(ScrollViewTest, ReplacedTargetAgainstTheFlingIsStillReachedExactly) {
  recorder.replace = [](CGPoint) { return CGPoint{150, 0}; };
  drag(200, 260, 3);
  forward(6);
  EXPECT_EQ(scroll->contentOffset().x, 150);
  EXPECT_EQ(recorder.events.back(), "didEndDecelerating");
}

TEST_F(ScrollViewTest, FlingPastTheEndBouncesBackToIt) {
  scroll->setContentOffset({100, 0});
  recorder.offsets.clear();
  drag(200, 100, 5);  // 2000 points per second to the left: toward the far end (150)
  forward(5);
  double most = *std::max_element(recorder.offsets.begin(), recorder.offsets.end());
  EXPECT_GT(most, 150.5);
  EXPECT_EQ(scroll->contentOffset().x, 150);
  EXPECT_EQ(recorder.events.back(), "didEndDecelerating");
  // And at the near end.
  scroll->setContentOffset({50, 0});
  recorder.offsets.clear();
  drag(100, 200, 5);
  forward(5);
  double least = *std::min_element(recorder.offsets.begin(), recorder.offsets.end());
  EXPECT_LT(least, -0.5);
  EXPECT_EQ(scroll->contentOffset().x, 0);
}

TEST_F(ScrollViewTest, DraggedPastAnEndItRubberBandsAndSpringsBack) {
  scroll->setContentOffset({0, 0});
  drag(100, 200, 10, 0.2);  // 90 points past the start once the drag began, then rest
  double shown = scroll->contentOffset().x;
  EXPECT_LT(shown, 0);
  EXPECT_GT(shown, -90);  // less than the finger moved
  EXPECT_NEAR(shown, -(1 - 1 / (90 * 0.55 / 300 + 1)) * 300, 1e-9);
  EXPECT_EQ(recorder.proposed, CGPointMake(0, 0));
  EXPECT_TRUE(scroll->isDecelerating());
  forward(3);
  EXPECT_EQ(scroll->contentOffset().x, 0);
  EXPECT_EQ(count("didEndDecelerating"), 1u);
}

TEST_F(ScrollViewTest, WithoutBounceTheOffsetStaysInRange) {
  scroll->setBounces(false);
  scroll->setContentOffset({0, 0});
  drag(100, 200, 10, 0.2);
  EXPECT_EQ(scroll->contentOffset().x, 0);
  forward(2);
  EXPECT_EQ(scroll->contentOffset().x, 0);
}

TEST_F(ScrollViewTest, AnimatedOffsetGlidesAndReportsItsEnd) {
  scroll->setContentOffset({0, 0}, true);
  EXPECT_EQ(scroll->contentOffset().x, 150);
  forward(0.15);
  EXPECT_NEAR(scroll->contentOffset().x, 75, 1e-3);  // ease-in-out half way (stepped by frames)
  forward(0.15);
  EXPECT_EQ(scroll->contentOffset().x, 0);
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"scroll", "didEndAnimation"}));
  EXPECT_GT(recorder.offsets.size(), 10u);  // one report per frame
  recorder.events.clear();
  scroll->setContentOffset({0, 0}, true);  // already there: nothing happens
  forward(1);
  EXPECT_TRUE(recorder.events.empty());
  scroll->setContentOffset({30, 0}, false);
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"scroll"}));
}

TEST_F(ScrollViewTest, ANewDragStopsTheDeceleration) {
  recorder.replace = [](CGPoint) { return CGPoint{75, 0}; };
  drag(200, 230, 3);
  forward(0.1);
  window->sendTouch(UITouchPhase::Began, {100, 15});
  forward(0.01);
  window->sendTouch(UITouchPhase::Moved, {110, 15});  // the new drag begins here
  double now = scroll->contentOffset().x;
  EXPECT_FALSE(scroll->isDecelerating());
  forward(1);
  EXPECT_EQ(scroll->contentOffset().x, now);
  window->sendTouch(UITouchPhase::Moved, {120, 15});
  EXPECT_EQ(scroll->contentOffset().x, now - 10);
}

TEST_F(ScrollViewTest, InsetsAllowOffsetsBeforeTheContent) {
  scroll->setContentInset(UIEdgeInsetsMake(0, 64, 0, 0));
  EXPECT_EQ(scroll->minimumContentOffset(), CGPointMake(-64, 0));
  EXPECT_EQ(scroll->maximumContentOffset(), CGPointMake(150, 0));
  scroll->setContentOffset({-64, 0});
  drag(100, 150, 5, 0.2);  // 40 points further once the drag began: past the start
  EXPECT_LT(scroll->contentOffset().x, -64);
  forward(3);
  EXPECT_EQ(scroll->contentOffset().x, -64);
}

}  // namespace
}  // namespace platform
