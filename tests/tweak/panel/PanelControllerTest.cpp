// The panel controller: the view tree on a phone and a tablet, the ring
// switch and its timings, the segmented control's answers, the bottom texts,
// which taps dismiss, the status bar and dock, and snapshots for the eyes.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/runtime/Runtime.h"
#include "platform/ui/render/ViewRenderer.h"
#include "tests/tweak/panel/PanelTestEnvironment.h"
#include "tweak/panel/Tessra2RingView.h"
#include "tweak/panel/Tessra2SliderView.h"
#include "tweak/panel/Tessra2ToggleButton.h"
#include "tweak/panel/Tessra2ViewController.h"

namespace {

using platform::CGPoint;
using platform::CGRect;
using platform::CGRectMake;
using platform::UIColor;

// Records the status bar's and dock's hide requests.
std::vector<std::string> g_barCalls;

platform::Ref<platform::Object> makeBar(const char* className, const char* selector) {
  platform::Class* cls = platform::Runtime::lookUpClass(className);
  if (!cls) {
    cls = platform::Runtime::allocateClass(className, platform::Runtime::rootClass());
    platform::class_addMethod(
        cls, platform::sel_registerName(selector), +[](platform::id, platform::SEL sel, bool hide) {
          g_barCalls.push_back(std::string(platform::sel_getName(sel)) + (hide ? " YES" : " NO"));
        });
    platform::Runtime::registerClass(cls);
  }
  return platform::class_createInstance(cls);
}

class PanelControllerTest : public ::testing::Test {
 protected:
  explicit PanelControllerTest(platform::CGSize screen = {375, 812}) : env(screen) { g_barCalls.clear(); }

  // Presents a panel for Maps over the test window, as the plug-in does, and lets it settle.
  void open(bool settle = true) {
    panel = std::make_shared<Tessra2ViewController>();
    panel->setupWithBundleId("com.test.maps", "Maps", platform::plist::Dictionary{});
    panel->view()->setFrame(env.presenter->view()->frame());
    panel->setModalPresentationStyle(platform::UIModalPresentationStyle::OverFullScreen);
    panel->setModalTransitionStyle(platform::UIModalTransitionStyle::CrossDissolve);
    panel->setSpringboardStatusBar(makeBar("TestStatusBar", "tessra_hideStatusBar:"));
    panel->setSpringboardIpadDock(makeBar("TestFloatingDock", "tessra_hideIpadDock:"));
    panel->setOnDismiss([this] {
      ++dismissCalls;
      dismissingWhenCalled = panel->isBeingDismissed();
      panel.reset();
    });
    env.presenter->showViewController(panel, env.presenter.get());
    panel->view()->layoutIfNeeded();
    if (settle) env.forward(1);
  }
  CGPoint centreOf(const platform::UIView& v) {
    CGRect r = v.convertRect(v.bounds(), nullptr);
    return {r.origin.x + r.size.width / 2, r.origin.y + r.size.height / 2};
  }
  CGRect windowFrame(const platform::UIView& v) { return v.convertRect(v.bounds(), nullptr); }
  bool presented() { return env.presenter->presentedViewController() != nullptr; }

  PanelTestEnvironment env;
  std::shared_ptr<Tessra2ViewController> panel;
  int dismissCalls = 0;
  bool dismissingWhenCalled = false;
};

class TabletPanelControllerTest : public PanelControllerTest {
 protected:
  TabletPanelControllerTest() : PanelControllerTest({1024, 1366}) {}
};

// --- The view tree ---

TEST_F(PanelControllerTest, OpensWithTheTogglesShownAndAnEmptyBottomLabel) {
  open();
  EXPECT_EQ(panel->currentVisibleRingView(), panel->togglesRingView());
  EXPECT_FALSE(panel->togglesRingView()->isHidden());
  EXPECT_TRUE(panel->actionsRingView()->isHidden());
  EXPECT_EQ(panel->bottomLabel()->text(), "");
  EXPECT_EQ(panel->appNameLabel()->text(), "Maps");
  EXPECT_EQ(panel->togglesRingView()->nbButtons(), 18);
  EXPECT_EQ(panel->actionsRingView()->nbButtons(), 11);
  EXPECT_EQ(panel->blurEffectView()->effect()->style(), platform::UIBlurEffectStyle::Light);
  EXPECT_EQ(g_barCalls, (std::vector<std::string>{"tessra_hideStatusBar: YES", "tessra_hideIpadDock: YES"}));
}

TEST_F(PanelControllerTest, OnAPhoneTheRingsFillTheWidth) {
  open();
  EXPECT_EQ(panel->togglesRingView()->frame(), CGRectMake(0, (812 - 375) / 2.0, 375, 375));
  EXPECT_EQ(panel->actionsRingView()->frame(), panel->togglesRingView()->frame());
  EXPECT_EQ(panel->sliderDiscView()->frame(), CGRectMake(187.5 / 2, 406 - 187.5 / 2, 187.5, 187.5));
  EXPECT_EQ(panel->volumeSliderView()->bounds().size, (platform::CGSize{37.5, 187.5 / 1.6}));
  EXPECT_EQ(panel->volumeSliderView()->center(), (CGPoint{187.5 / 2 - 30, 187.5 / 2}));
  EXPECT_EQ(panel->brightnessSliderView()->center(), (CGPoint{187.5 / 2 + 30, 187.5 / 2}));
}

TEST_F(TabletPanelControllerTest, OnATabletTheRingsStopAtFourHundredPoints) {
  open();
  EXPECT_EQ(panel->togglesRingView()->frame(), CGRectMake(312, 483, 400, 400));
  EXPECT_EQ(panel->sliderDiscView()->bounds().size, (platform::CGSize{200, 200}));
  EXPECT_EQ(panel->volumeSliderView()->bounds().size, (platform::CGSize{40, 125}));
}

TEST_F(PanelControllerTest, LabelsAndTheSegmentedControlAreLaidOutAroundTheRing) {
  open();
  const CGRect ring = panel->togglesRingView()->frame();
  const CGRect name = panel->appNameLabel()->frame();
  EXPECT_EQ(name.origin.x, 80);
  EXPECT_EQ(name.size.width, 375 - 160);
  EXPECT_NEAR(name.origin.y, 1.5 * (ring.origin.y - (name.origin.y + name.size.height)), 1e-6);
  const CGRect holder = panel->segmentedControlHolder()->frame();
  EXPECT_EQ(holder, CGRectMake(87.5, 812 - 25 - 60, 200, 60));
  const CGRect control = windowFrame(*panel->segmentedControl());
  EXPECT_EQ(control, CGRectMake(102.5, 812 - 25 - 45, 170, 30));
  const CGRect bottom = panel->bottomLabel()->frame();
  const double above = bottom.origin.y - (ring.origin.y + ring.size.height);
  const double below = control.origin.y - (bottom.origin.y + bottom.size.height);
  EXPECT_NEAR(above, 0.5 * below, 1e-6);
  EXPECT_GT(above, 0);
}

TEST_F(PanelControllerTest, SlidersShowTheStoredValues) {
  env.settings().setVolumeForCurrentBundleId(40);
  open();
  EXPECT_EQ(panel->volumeSliderView()->percentText(), "40%");
  EXPECT_EQ(panel->brightnessSliderView()->percentText(), "-%");
}

TEST_F(PanelControllerTest, TheDarkStyleDarkensTheBackdropAndTheDisc) {
  env.settings().interfaceColorStyle = 0;
  open();
  EXPECT_EQ(panel->blurEffectView()->effect()->style(), platform::UIBlurEffectStyle::Dark);
  EXPECT_EQ(panel->sliderDiscView()->backgroundColor(), UIColor::blackColor().colorWithAlphaComponent(0.25));
}

TEST_F(PanelControllerTest, SetupMakesTheAppTheStoresCurrentOne) {
  auto p = std::make_shared<Tessra2ViewController>();
  p->setupWithBundleId("com.test.other", "Other", platform::plist::Dictionary{});
  EXPECT_EQ(env.settings().currentBundleId(), "com.test.other");
  EXPECT_EQ(env.settings().currentAppName(), "Other");
}

// --- Ring switch ---

TEST_F(PanelControllerTest, ATapOnBehaviorsSwitchesRingsATenthOfASecondLater) {
  open();
  const size_t impacts = env.device().state().haptics().impacts().size();
  panel->didTapAtIndex(*panel->segmentedControl(), 1);
  EXPECT_TRUE(panel->isAnimatingRingView());
  EXPECT_EQ(panel->bottomLabel()->text(), "Behaviors when Maps is opening or running");
  EXPECT_EQ(env.device().state().haptics().impacts().size(), impacts + 1);
  env.forward(0.09);
  EXPECT_EQ(panel->currentVisibleRingView(), panel->togglesRingView());
  env.forward(0.02);
  EXPECT_FALSE(panel->isAnimatingRingView());
  EXPECT_EQ(panel->currentVisibleRingView(), panel->actionsRingView());
  EXPECT_FALSE(panel->actionsRingView()->isHidden());
  env.forward(0.2);
  EXPECT_TRUE(panel->togglesRingView()->isHidden());
}

TEST_F(PanelControllerTest, TapsOnTheShownRingOrTooSoonAfterASwitchDoNothing) {
  open();
  panel->didTapAtIndex(*panel->segmentedControl(), 0);  // toggles already shown
  EXPECT_FALSE(panel->isAnimatingRingView());
  panel->didTapAtIndex(*panel->segmentedControl(), 7);
  EXPECT_FALSE(panel->isAnimatingRingView());
  panel->didTapAtIndex(*panel->segmentedControl(), 1);
  env.forward(1);
  panel->didTapAtIndex(*panel->segmentedControl(), 0);
  env.forward(0.2);  // the behaviours ring is still flying in
  panel->didTapAtIndex(*panel->segmentedControl(), 1);
  env.forward(0.1);
  EXPECT_EQ(panel->currentVisibleRingView(), panel->togglesRingView());
  env.forward(1);
  EXPECT_TRUE(panel->actionsRingView()->isHidden());
  EXPECT_EQ(panel->titleForStateAtIndex(*panel->segmentedControl(), 0), "Toggles");
  EXPECT_EQ(panel->titleForStateAtIndex(*panel->segmentedControl(), 1), "Behaviors");
  EXPECT_EQ(panel->titleForStateAtIndex(*panel->segmentedControl(), 2), std::nullopt);
  EXPECT_EQ(panel->numberOfStatesInSegmentedControl(*panel->segmentedControl()), 2);
}

TEST_F(PanelControllerTest, ScrollReportsSwitchPastTheMiddleInTheirDirectionOnly) {
  open();
  panel->didScrollWithXOffset(*panel->segmentedControl(), 0, 0.4, 0, 1);
  EXPECT_FALSE(panel->isAnimatingRingView());
  panel->didScrollWithXOffset(*panel->segmentedControl(), 0, 0.6, 0, 1);
  EXPECT_TRUE(panel->isAnimatingRingView());
  env.forward(1);
  EXPECT_EQ(panel->currentVisibleRingView(), panel->actionsRingView());
  panel->didScrollWithXOffset(*panel->segmentedControl(), 0, 0.55, 0,
                              1);  // back towards the toggles but above the middle
  EXPECT_FALSE(panel->isAnimatingRingView());
  panel->didScrollWithXOffset(*panel->segmentedControl(), 0, 0.5, 0, 1);
  EXPECT_FALSE(panel->isAnimatingRingView());
  panel->didScrollWithXOffset(*panel->segmentedControl(), 0, 0.45, 0, 1);
  EXPECT_TRUE(panel->isAnimatingRingView());
  env.forward(1);
  EXPECT_EQ(panel->currentVisibleRingView(), panel->togglesRingView());
  panel->didScrollWithXOffset(*panel->segmentedControl(), 0, 0.5, 0, 1);
  EXPECT_FALSE(panel->isAnimatingRingView());
  EXPECT_EQ(Tessra2ViewController::previousPercent(), 0.5);
}

TEST_F(PanelControllerTest, ScrollReportsDuringASwitchSwitchNothingMore) {
  open();
  panel->didScrollWithXOffset(*panel->segmentedControl(), 0, 0.0, 0, 1);
  panel->didTapAtIndex(*panel->segmentedControl(), 1);
  for (double p : {0.2, 0.4, 0.6, 0.8, 1.0}) {
    panel->didScrollWithXOffset(*panel->segmentedControl(), 0, p, 0, 1);
    env.forward(0.05);
  }
  env.forward(1);
  EXPECT_EQ(env.postedTexts.size(), 0u);
  EXPECT_EQ(panel->currentVisibleRingView(), panel->actionsRingView());
  EXPECT_TRUE(panel->togglesRingView()->isHidden());
  EXPECT_FALSE(panel->actionsRingView()->isHidden());
}

TEST_F(PanelControllerTest, TouchesOnTheSegmentedControlSwitchRings) {
  open();
  const CGRect control = windowFrame(*panel->segmentedControl());
  env.tap({control.origin.x + control.size.width * 0.75, control.origin.y + control.size.height / 2});
  env.forward(1);
  EXPECT_EQ(panel->currentVisibleRingView(), panel->actionsRingView());
  EXPECT_TRUE(panel->togglesRingView()->isHidden());
  EXPECT_EQ(panel->segmentedControl()->currentState(), 1);
  // Dragging the selector back past the middle switches to the toggles.
  const CGRect selector = windowFrame(panel->segmentedControl()->selectorView());
  env.drag({selector.origin.x + selector.size.width / 2, selector.origin.y + selector.size.height / 2},
           {control.origin.x + control.size.width * 0.2, selector.origin.y + selector.size.height / 2});
  env.forward(1);
  EXPECT_EQ(panel->currentVisibleRingView(), panel->togglesRingView());
  EXPECT_TRUE(panel->actionsRingView()->isHidden());
}

// The ring shown after every way of moving the selector is the ring of the slot the selector rests on,
// even when a tap or a scroll back came while the previous switch was still under way.
TEST_F(PanelControllerTest, TheRingShownAlwaysFollowsTheSelectedSegment) {
  auto control = [&] { return windowFrame(*panel->segmentedControl()); };
  // The point of the selector's centre at fractional state p (0 "Toggles", 1 "Behaviors").
  auto at = [&](double p) {
    const CGRect c = control();
    return CGPoint{c.origin.x + c.size.width / 2 * (p + 0.5), c.origin.y + c.size.height / 2};
  };
  auto tapSlot = [&](int slot) { env.tap(at(slot)); };
  // A finger on the selector, along the fractional states of `path` (0.01 s per step), lifted at the last.
  auto drag = [&](std::vector<double> path) {
    const long from = panel->segmentedControl()->currentState();
    env.window->sendTouch(platform::UITouchPhase::Began, at(static_cast<double>(from)));
    double p = static_cast<double>(from);
    for (double to : path) {
      for (int i = 1; i <= 4; ++i) {
        env.forward(0.01);
        env.window->sendTouch(platform::UITouchPhase::Moved, at(p + (to - p) * i / 4));
      }
      p = to;
    }
    env.window->sendTouch(platform::UITouchPhase::Ended, at(p));
  };
  auto expectAgreement = [&](const std::string& after) {
    env.forward(2);
    const long state = panel->segmentedControl()->currentState();
    Tessra2RingView* shown = state == 1 ? panel->actionsRingView() : panel->togglesRingView();
    Tessra2RingView* other = state == 1 ? panel->togglesRingView() : panel->actionsRingView();
    EXPECT_EQ(panel->currentVisibleRingView(), shown) << after;
    EXPECT_FALSE(shown->isHidden()) << after;
    EXPECT_TRUE(other->isHidden()) << after;
    EXPECT_FALSE(panel->isAnimatingRingView()) << after;
    // The selector is drawn over the slot of that state.
    const double selector = centreOf(panel->segmentedControl()->selectorView()).x;
    EXPECT_NEAR(selector, at(static_cast<double>(state)).x, 1) << after;
  };

  open();
  expectAgreement("opening");
  for (double gap : {0.05, 0.15, 0.25, 0.35, 0.6}) {
    tapSlot(1);
    env.forward(gap);
    tapSlot(0);
    expectAgreement("Behaviors, then Toggles " + std::to_string(gap) + " s later");
    tapSlot(1);
    expectAgreement("Behaviors");
    env.forward(gap);
    tapSlot(0);
    env.forward(0.02);
    tapSlot(1);
    expectAgreement("Toggles, then Behaviors right after");
    tapSlot(0);
    expectAgreement("Toggles");
  }
  for (const auto& path : std::vector<std::vector<double>>{
           {0.7, 0.3}, {0.8, 0.2, 0.9}, {0.6, 0.45}, {0.55}, {0.45}, {1.0, 0.0}, {0.9, 0.4, 0.6, 0.3}}) {
    std::string name;
    for (double p : path) name += " " + std::to_string(p);
    drag(path);
    expectAgreement("a drag along" + name);
    drag({0.5, 1.0 - static_cast<double>(panel->segmentedControl()->currentState())});
    expectAgreement("a drag to the other slot after" + name);
  }
  tapSlot(1);
  env.forward(0.05);
  drag({0.2});
  expectAgreement("a tap on Behaviors, then a drag back");
  EXPECT_EQ(dismissCalls, 0);
}

// --- Bottom texts ---

TEST_F(PanelControllerTest, ANewerTextGetsItsFullTimeAndThenTheLabelClears) {
  open();
  panel->showBottomLabelWithText(std::string("first"), 1.5);
  env.forward(1.0);
  panel->showBottomLabelWithText(std::string("second"), 1.5);
  env.forward(1.0);
  EXPECT_EQ(panel->bottomLabel()->text(), "second");
  env.forward(0.49);
  EXPECT_EQ(panel->bottomLabel()->text(), "second");
  env.forward(0.02);
  EXPECT_EQ(panel->bottomLabel()->text(), "");
}

TEST_F(PanelControllerTest, ButtonTapsReachTheLabelThroughTheNotification) {
  open();
  auto& wifi = *panel->togglesRingView()->buttonsArray()[3];
  env.tap(centreOf(wifi));
  EXPECT_EQ(panel->bottomLabel()->text(), "Enable Wi-Fi when opening Maps");
  platform::NotificationCenter::defaultCenter().postNotification("SetBottomLabelTextNotification");
  EXPECT_EQ(panel->bottomLabel()->text(), "");
}

// --- Dismissal ---

TEST_F(PanelControllerTest, ATapOnTheBackdropDismissesAndCallsOnDismissAtOnce) {
  open();
  std::weak_ptr<Tessra2ViewController> weak = panel;
  env.tap({20, 20});
  EXPECT_EQ(dismissCalls, 0);  // queued on the main queue
  env.tasks.runUntilIdle();
  EXPECT_EQ(dismissCalls, 1);
  EXPECT_TRUE(dismissingWhenCalled);
  EXPECT_EQ(g_barCalls.back(), "tessra_hideIpadDock: NO");
  env.forward(1);
  EXPECT_FALSE(presented());
  EXPECT_TRUE(weak.expired());
}

TEST_F(PanelControllerTest, TapsThroughTheLabelsAndOnTheTogglesRingDismiss) {
  open();
  env.tap(centreOf(*panel->appNameLabel()));
  env.tasks.runUntilIdle();
  EXPECT_EQ(dismissCalls, 1);
  env.forward(1);
  open();
  const CGRect ring = windowFrame(*panel->togglesRingView());
  env.tap({ring.origin.x + 40, ring.origin.y + 40});  // an empty corner of the ring
  env.tasks.runUntilIdle();
  EXPECT_EQ(dismissCalls, 2);
}

TEST_F(PanelControllerTest, TapsOnTheDiscTheSegmentedControlOrTheBehavioursRingDoNotDismiss) {
  open();
  const CGRect disc = windowFrame(*panel->sliderDiscView());
  env.tap({disc.origin.x + disc.size.width / 2, disc.origin.y + 8});
  env.tap(centreOf(*panel->segmentedControlHolder()));
  panel->didTapAtIndex(*panel->segmentedControl(), 1);
  env.forward(1);
  const CGRect ring = windowFrame(*panel->actionsRingView());
  env.tap({ring.origin.x + 40, ring.origin.y + 40});
  env.forward(1);
  EXPECT_EQ(dismissCalls, 0);
  EXPECT_TRUE(presented());
}

TEST_F(PanelControllerTest, ClosingHidesTheVisibleRingAndBringsTheBarsBack) {
  open();
  auto ring = panel->togglesRingView()->weak_from_this().lock();
  panel->dismissViewControllerAnimated(true, nullptr);
  EXPECT_EQ(g_barCalls, (std::vector<std::string>{"tessra_hideStatusBar: YES", "tessra_hideIpadDock: YES",
                                                  "tessra_hideStatusBar: NO", "tessra_hideIpadDock: NO"}));
  env.forward(0.31);
  EXPECT_TRUE(ring->isHidden());
}

// --- Remove buttons ---

TEST_F(PanelControllerTest, WithCrossesEachSliderGetsARemoveButtonUnderIt) {
  env.settings().useCrossInsteadOfLongPressGestureForSliders = true;
  env.settings().setBrightnessForCurrentBundleId(30);
  open();
  auto volumeCross = panel->volumeSliderView()->removeButton();
  auto brightnessCross = panel->brightnessSliderView()->removeButton();
  ASSERT_TRUE(volumeCross && brightnessCross);
  EXPECT_TRUE(volumeCross->isHidden());
  EXPECT_FALSE(brightnessCross->isHidden());
  const CGRect slider = panel->brightnessSliderView()->frame();
  EXPECT_EQ(brightnessCross->frame(),
            CGRectMake(slider.origin.x + slider.size.width * 0.225, slider.origin.y + slider.size.height + 2,
                       slider.size.width * 0.55, slider.size.width * 0.55));
  env.tap(centreOf(*brightnessCross));
  EXPECT_EQ(panel->brightnessSliderView()->percentText(), "-%");
  EXPECT_TRUE(env.stored("brightness").isNull());
  EXPECT_TRUE(brightnessCross->isHidden());
  EXPECT_EQ(dismissCalls, 0);
}

// --- Snapshots, for the eyes ---

// Something to blur behind the panel: coloured tiles like icons on a wallpaper.
void paintHomeScreen(platform::UIView* home) {
  home->setBackgroundColor(UIColor::colorWithRed(0.15, 0.35, 0.6, 1));
  const UIColor colours[] = {UIColor::colorWithRed(0.9, 0.3, 0.2, 1), UIColor::colorWithRed(0.2, 0.7, 0.3, 1),
                             UIColor::colorWithRed(0.95, 0.75, 0.1, 1), UIColor::colorWithRed(0.6, 0.3, 0.8, 1)};
  const CGRect bounds = home->bounds();
  int i = 0;
  for (double y = 60; y + 60 < bounds.size.height; y += 100) {
    for (double x = 24; x + 60 < bounds.size.width; x += 88) {
      auto tile = std::make_shared<platform::UIView>(CGRectMake(x, y, 60, 60));
      tile->setBackgroundColor(colours[i++ % 4]);
      tile->layer().setCornerRadius(14);
      home->addSubview(tile);
    }
  }
}

void writeSnapshot(const std::string& name, double scale) {
  std::filesystem::create_directories(PANEL_SNAPSHOT_DIR);
  platform::ViewRenderer renderer;
  auto image = renderer.renderScreen(scale);
  std::string error;
  ASSERT_TRUE(platform::ViewRenderer::writePng(*image, std::string(PANEL_SNAPSHOT_DIR) + "/" + name, &error)) << error;
}

TEST_F(PanelControllerTest, SnapshotsOfTheLightAndDarkPanel) {
  paintHomeScreen(env.presenter->view());
  env.settings().setVolumeForCurrentBundleId(40);
  env.settings().setState(1, 3);
  env.settings().setState(0, 1);
  open();
  env.tap(centreOf(*panel->togglesRingView()->buttonsArray()[5]));
  env.forward(0.3);
  writeSnapshot("panel-phone-light.png", 2);
  env.tap({20, 20});
  env.forward(1);
  env.settings().interfaceColorStyle = 0;
  open();
  // Through the control, as a finger does: the selector moves to "Behaviors" with the ring.
  const CGRect control = windowFrame(*panel->segmentedControl());
  env.tap({control.origin.x + control.size.width * 0.75, control.origin.y + control.size.height / 2});
  env.forward(1);
  ASSERT_EQ(panel->segmentedControl()->currentState(), 1);
  ASSERT_EQ(panel->currentVisibleRingView(), panel->actionsRingView());
  writeSnapshot("panel-phone-dark.png", 2);
}

TEST_F(TabletPanelControllerTest, SnapshotOfTheTabletPanel) {
  paintHomeScreen(env.presenter->view());
  env.settings().setBrightnessForCurrentBundleId(70);
  open();
  writeSnapshot("panel-tablet-light.png", 1);
}

}  // namespace
