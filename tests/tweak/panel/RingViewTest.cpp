// The ring of toggle buttons: layout on the circle, the fly-out, hiding and
// showing, and what a tap on a button looks like, saves and posts.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/tweak/panel/PanelTestEnvironment.h"
#include "tweak/catalogue/Tessra2Action.h"
#include "tweak/catalogue/Tessra2Toggle.h"
#include "tweak/panel/Tessra2RingView.h"
#include "tweak/panel/Tessra2ToggleButton.h"

namespace {

using platform::CGPoint;
using platform::CGRectMake;
using platform::UIColor;

class RingViewTest : public ::testing::Test {
 protected:
  // `n` shown switches of types 0, 1, ... (with `hidden` extra hidden ones before them).
  static std::vector<std::shared_ptr<Tessra2Toggle>> switches(int n, int hidden = 0) {
    std::vector<std::shared_ptr<Tessra2Toggle>> list;
    for (int i = 0; i < hidden; ++i) list.push_back(std::make_shared<Tessra2Toggle>(i, -1, false));
    for (int i = 0; i < n; ++i) list.push_back(std::make_shared<Tessra2Toggle>(hidden + i, -1, true));
    return list;
  }
  std::shared_ptr<Tessra2RingView> ring(int n, double side = 375, int hidden = 0) {
    auto r = Tessra2RingView::create(switches(n, hidden), CGRectMake(0, 0, side, side));
    env.window->addSubview(r);
    return r;
  }
  static CGPoint presentedCenter(const platform::UIView& v) { return v.layer().presentation().position; }

  PanelTestEnvironment env;
};

// --- Layout ---

TEST_F(RingViewTest, OneButtonSitsStraightAboveTheMiddleAtFullSize) {
  auto r = ring(1, 375, 3);
  ASSERT_EQ(r->nbButtons(), 1);
  auto& button = *r->buttonsArray()[0];
  EXPECT_EQ(button.bounds().size.width, 50);
  EXPECT_EQ(button.layer().cornerRadius(), 25);
  EXPECT_EQ(button.toggle()->toggleType(), 3);  // hidden toggles get no button
  EXPECT_NEAR(button.centerSave().x, 187.5, 1e-4);
  EXPECT_NEAR(button.centerSave().y, 187.5 - ((375 - 50) / 2.0 - 20), 1e-4);
}

TEST_F(RingViewTest, FourButtonsSitAtTwelveThreeSixAndNineOClock) {
  auto r = ring(4);
  const double radius = (375 - 50) / 2.0 - 20;
  const CGPoint expected[] = {
      {187.5, 187.5 - radius}, {187.5 + radius, 187.5}, {187.5, 187.5 + radius}, {187.5 - radius, 187.5}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(r->buttonsArray()[i]->centerSave().x, expected[i].x, 1e-4) << i;
    EXPECT_NEAR(r->buttonsArray()[i]->centerSave().y, expected[i].y, 1e-4) << i;
  }
}

TEST_F(RingViewTest, ButtonSizeInsetAndRadiusFollowTheNumberOfButtons) {
  for (int n : {2, 3}) EXPECT_EQ(ring(n)->buttonsArray()[0]->bounds().size.width, 50) << n;
  auto all = ring(18);
  auto& small = *all->buttonsArray()[0];
  EXPECT_NEAR(small.bounds().size.width, 295.0 / 9, 1e-9);
  EXPECT_NEAR(small.imageEdgeInsets().top, 295.0 / 9 / 3.8, 1e-9);
  EXPECT_NEAR(187.5 - small.centerSave().y, (375 - 295.0 / 9) / 2 - 20, 1e-4);
  auto behaviours = ring(11);
  EXPECT_EQ(behaviours->buttonsArray()[0]->bounds().size.width, 50);
  EXPECT_EQ(behaviours->buttonsArray()[0]->imageEdgeInsets().left, 13);
  EXPECT_NEAR(187.5 - behaviours->buttonsArray()[0]->centerSave().y, 142.5, 1e-4);
}

TEST_F(RingViewTest, AnEmptyRingHasNoButtonsAndHidesAtOnce) {
  auto r = ring(0, 375, 4);
  EXPECT_EQ(r->nbButtons(), 0);
  EXPECT_TRUE(r->buttonsArray().empty());
  r->hideAnimated(true);
  EXPECT_TRUE(r->isHidden());
  r->showAnimated(true);
  EXPECT_FALSE(r->isHidden());
}

// --- Animations ---

TEST_F(RingViewTest, ButtonsBurstOutOfTheMiddleInAThirdOfASecond) {
  auto r = ring(4);
  auto& top = *r->buttonsArray()[0];
  EXPECT_EQ(presentedCenter(top), (CGPoint{187.5, 187.5}));
  EXPECT_EQ(top.layer().presentation().opacity, 0);
  env.forward(0.15);
  EXPECT_LT(presentedCenter(top).y, 187.5);
  EXPECT_GT(presentedCenter(top).y, top.centerSave().y);
  env.forward(0.15);
  EXPECT_NEAR(presentedCenter(top).y, top.centerSave().y, 1e-9);
  EXPECT_EQ(top.layer().presentation().opacity, 1);
}

TEST_F(RingViewTest, HidingFadesInHalfTheFlightAndHidesTheRingWhenTheFlightEnds) {
  auto r = ring(4);
  env.forward(1);
  r->hideAnimated(true);
  auto& button = *r->buttonsArray()[1];
  env.forward(0.15);
  EXPECT_EQ(button.layer().presentation().opacity, 0);
  EXPECT_GT(presentedCenter(button).x, 187.5);
  EXPECT_FALSE(r->isHidden());
  env.forward(0.16);
  EXPECT_EQ(presentedCenter(button), (CGPoint{187.5, 187.5}));
  EXPECT_TRUE(r->isHidden());
}

TEST_F(RingViewTest, ShowingFliesOutAndFadesInDuringTheSecondHalf) {
  auto r = ring(4);
  env.forward(1);
  r->hideAnimated(false);
  env.forward(0.01);
  EXPECT_TRUE(r->isHidden());
  r->showAnimated(true);
  EXPECT_FALSE(r->isHidden());
  auto& button = *r->buttonsArray()[2];
  env.forward(0.14);
  EXPECT_EQ(button.layer().presentation().opacity, 0);
  env.forward(0.16);
  EXPECT_EQ(button.layer().presentation().opacity, 1);
  EXPECT_NEAR(presentedCenter(button).y, button.centerSave().y, 1e-9);
}

TEST_F(RingViewTest, UnanimatedHideAndShowTakeEffectWithoutAnimation) {
  auto r = ring(4);
  env.forward(1);
  r->hideAnimated(false);
  auto& button = *r->buttonsArray()[0];
  EXPECT_EQ(presentedCenter(button), (CGPoint{187.5, 187.5}));
  EXPECT_EQ(button.layer().presentation().opacity, 0);
  env.forward(0);
  env.tasks.runUntilIdle();
  EXPECT_TRUE(r->isHidden());
  r->showAnimated(false);
  EXPECT_EQ(presentedCenter(button), button.centerSave());
  EXPECT_EQ(button.layer().presentation().opacity, 1);
}

TEST_F(RingViewTest, ALateHideCompletionLeavesARingShownSinceVisible) {
  auto r = ring(4);
  env.forward(1);
  r->hideAnimated(false);
  r->showAnimated(false);
  env.forward(0.5);
  EXPECT_FALSE(r->isHidden());
}

// --- Buttons ---

TEST_F(RingViewTest, TapsCycleASwitchThroughOnOffAndNotCustomized) {
  auto r = ring(1, 375, 3);  // the Wi-Fi switch (type 3)
  env.forward(1);
  auto& button = *r->buttonsArray()[0];
  const CGPoint at = button.center();
  EXPECT_EQ(button.badgeLabel(), nullptr);
  EXPECT_EQ(button.backgroundColor(), UIColor::blackColor().colorWithAlphaComponent(0.2));
  EXPECT_EQ(button.tintColor(), UIColor::whiteColor());

  env.tap(at);
  ASSERT_NE(button.badgeLabel(), nullptr);
  EXPECT_EQ(button.badgeLabel()->text(), "On");
  EXPECT_EQ(button.badgeLabel()->frame(), CGRectMake(0, 52, 50, 12));
  EXPECT_EQ(button.backgroundColor(), UIColor::whiteColor());
  EXPECT_EQ(button.tintColor(), UIColor::blackColor());
  EXPECT_EQ(env.stored("wifi"), platform::plist::Value(1));

  env.tap(at);
  EXPECT_EQ(button.badgeLabel()->text(), "Off");
  EXPECT_EQ(button.backgroundColor(), UIColor::colorWithWhite(1, 0.65));
  EXPECT_EQ(env.stored("wifi"), platform::plist::Value(0));

  env.tap(at);
  EXPECT_EQ(button.badgeLabel(), nullptr);
  EXPECT_EQ(button.tintColor(), UIColor::whiteColor());
  EXPECT_TRUE(env.stored("wifi").isNull());
  EXPECT_EQ(env.store.reloadPosts, 3);
  EXPECT_EQ(env.device().state().haptics().impacts().size(), 3u);
  EXPECT_EQ(env.postedTexts,
            (std::vector<std::string>{"Enable Wi-Fi when opening Maps", "Disable Wi-Fi when opening Maps", ""}));
}

TEST_F(RingViewTest, ABehaviourAlternatesBetweenActiveAndNotSet) {
  auto actions = Tessra2Action::getAllActions();
  std::vector<std::shared_ptr<Tessra2Toggle>> list(actions.begin(), actions.begin() + 1);
  auto r = Tessra2RingView::create(list, CGRectMake(0, 0, 375, 375));
  env.window->addSubview(r);
  env.forward(1);
  auto& button = *r->buttonsArray()[0];
  env.tap(button.center());
  EXPECT_EQ(button.badgeLabel()->text(), "On");
  EXPECT_EQ(env.stored(button.toggle()->toggleName()), platform::plist::Value(1));
  env.tap(button.center());
  EXPECT_EQ(button.badgeLabel(), nullptr);
  EXPECT_TRUE(env.stored(button.toggle()->toggleName()).isNull());
}

TEST_F(RingViewTest, ATapUpToFivePointsOutsideTheButtonCounts) {
  auto r = ring(1, 375, 3);
  env.forward(1);
  auto& button = *r->buttonsArray()[0];
  const platform::CGRect f = button.frame();
  env.tap({f.origin.x - 4.5, f.origin.y + 25});
  EXPECT_EQ(button.toggle()->state(), 1);
  env.tap({f.origin.x - 6, f.origin.y + 25});
  EXPECT_EQ(button.toggle()->state(), 1);
}

TEST_F(RingViewTest, TapsAreIgnoredWhileTheButtonsFly) {
  auto r = ring(1, 375, 3);
  env.forward(0.2);
  env.tap(r->buttonsArray()[0]->centerSave());
  EXPECT_EQ(r->buttonsArray()[0]->toggle()->state(), -1);
}

TEST_F(RingViewTest, WithoutBottomTextsATapStillSavesButPostsNothing) {
  env.settings().showInformationTextOnBottom = false;
  auto r = ring(1, 375, 3);
  env.forward(1);
  env.tap(r->buttonsArray()[0]->center());
  EXPECT_EQ(env.stored("wifi"), platform::plist::Value(1));
  EXPECT_TRUE(env.postedTexts.empty());
}

TEST_F(RingViewTest, TheDarkStyleMakesNotCustomizedButtonsDarker) {
  env.settings().interfaceColorStyle = 0;
  auto r = ring(1);
  EXPECT_EQ(r->buttonsArray()[0]->backgroundColor(), UIColor::blackColor().colorWithAlphaComponent(0.5));
}

TEST_F(RingViewTest, APressPopsTheButtonBackToFullSizeWithASpring) {
  auto r = ring(1, 375, 3);
  env.forward(1);
  auto& button = *r->buttonsArray()[0];
  button.setCurrentState(1);
  EXPECT_EQ(button.layer().presentation().transform.a, 0.9);
  env.forward(0.2);
  EXPECT_EQ(button.layer().presentation().transform.a, 1);
}

}  // namespace
