#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/Substrate.h"
#include "platform/springboard/LAEvent.h"
#include "platform/springboard/SpringBoard.h"
#include "tests/platform/springboard/DeviceFixture.h"

namespace platform {
namespace {

using springboard::ButtonPress;

// Hooks as a plug-in would install them; each rule is switched by a flag.
bool suppressControlCenter = false;
bool (*previousSuppressesCC)(id, SEL) = nullptr;
bool hookSuppressesCC(id self, SEL cmd) { return previousSuppressesCC(self, cmd) || suppressControlCenter; }

bool suppressCoverSheet = false;
bool (*previousSuppressesCoverSheet)(id, SEL) = nullptr;
bool hookSuppressesCoverSheet(id self, SEL cmd) {
  return previousSuppressesCoverSheet(self, cmd) || suppressCoverSheet;
}

bool (*previousOwnsHome)(id, SEL) = nullptr;
bool hookOwnsHome(id self, SEL cmd) { return previousOwnsHome(self, cmd) && !suppressControlCenter; }

bool (*previousCanReach)(id, SEL) = nullptr;
bool hookCanReach(id self, SEL cmd) { return previousCanReach(self, cmd) && !suppressControlCenter; }

// Consumes side-button presses and answers a home press in their place.
bool (*previousButtons)(id, SEL, id) = nullptr;
bool hookButtons(id self, SEL cmd, id event) {
  ObjectArray presses = msgSend<ObjectArray>(event, SELECTOR("allPresses"));
  if (!presses.empty() && msgSend<long>(presses[0], SELECTOR("type")) == 104) {
    msgSend(self, SELECTOR("_simulateHomeButtonPress"));
    return true;
  }
  return previousButtons(self, cmd, event);
}

// Hands releases straight to the system, past the hook above.
bool (*previousPassReleases)(id, SEL, id) = nullptr;
bool passReleases(id self, SEL cmd, id event) {
  ObjectArray presses = msgSend<ObjectArray>(event, SELECTOR("allPresses"));
  if (!presses.empty() && msgSend<double>(presses[0], SELECTOR("force")) == 0.0)
    return previousButtons(self, cmd, event);
  return previousPassReleases(self, cmd, event);
}

void (*previousSendEvent)(id, SEL, id) = nullptr;
void hookSendEvent(id self, SEL cmd, id event) {
  if (!suppressControlCenter) previousSendEvent(self, cmd, event);
}

class GesturesAndButtonsTest : public test::DeviceFixture {
 protected:
  void SetUp() override {
    configure("13.3", springboard::DeviceKind::Phone, /*activator=*/true);
    suppressControlCenter = suppressCoverSheet = false;
  }
  void installHooks() {
    ASSERT_TRUE(MSHookMessageEx(objc_getClass("SBApplication"), SELECTOR("suppressesControlCenter"), &hookSuppressesCC,
                                &previousSuppressesCC));
    ASSERT_TRUE(MSHookMessageEx(objc_getClass("SBApplication"), SELECTOR("suppressesCoverSheetGesture"),
                                &hookSuppressesCoverSheet, &previousSuppressesCoverSheet));
    ASSERT_TRUE(MSHookMessageEx(objc_getClass("SBHomeGestureParticipant"), SELECTOR("ownsHomeGesture"), &hookOwnsHome,
                                &previousOwnsHome));
    ASSERT_TRUE(MSHookMessageEx(objc_getClass("SBReachabilityManager"), SELECTOR("canActivateReachability"),
                                &hookCanReach, &previousCanReach));
    ASSERT_TRUE(MSHookMessageEx(objc_getClass("_LAActivator"), SELECTOR("sendEventToListener:"), &hookSendEvent,
                                &previousSendEvent));
  }
};

TEST_F(GesturesAndButtonsTest, WithoutHooksTheSystemAllowsEveryGesture) {
  device().openApp("com.apple.Maps");
  EXPECT_TRUE(device().openControlCenter());
  device().dismissSystemOverlays();
  EXPECT_TRUE(device().openNotificationCenter());
  device().dismissSystemOverlays();
  EXPECT_TRUE(device().activateReachability());
  EXPECT_TRUE(device().sendActivatorEvent("libactivator.statusbar.tap.double"));
  EXPECT_TRUE(device().swipeHome());
  EXPECT_TRUE(device().state().apps().frontApp().empty());
  EXPECT_TRUE(log().contains("activator listener received libactivator.statusbar.tap.double"));
}

TEST_F(GesturesAndButtonsTest, HooksDecideWhetherTheHomeScreenLetsAGestureThrough) {
  installHooks();
  device().openApp("com.apple.Maps");
  suppressControlCenter = suppressCoverSheet = true;
  EXPECT_FALSE(device().openControlCenter());
  EXPECT_FALSE(device().openNotificationCenter());
  EXPECT_FALSE(device().activateReachability());
  device().sendActivatorEvent("libactivator.statusbar.tap.double");
  EXPECT_FALSE(device().swipeHome());
  EXPECT_EQ(device().state().apps().frontApp(), "com.apple.Maps");
  EXPECT_FALSE(log().contains("activator listener received libactivator.statusbar.tap.double"));
  EXPECT_TRUE(log().contains("control center: suppressesControlCenter -> YES, blocked"));
  EXPECT_TRUE(log().contains("notification center: suppressesCoverSheetGesture -> YES, blocked"));

  suppressControlCenter = suppressCoverSheet = false;
  EXPECT_TRUE(device().openControlCenter());
  EXPECT_TRUE(device().state().apps().controlCenterVisible());
}

TEST_F(GesturesAndButtonsTest, OnTheHomeScreenNoAppCanSuppressControlCenter) {
  installHooks();
  suppressControlCenter = true;
  EXPECT_TRUE(device().openControlCenter());
}

TEST_F(GesturesAndButtonsTest, VolumeButtonsStepTheVolumeAndTheSideButtonLocks) {
  EXPECT_TRUE(device().pressButtons({ButtonPress{102, 1.0}}));
  EXPECT_FLOAT_EQ(device().state().audio().volume(), 0.5625f);
  EXPECT_TRUE(device().pressButtons({ButtonPress{103, 1.0}, ButtonPress{103, 1.0}}));
  EXPECT_FLOAT_EQ(device().state().audio().volume(), 0.4375f);
  EXPECT_FALSE(device().pressButtons({ButtonPress{102, 0.0}}));  // a release changes nothing
  EXPECT_EQ(device().state().audio().volumeHudShows(), 3);

  // The side button acts on its release, once the system saw the press-down too.
  EXPECT_TRUE(device().pressButtons({ButtonPress{104, 1.0}}));
  EXPECT_FALSE(device().state().apps().locked());
  EXPECT_TRUE(device().pressButtons({ButtonPress{104, 0.0}}));
  EXPECT_TRUE(device().state().apps().locked());
  device().pressButtons({ButtonPress{104, 1.0}});
  EXPECT_TRUE(device().pressButtons({ButtonPress{104, 0.0}}));
  EXPECT_FALSE(device().state().apps().locked());
  EXPECT_TRUE(log().contains("buttons 103 down 103 down"));
}

TEST_F(GesturesAndButtonsTest, AButtonHookCanConsumeAPressAndSimulateHome) {
  device().openApp("com.apple.Maps");
  ASSERT_TRUE(MSHookMessageEx(objc_getClass("SpringBoard"), SELECTOR("_handlePhysicalButtonEvent:"), &hookButtons,
                              &previousButtons));
  size_t before = log().size();
  EXPECT_TRUE(device().pressButtons({ButtonPress{104, 1.0}}));
  EXPECT_TRUE(device().state().apps().frontApp().empty());
  // The trace shows the event handed over, what it led to, and the answer.
  EXPECT_EQ(log().textsSince(before), (std::vector<std::string>{"buttons 104 down", "home button", "home",
                                                                "buttons: _handlePhysicalButtonEvent: -> YES"}));
  // The release of a press whose press-down was consumed does nothing.
  ASSERT_TRUE(MSHookMessageEx(objc_getClass("SpringBoard"), SELECTOR("_handlePhysicalButtonEvent:"), &passReleases,
                              &previousPassReleases));
  before = log().size();
  EXPECT_FALSE(device().pressButtons({ButtonPress{104, 0.0}}));
  EXPECT_EQ(log().textsSince(before),
            (std::vector<std::string>{"buttons 104 up", "buttons: _handlePhysicalButtonEvent: -> NO"}));
  EXPECT_FALSE(device().state().apps().locked());
  // Other buttons still reach the system.
  EXPECT_TRUE(device().pressButtons({ButtonPress{102, 1.0}}));
  EXPECT_FLOAT_EQ(device().state().audio().volume(), 0.5625f);
}

TEST_F(GesturesAndButtonsTest, TheHomeGestureOnTheLockScreenUnlocks) {
  device().openApp("com.apple.Maps");
  device().lock();
  EXPECT_TRUE(device().swipeHome());
  EXPECT_FALSE(device().state().apps().locked());
  EXPECT_EQ(device().state().apps().frontApp(), "com.apple.Maps");
}

TEST_F(GesturesAndButtonsTest, TabletsHaveNoReachability) {
  configure("13.3", springboard::DeviceKind::Tablet);
  EXPECT_FALSE(device().activateReachability());
}

}  // namespace
}  // namespace platform
