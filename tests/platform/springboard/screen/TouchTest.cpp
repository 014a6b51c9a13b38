// Touches on the screen: what reaches which view, and what the device does about it.
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/Substrate.h"
#include "platform/springboard/screen/ControlCenterView.h"
#include "platform/springboard/screen/QuickActionMenu.h"
#include "tests/platform/springboard/screen/ScreenFixture.h"

namespace platform::test {
namespace {

class TouchTest : public ScreenFixture {};

// --- Icons

TEST_F(TouchTest, ATapOnAnIconOpensItsAppAndTheTraceNamesTheIcon) {
  tap(iconCenter("com.apple.Maps"));
  EXPECT_EQ(model().state().apps().frontApp(), "com.apple.Maps");
  EXPECT_TRUE(logged("tap SBIconView com.apple.Maps"));
  EXPECT_TRUE(logged("open com.apple.Maps"));
  // The app's screen is in front: its name is seen, the other icons are not.
  EXPECT_TRUE(textVisible("com.apple.Maps"));
  EXPECT_FALSE(textVisible("Settings"));
}

TEST_F(TouchTest, ATapOnADockIconOpensItsApp) {
  tap(iconCenter("com.apple.mobilesafari"));
  EXPECT_EQ(model().state().apps().frontApp(), "com.apple.mobilesafari");
}

TEST_F(TouchTest, OpeningGoesThroughTheHookableProcessUpdate) {
  static std::vector<std::string> updates;
  static void (*previous)(id, SEL, id, id) = nullptr;
  updates.clear();
  ASSERT_TRUE(MSHookMessageEx(
      objc_getClass("SBApplication"), SELECTOR("_updateProcess:withState:"),
      +[](id self, SEL sel, id process, id state) {
        updates.push_back(msgSend<std::string>(self, SELECTOR("bundleIdentifier")));
        previous(self, sel, process, state);
      },
      &previous));
  tap(iconCenter("com.apple.Maps"));
  EXPECT_EQ(updates, std::vector<std::string>{"com.apple.Maps"});
}

TEST_F(TouchTest, ATouchThatStartsOnOneIconAndEndsOnAnotherOpensNothing) {
  drag(iconCenter("com.apple.Maps"), iconCenter("com.waze.iphone"));
  EXPECT_EQ(model().state().apps().frontApp(), "");
  EXPECT_TRUE(logged("drag SBIconView com.apple.Maps"));
}

TEST_F(TouchTest, TouchesOutsideTheScreenAreIgnored) {
  size_t before = model().state().eventLog().size();
  EXPECT_FALSE(screen().touch(UITouchPhase::Began, {400, 10}));
  EXPECT_FALSE(screen().touch(UITouchPhase::Began, {-1, 10}));
  EXPECT_FALSE(screen().touch(UITouchPhase::Ended, {400, 10}));
  EXPECT_FALSE(screen().isTouching());
  EXPECT_EQ(model().state().eventLog().size(), before);
  // A finger that leaves the screen while down is held at its edge and still ends.
  screen().touch(UITouchPhase::Began, iconCenter("com.apple.Maps"));
  screen().touch(UITouchPhase::Moved, {5000, 5000});
  screen().touch(UITouchPhase::Ended, {5000, 5000});
  EXPECT_FALSE(screen().isTouching());
  EXPECT_EQ(model().state().apps().frontApp(), "");
}

TEST_F(TouchTest, ASecondFingerDownIsRefusedUntilTheFirstLifts) {
  EXPECT_TRUE(screen().touch(UITouchPhase::Began, {100, 400}));
  EXPECT_FALSE(screen().touch(UITouchPhase::Began, {200, 400}));
  screen().touch(UITouchPhase::Ended, {100, 400});
  EXPECT_TRUE(screen().touch(UITouchPhase::Began, {200, 400}));
  screen().touch(UITouchPhase::Ended, {200, 400});
}

// --- System gestures

TEST_F(TouchTest, SwipingUpFromTheBottomEdgeGoesHome) {
  tap(iconCenter("com.apple.Maps"));
  drag({187, 805}, {187, 600});
  EXPECT_EQ(model().state().apps().frontApp(), "");
  EXPECT_TRUE(logged("home gesture: ownsHomeGesture -> YES (cover sheet hidden)"));
  EXPECT_TRUE(logged("drag SBEdgeGestureView bottom"));
  EXPECT_TRUE(textVisible("Settings"));
}

TEST_F(TouchTest, AShortSwipeOrATapOnTheBottomEdgeDoesNothing) {
  tap(iconCenter("com.apple.Maps"));
  drag({187, 805}, {187, 790});
  tap({187, 805});
  EXPECT_EQ(model().state().apps().frontApp(), "com.apple.Maps");
}

TEST_F(TouchTest, TheHomeGestureAsksTheGestureParticipant) {
  static bool (*previous)(id, SEL) = nullptr;
  ASSERT_TRUE(MSHookMessageEx(
      objc_getClass("SBHomeGestureParticipant"), SELECTOR("ownsHomeGesture"), +[](id, SEL) { return false; },
      &previous));
  tap(iconCenter("com.apple.Maps"));
  drag({187, 805}, {187, 600});
  EXPECT_EQ(model().state().apps().frontApp(), "com.apple.Maps");
}

TEST_F(TouchTest, PullingDownFromTheTopLeftShowsNotificationCenterAndFromTheTopRightControlCenter) {
  drag({60, 10}, {60, 300});
  EXPECT_TRUE(model().state().apps().notificationCenterVisible());
  EXPECT_TRUE(textVisible("Notification Center"));
  drag({187, 805}, {187, 500});
  EXPECT_FALSE(model().state().apps().notificationCenterVisible());
  drag({320, 10}, {320, 300});
  EXPECT_TRUE(model().state().apps().controlCenterVisible());
  EXPECT_TRUE(textVisible("Wi-Fi"));
}

TEST_F(TouchTest, RightToLeftSwapsTheTopEdges) {
  make("13.3", springboard::DeviceKind::Phone, "ar");
  drag({320, 10}, {320, 300});
  EXPECT_TRUE(model().state().apps().notificationCenterVisible());
}

TEST_F(TouchTest, ControlCenterAsksTheAppInFrontWhetherItIsSuppressed) {
  static bool (*previous)(id, SEL) = nullptr;
  ASSERT_TRUE(MSHookMessageEx(
      objc_getClass("SBApplication"), SELECTOR("suppressesControlCenter"), +[](id, SEL) { return true; }, &previous));
  tap(iconCenter("com.apple.Maps"));
  drag({320, 10}, {320, 300});
  EXPECT_FALSE(model().state().apps().controlCenterVisible());
  EXPECT_TRUE(logged("control center: suppressesControlCenter -> YES, blocked"));
}

TEST_F(TouchTest, ControlCenterTilesShowAndFlipTheSwitches) {
  drag({320, 10}, {320, 300});
  auto& cc = home().controlCenter();
  EXPECT_TRUE(cc.isLit("wifi"));
  EXPECT_FALSE(cc.isLit("airplane"));
  auto tileCenter = [&cc](const char* name) {
    CGRect frame = springboard::ScreenInspector::screenFrame(*cc.tile(name));
    return CGPoint{CGRectGetMidX(frame), frame.origin.y + 30};
  };
  tap(tileCenter("wifi"));
  EXPECT_EQ(model().state().switches().state("com.a3tweaks.switch.wifi"), FSSwitchState::Off);
  EXPECT_TRUE(logged("tap CCUIToggleView wifi"));
  EXPECT_FALSE(cc.isLit("wifi"));
  tap(tileCenter("bluetooth"));
  EXPECT_FALSE(model().state().switches().bluetoothEnabled());
  // A tap on the veil closes Control Center.
  tap({187, 700});
  EXPECT_FALSE(model().state().apps().controlCenterVisible());
}

}  // namespace
}  // namespace platform::test
