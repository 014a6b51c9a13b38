// The volume and brightness sliders: placing and reading values, the drag,
// what is saved when, emptying by long press, double tap or the cross, and
// the bottom texts.
#include <gtest/gtest.h>

#include "tests/tweak/panel/PanelTestEnvironment.h"
#include "tweak/catalogue/Tessra2Slider.h"
#include "tweak/panel/Tessra2SliderView.h"

namespace {

using platform::CGPoint;
using platform::CGRectMake;

// The panel's sliders on a 375-point ring: 37.5 x 117.1875 points.
constexpr double kWidth = 187.5 / 5;
constexpr double kHeight = 187.5 / 1.6;

class SliderViewTest : public ::testing::Test {
 protected:
  // The reset gestures unless a test asks for crosses.
  SliderViewTest() { env.settings().useCrossInsteadOfLongPressGestureForSliders = false; }

  std::shared_ptr<Tessra2SliderView> makeSlider(int type = Tessra2Slider::SliderTypeVolume) {
    auto slider =
        Tessra2SliderView::create(CGRectMake(100, 200, kWidth, kHeight), type == 0 ? "volumeIcon" : "brightnessIcon");
    slider->setSlider(std::make_shared<Tessra2Slider>(type));
    env.window->addSubview(slider);
    return slider;
  }
  // A window point on the slider at a fraction of its height from its top.
  static CGPoint at(const Tessra2SliderView& s, double fractionFromTop) {
    return {s.frame().origin.x + kWidth / 2, s.frame().origin.y + kHeight * fractionFromTop};
  }
  double fillHeight(const Tessra2SliderView& s) { return s.fillView()->frame().size.height; }

  PanelTestEnvironment env;
};

TEST_F(SliderViewTest, AFreshSliderIsEmpty) {
  auto s = makeSlider();
  EXPECT_EQ(s->percentText(), "-%");
  EXPECT_EQ(fillHeight(*s), 0);
  EXPECT_EQ(s->getPercentValue(), 0);
  EXPECT_EQ(s->layer().cornerRadius(), kWidth / 2);
  EXPECT_EQ(s->backgroundColor(), platform::UIColor::blackColor().colorWithAlphaComponent(0.2));
}

TEST_F(SliderViewTest, PlacingAValueFillsFromTheBottomWithinTheCapsule) {
  auto s = makeSlider();
  s->setPercentValue(40);
  EXPECT_EQ(s->percentText(), "40%");
  EXPECT_DOUBLE_EQ(fillHeight(*s), kHeight * 0.4);
  EXPECT_DOUBLE_EQ(s->fillView()->frame().origin.y, kHeight * 0.6);
  s->setPercentValue(250);
  EXPECT_EQ(s->percentText(), "100%");
  EXPECT_DOUBLE_EQ(fillHeight(*s), kHeight);
  s->setPercentValue(-30);
  EXPECT_EQ(s->percentText(), "0%");
  EXPECT_EQ(fillHeight(*s), 0);
}

TEST_F(SliderViewTest, ReadingRoundsHalvesAwayFromZero) {
  auto s = makeSlider();
  s->setPercentValue(57.5);
  EXPECT_EQ(s->getPercentValue(), 58);
  s->setPercentValue(57.4);
  EXPECT_EQ(s->getPercentValue(), 57);
}

TEST_F(SliderViewTest, ADragMovesTheFillRelativelyAndSavesOnlyWhenItEnds) {
  auto s = makeSlider();
  s->setPercentValue(20);
  // Up by a quarter of the height, starting anywhere on the slider.
  env.window->sendTouch(platform::UITouchPhase::Began, at(*s, 0.9));
  env.forward(0.01);
  env.window->sendTouch(platform::UITouchPhase::Moved, at(*s, 0.9 - 0.125));
  env.forward(0.01);
  env.window->sendTouch(platform::UITouchPhase::Moved, at(*s, 0.9 - 0.25));
  EXPECT_EQ(s->percentText(), "45%");
  EXPECT_TRUE(env.stored("volume").isNull());
  EXPECT_EQ(env.store.reloadPosts, 0);
  env.window->sendTouch(platform::UITouchPhase::Ended, at(*s, 0.9 - 0.25));
  EXPECT_EQ(env.stored("volume"), platform::plist::Value(0.45));
  EXPECT_EQ(s->slider()->percentValue(), 45);
  EXPECT_EQ(env.store.reloadPosts, 1);
  EXPECT_EQ(env.device().state().haptics().impacts().size(), 1u);
  EXPECT_EQ(env.postedTexts, std::vector<std::string>{"Set Volume to 45% when opening Maps"});
}

TEST_F(SliderViewTest, DraggingPastTheEndsSavesTheLimits) {
  auto s = makeSlider();
  env.drag(at(*s, 0.8), {at(*s, 0).x, at(*s, 0).y - 400});
  EXPECT_EQ(s->percentText(), "100%");
  EXPECT_EQ(env.stored("volume"), platform::plist::Value(1.0));
  env.drag(at(*s, 0.2), {at(*s, 0).x, at(*s, 0).y + 600});
  EXPECT_EQ(s->percentText(), "0%");
  EXPECT_EQ(env.stored("volume"), platform::plist::Value(0.0));
}

TEST_F(SliderViewTest, AReleaseSnapsTheFillToTheWholePercentage) {
  auto s = makeSlider(Tessra2Slider::SliderTypeBrightness);
  env.drag(at(*s, 0.95), at(*s, 0.95 - 0.703));
  EXPECT_EQ(s->percentText(), "70%");
  EXPECT_DOUBLE_EQ(fillHeight(*s), kHeight * 0.7);
  EXPECT_EQ(env.stored("brightness"), platform::plist::Value(0.7));
  EXPECT_EQ(env.postedTexts, std::vector<std::string>{"Set Brightness to 70% when opening Maps"});
}

TEST_F(SliderViewTest, ALongPressEmptiesASliderWithAValueAndRemovesIt) {
  auto s = makeSlider();
  env.drag(at(*s, 0.9), at(*s, 0.5));
  ASSERT_FALSE(env.stored("volume").isNull());
  env.postedTexts.clear();
  env.window->sendTouch(platform::UITouchPhase::Began, at(*s, 0.5));
  env.forward(0.31);
  EXPECT_EQ(s->percentText(), "-%");
  EXPECT_TRUE(env.stored("volume").isNull());
  EXPECT_EQ(env.postedTexts, std::vector<std::string>{""});
  env.window->sendTouch(platform::UITouchPhase::Ended, at(*s, 0.5));
  env.forward(0.4);
  EXPECT_EQ(fillHeight(*s), 0);
}

TEST_F(SliderViewTest, ADoubleTapEmptiesTooButNeitherGestureActsOnAnEmptySlider) {
  auto s = makeSlider();
  s->setPercentValue(30);
  env.tap(at(*s, 0.5));
  env.forward(0.1);
  env.tap(at(*s, 0.5));
  EXPECT_EQ(s->percentText(), "-%");
  const size_t impacts = env.device().state().haptics().impacts().size();
  env.forward(1);
  env.tap(at(*s, 0.5));
  env.forward(0.1);
  env.tap(at(*s, 0.5));
  env.window->sendTouch(platform::UITouchPhase::Began, at(*s, 0.5));
  env.forward(0.5);
  env.window->sendTouch(platform::UITouchPhase::Ended, at(*s, 0.5));
  EXPECT_EQ(env.device().state().haptics().impacts().size(), impacts);
}

TEST_F(SliderViewTest, WithCrossesNoResetGestureIsInstalled) {
  env.settings().useCrossInsteadOfLongPressGestureForSliders = true;
  auto s = makeSlider();
  EXPECT_EQ(s->gestureRecognizers().size(), 1u);
  auto cross = platform::UIButton::buttonWithType(platform::UIButtonType::System);
  cross->setHidden(true);
  s->setRemoveButton(cross);
  s->setPercentValue(10);
  EXPECT_FALSE(cross->isHidden());
  s->setNoPercent();
  EXPECT_TRUE(cross->isHidden());
  EXPECT_EQ(s->percentText(), "-%");
}

TEST_F(SliderViewTest, EmptyingShrinksTheFillOverFourTenthsOfASecond) {
  auto s = makeSlider();
  s->setPercentValue(50);
  s->setNoPercent();
  EXPECT_EQ(fillHeight(*s), 0);  // the model at once
  env.forward(0.2);
  EXPECT_GT(s->fillView()->layer().presentation().bounds.size.height, 0);
  env.forward(0.21);
  EXPECT_EQ(s->fillView()->layer().presentation().bounds.size.height, 0);
}

}  // namespace
