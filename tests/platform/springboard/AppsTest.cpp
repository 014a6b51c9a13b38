#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/runtime/KeyValue.h"
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/Substrate.h"
#include "platform/springboard/SBAppLayout.h"
#include "platform/springboard/SBApplication.h"
#include "platform/springboard/SBApplicationController.h"
#include "platform/springboard/SBApplicationProcessState.h"
#include "platform/springboard/SBCoverSheetPresentationManager.h"
#include "platform/springboard/SBIconController.h"
#include "platform/springboard/SBMainSwitcherViewController.h"
#include "platform/springboard/SpringBoard.h"
#include "tests/platform/springboard/DeviceFixture.h"

namespace platform {
namespace {

// What the hooks below saw, in order.
std::vector<std::string> trace;

std::string nameOf(id app) { return app ? msgSend<std::string>(app, SELECTOR("bundleIdentifier")) : "home"; }

id (*previousFrontmost)(id, SEL) = nullptr;
id hookFrontmost(id self, SEL cmd) {
  id answer = previousFrontmost(self, cmd);
  trace.push_back("frontmost " + nameOf(answer));
  return answer;
}

void (*previousUpdate)(id, SEL, id, id) = nullptr;
void hookUpdate(id self, SEL cmd, id process, id state) {
  trace.push_back("update " + nameOf(self) + " " + std::to_string(msgSend<long>(state, SELECTOR("visibility"))));
  previousUpdate(self, cmd, process, state);
}

void (*previousWillAppear)(id, SEL, bool) = nullptr;
void hookWillAppear(id self, SEL cmd, bool animated) {
  trace.push_back("home will appear");
  previousWillAppear(self, cmd, animated);
}

void (*previousWillDisappear)(id, SEL, bool) = nullptr;
void hookWillDisappear(id self, SEL cmd, bool animated) {
  trace.push_back("home will disappear");
  previousWillDisappear(self, cmd, animated);
}

void (*previousPresent)(id, SEL) = nullptr;
void hookPresent(id self, SEL cmd) {
  previousPresent(self, cmd);
  trace.push_back(std::string("cover sheet presented, visible ") +
                  (msgSend<bool>(self, SELECTOR("isVisible")) ? "yes" : "no"));
}

void (*previousDismiss)(id, SEL) = nullptr;
void hookDismiss(id self, SEL cmd) {
  previousDismiss(self, cmd);
  trace.push_back("cover sheet dismissed");
}

class AppsTest : public test::DeviceFixture {
 protected:
  void SetUp() override {
    DeviceFixture::SetUp();
    trace.clear();
  }
  // The hooks a plug-in would install at start.
  void installHooks() {
    ASSERT_TRUE(MSHookMessageEx(objc_getClass("SpringBoard"), SELECTOR("_accessibilityFrontMostApplication"),
                                &hookFrontmost, &previousFrontmost));
    ASSERT_TRUE(MSHookMessageEx(objc_getClass("SBApplication"), SELECTOR("_updateProcess:withState:"), &hookUpdate,
                                &previousUpdate));
    ASSERT_TRUE(MSHookMessageEx(objc_getClass("SBIconController"), SELECTOR("viewWillAppear:"), &hookWillAppear,
                                &previousWillAppear));
    ASSERT_TRUE(MSHookMessageEx(objc_getClass("SBIconController"), SELECTOR("viewWillDisappear:"), &hookWillDisappear,
                                &previousWillDisappear));
    ASSERT_TRUE(MSHookMessageEx(objc_getClass("SBCoverSheetPresentationManager"), SELECTOR("_notifyDelegateDidPresent"),
                                &hookPresent, &previousPresent));
    ASSERT_TRUE(MSHookMessageEx(objc_getClass("SBCoverSheetPresentationManager"), SELECTOR("_notifyDelegateDidDismiss"),
                                &hookDismiss, &previousDismiss));
  }
  SBApplication* app(const std::string& bundle) {
    return dynamic_cast<SBApplication*>(
        SBApplicationController::sharedInstance()->applicationWithBundleIdentifier(bundle));
  }
  long visibility(const std::string& bundle) {
    return msgSend<long>(app(bundle)->processState(), SELECTOR("visibility"));
  }
  id frontmost() {
    return msgSend<id>(msgSend<id>(objc_getClass("UIApplication"), SELECTOR("sharedApplication")),
                       SELECTOR("_accessibilityFrontMostApplication"));
  }
};

TEST_F(AppsTest, EveryInstalledAppHasOneApplicationObject) {
  SBApplicationController* controller = SBApplicationController::sharedInstance();
  ASSERT_NE(controller, nullptr);
  SBApplication* maps = app("com.apple.Maps");
  ASSERT_NE(maps, nullptr);
  EXPECT_EQ(maps->displayName(), "Maps");
  EXPECT_EQ(app("com.apple.Maps"), maps);
  EXPECT_EQ(controller->applicationWithBundleIdentifier("com.example.absent"), nullptr);
  EXPECT_NE(app("com.apple.siri"), nullptr);
  EXPECT_NE(app("com.apple.Spotlight"), nullptr);
  EXPECT_EQ(controller->allApplications().size(), device().state().apps().installedApps().size());
  EXPECT_EQ(maps->processState(), nullptr);  // never ran
}

TEST_F(AppsTest, TheSharedApplicationIsSpringBoardAndAnswersTheFrontApp) {
  SpringBoard* springBoard = SpringBoard::sharedApplication();
  ASSERT_NE(springBoard, nullptr);
  EXPECT_STREQ(object_getClassName(springBoard), "SpringBoard");
  EXPECT_TRUE(isKindOfClass(springBoard, objc_getClass("UIApplication")));
  EXPECT_EQ(frontmost(), nullptr);
  device().openApp("com.apple.Maps");
  EXPECT_EQ(frontmost(), app("com.apple.Maps"));
  EXPECT_EQ(visibility("com.apple.Maps"), SBApplicationProcessState::kVisibilityForeground);
}

TEST_F(AppsTest, OpeningAnAppFromTheHomeScreenCallsTheHomeScreensMethodsInOrder) {
  installHooks();
  ASSERT_TRUE(device().openApp("com.apple.Maps"));
  EXPECT_EQ(trace,
            (std::vector<std::string>{"home will disappear", "update com.apple.Maps 2", "frontmost com.apple.Maps"}));
  EXPECT_EQ(device().state().apps().frontApp(), "com.apple.Maps");
  EXPECT_FALSE(SBIconController::sharedInstance()->isVisible());
  EXPECT_EQ(log().texts(), (std::vector<std::string>{"open com.apple.Maps"}));
}

TEST_F(AppsTest, SwitchingAppsBringsTheNewOneForwardBeforeTheOldOneLeaves) {
  device().openApp("com.apple.Maps");
  installHooks();
  ASSERT_TRUE(device().openApp("com.spotify.client"));
  EXPECT_EQ(trace, (std::vector<std::string>{"update com.spotify.client 2", "frontmost com.spotify.client",
                                             "update com.apple.Maps 1", "frontmost com.spotify.client"}));
  EXPECT_EQ(visibility("com.apple.Maps"), SBApplicationProcessState::kVisibilityBackground);
  EXPECT_EQ(device().state().apps().runningApps(), (std::vector<std::string>{"com.spotify.client", "com.apple.Maps"}));
}

TEST_F(AppsTest, GoingHomeLetsTheAppGoThenShowsTheHomeScreen) {
  device().openApp("com.apple.Maps");
  installHooks();
  ASSERT_TRUE(device().goHome());
  EXPECT_EQ(trace, (std::vector<std::string>{"update com.apple.Maps 1", "frontmost home", "home will appear",
                                             "frontmost home"}));
  EXPECT_TRUE(SBIconController::sharedInstance()->isVisible());
  EXPECT_FALSE(device().goHome());  // already there
}

TEST_F(AppsTest, SiriAndSpotlightComeForwardOverTheAppInFront) {
  device().openApp("com.apple.Maps");
  installHooks();
  ASSERT_TRUE(device().showSiri());
  EXPECT_EQ(visibility("com.apple.siri"), SBApplicationProcessState::kVisibilityForeground);
  EXPECT_EQ(visibility("com.apple.Maps"), SBApplicationProcessState::kVisibilityForeground);
  EXPECT_EQ(frontmost(), app("com.apple.Maps"));  // SpringBoard's own answer is still the app
  ASSERT_TRUE(device().showSpotlight());
  EXPECT_EQ(visibility("com.apple.Spotlight"), SBApplicationProcessState::kVisibilityForeground);
  ASSERT_TRUE(device().dismissSiri());
  EXPECT_EQ(visibility("com.apple.siri"), SBApplicationProcessState::kVisibilityBackground);
  EXPECT_EQ(trace[0], "update com.apple.siri 2");
  EXPECT_FALSE(device().openApp("com.apple.siri"));  // an overlay, not an app to open
}

TEST_F(AppsTest, LockingPresentsTheCoverSheetOverTheApp) {
  device().openApp("com.apple.Maps");
  installHooks();
  ASSERT_TRUE(device().lock());
  EXPECT_TRUE(SBCoverSheetPresentationManager::sharedInstance()->isVisible());
  EXPECT_FALSE(device().openApp("com.apple.Music"));
  EXPECT_FALSE(device().goHome());
  ASSERT_TRUE(device().unlock());
  EXPECT_FALSE(SBCoverSheetPresentationManager::sharedInstance()->isVisible());
  EXPECT_EQ(trace, (std::vector<std::string>{"cover sheet presented, visible yes", "cover sheet dismissed"}));
  EXPECT_EQ(frontmost(), app("com.apple.Maps"));
  EXPECT_EQ(log().texts(), (std::vector<std::string>{"open com.apple.Maps", "lock", "unlock"}));
}

TEST_F(AppsTest, PullingDownTheNotificationCenterIsACoverSheetPresentation) {
  device().openApp("com.apple.Maps");
  installHooks();
  ASSERT_TRUE(device().openNotificationCenter());
  device().dismissSystemOverlays();
  EXPECT_EQ(trace, (std::vector<std::string>{"cover sheet presented, visible yes", "cover sheet dismissed"}));
}

TEST_F(AppsTest, HooksOfAPreviousDeviceAreGoneAfterConfiguring) {
  installHooks();
  configure("12.4");
  device().openApp("com.apple.Maps");
  EXPECT_TRUE(trace.empty());
}

class SwitcherTest : public test::DeviceFixture, public ::testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override { configure(GetParam()); }
  SBMainSwitcherViewController* switcher() { return SBMainSwitcherViewController::sharedInstance(); }
  // The app of a layout, through the accessors this version answers.
  static std::string appOf(id layout) {
    RolesToLayoutItemsMap roles = respondsToSelector(layout, SELECTOR("rolesToLayoutItemsMap"))
                                      ? msgSend<RolesToLayoutItemsMap>(layout, SELECTOR("rolesToLayoutItemsMap"))
                                      : valueForKey<RolesToLayoutItemsMap>(layout, "_rolesToLayoutItemsMap");
    id item = roles[1];
    return respondsToSelector(item, SELECTOR("displayIdentifier"))
               ? msgSend<std::string>(item, SELECTOR("displayIdentifier"))
               : msgSend<std::string>(item, SELECTOR("bundleIdentifier"));
  }
  // Quits with the first method the switcher answers, as a caller probing them would.
  void quit(id layout) {
    if (respondsToSelector(switcher(), SELECTOR("_quitAppsRepresentedByAppLayout:forReason:"))) {
      switcher()->_quitAppsRepresentedByAppLayout(layout, 1);
    } else if (respondsToSelector(switcher(), SELECTOR("_deleteAppLayout:forReason:"))) {
      switcher()->_deleteAppLayout(layout, 1);
    } else {
      switcher()->_deleteAppLayoutsMatchingBundleIdentifier(appOf(layout));
    }
  }
};

TEST_P(SwitcherTest, LayoutsListTheRunningAppsMostRecentFirst) {
  device().openApp("com.apple.Maps");
  device().openApp("com.spotify.client");
  device().openApp("com.apple.Music");
  ObjectArray layouts = switcher()->appLayouts();
  ASSERT_EQ(layouts.size(), 3u);
  EXPECT_EQ(appOf(layouts[0]), "com.apple.Music");
  EXPECT_EQ(appOf(layouts[1]), "com.spotify.client");
  EXPECT_EQ(appOf(layouts[2]), "com.apple.Maps");
  // The same running app keeps its layout object.
  EXPECT_EQ(switcher()->appLayouts()[2].get(), layouts[2].get());
}

TEST_P(SwitcherTest, QuittingALayoutEndsItsApp) {
  device().openApp("com.apple.Maps");
  device().openApp("com.spotify.client");
  device().startPlaying("com.spotify.client");
  ObjectArray layouts = switcher()->appLayouts();
  quit(layouts[1]);  // Maps, in the background
  EXPECT_EQ(device().state().apps().runningApps(), (std::vector<std::string>{"com.spotify.client"}));
  EXPECT_TRUE(log().contains("quit com.apple.Maps"));
  auto* maps = dynamic_cast<SBApplication*>(
      SBApplicationController::sharedInstance()->applicationWithBundleIdentifier("com.apple.Maps"));
  EXPECT_FALSE(msgSend<bool>(maps->processState(), SELECTOR("isRunning")));

  // Quitting the app in front goes home, and its music stops.
  quit(layouts[0]);
  EXPECT_TRUE(device().state().apps().frontApp().empty());
  EXPECT_TRUE(device().state().apps().runningApps().empty());
  EXPECT_FALSE(device().state().audio().isPlaying());
  EXPECT_TRUE(switcher()->appLayouts().empty());
}

INSTANTIATE_TEST_SUITE_P(Versions, SwitcherTest, ::testing::Values("11.4", "12.4", "13.3"),
                         [](const auto& info) { return std::string("iOS") + std::to_string(info.index); });

}  // namespace
}  // namespace platform
