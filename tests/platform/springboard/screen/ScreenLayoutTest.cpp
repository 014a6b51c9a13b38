// The screen's views for each kind of device and version: classes, geometry, pages, right-to-left, pixels.
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/Substrate.h"
#include "platform/springboard/screen/AppIconStyle.h"
#include "platform/springboard/screen/DockView.h"
#include "platform/springboard/screen/IconPagesView.h"
#include "platform/springboard/screen/StatusBarView.h"
#include "platform/springboard/screen/ViewControllerObject.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIViewController.h"
#include "platform/ui/UIWindow.h"
#include "tests/platform/springboard/screen/ScreenFixture.h"

namespace platform::test {
namespace {

using springboard::DeviceKind;
using springboard::InstalledApp;

std::vector<InstalledApp> manyApps(int count) {
  std::vector<InstalledApp> apps;
  for (int i = 0; i < count; ++i)
    apps.push_back({"com.example.app" + std::to_string(i), "App " + std::to_string(i), springboard::AppKind::User, ""});
  return apps;
}

class ScreenLayoutTest : public ScreenFixture {};

TEST_F(ScreenLayoutTest, PhoneIsThreeSeventyFiveByEightTwelvePointsAtThreeTimes) {
  EXPECT_EQ(screen().size(), (CGSize{375, 812}));
  EXPECT_EQ(screen().scale(), 3);
  EXPECT_EQ(std::string(object_getClassName(home().statusBar().object())), "_UIStatusBar");
  EXPECT_EQ(std::string(object_getClassName(home().dock().object())), "SBDockView");
  EXPECT_EQ(objc_getClass("SBFloatingDockView"), nullptr);
}

TEST_F(ScreenLayoutTest, TabletIsTenTwentyFourByThirteenSixtySixPointsAtTwoTimesWithAFloatingDock) {
  make("12.4", DeviceKind::Tablet);
  EXPECT_EQ(screen().size(), (CGSize{1024, 1366}));
  EXPECT_EQ(screen().scale(), 2);
  EXPECT_EQ(std::string(object_getClassName(home().statusBar().object())), "UIStatusBar");
  EXPECT_EQ(std::string(object_getClassName(home().dock().object())), "SBFloatingDockView");
  EXPECT_EQ(objc_getClass("_UIStatusBar"), nullptr);
  auto rendered = screen().render(1);
  EXPECT_EQ(rendered->pixelWidth(), 1024);
  EXPECT_EQ(rendered->pixelHeight(), 1366);
}

TEST_F(ScreenLayoutTest, EveryAppButSiriAndSpotlightHasOneIconOnThePagesOrInTheDock) {
  size_t icons = 0;
  for (const InstalledApp& app : model().state().apps().installedApps()) {
    bool overlay = app.bundleIdentifier == "com.apple.siri" || app.bundleIdentifier == "com.apple.Spotlight";
    EXPECT_EQ(home().iconFor(app.bundleIdentifier) == nullptr, overlay) << app.bundleIdentifier;
    icons += overlay ? 0 : 1;
  }
  EXPECT_EQ(icons, model().state().apps().installedApps().size() - 2);
  // The dock holds the installed apps of its list, without names.
  EXPECT_EQ(home().dock().iconCount(), 4u);
  EXPECT_NE(home().dock().iconFor("com.apple.mobilesafari"), nullptr);
}

TEST_F(ScreenLayoutTest, IconsFillAFourColumnGridFromTheTopLeft) {
  // Settings is the first app of the pages: column 0, row 0; Maps the second.
  EXPECT_EQ(iconCenter("com.apple.Preferences"), (CGPoint{46.875, 88}));
  EXPECT_EQ(iconCenter("com.apple.Maps"), (CGPoint{140.625, 88}));
  EXPECT_EQ(home().dock().frame(), CGRectMake(8, 686, 359, 92));
}

TEST_F(ScreenLayoutTest, RightToLeftMirrorsTheGridAndTheStatusBar) {
  make("13.3", DeviceKind::Phone, "ar_SA");
  EXPECT_EQ(iconCenter("com.apple.Preferences"), (CGPoint{375 - 46.875, 88}));
  const CGRect time = home().statusBar().timeLabel().frame();
  EXPECT_GT(time.origin.x, 375 / 2.0);
  EXPECT_LT(home().statusBar().indicatorFrame("battery").origin.x, 375 / 2.0);
  make("13.3", DeviceKind::Phone, "he");
  EXPECT_EQ(iconCenter("com.apple.Preferences"), (CGPoint{375 - 46.875, 88}));
}

TEST_F(ScreenLayoutTest, AppsBeyondOnePageGoOnMorePagesReachedBySwipingSideways) {
  make("13.3", DeviceKind::Phone, "en_US", manyApps(30));
  auto& pages = home().pages();
  ASSERT_EQ(pages.pageCount(), 2);
  EXPECT_EQ(pages.pageOf("com.example.app29"), 1);
  EXPECT_FALSE(textVisible("App 29"));
  drag({300, 400}, {100, 400});
  env_.fastForwardBy(seconds(1));
  EXPECT_EQ(pages.currentPage(), 1);
  EXPECT_TRUE(textVisible("App 29"));
  EXPECT_FALSE(textVisible("Settings"));
  // A short move does not turn the page; the other way goes back.
  drag({200, 400}, {220, 400});
  EXPECT_EQ(pages.currentPage(), 1);
  drag({100, 400}, {300, 400});
  env_.fastForwardBy(seconds(1));
  EXPECT_EQ(pages.currentPage(), 0);
}

TEST_F(ScreenLayoutTest, RightToLeftPagesTurnTheOtherWay) {
  make("13.3", DeviceKind::Phone, "ar", manyApps(30));
  drag({300, 400}, {100, 400});
  EXPECT_EQ(home().pages().currentPage(), 0);
  drag({100, 400}, {300, 400});
  EXPECT_EQ(home().pages().currentPage(), 1);
}

TEST_F(ScreenLayoutTest, EveryVersionAndKindBuildsItsScreen) {
  for (const char* version : {"11.4", "12.4", "13.0", "13.3"}) {
    for (DeviceKind kind : {DeviceKind::Phone, DeviceKind::Tablet}) {
      make(version, kind);
      EXPECT_NE(home().iconFor("com.apple.Maps"), nullptr) << version;
      EXPECT_TRUE(textVisible("Maps")) << version;
    }
  }
}

TEST_F(ScreenLayoutTest, TheIconControllerSitsInTheHomeScreensControllerOnEveryVersion) {
  for (const char* version : {"11.4", "12.4", "13.3"}) {
    make(version);
    id icons = msgSend<id>(objc_getClass("SBIconController"), SELECTOR("sharedInstance"));
    ASSERT_NE(icons, nullptr) << version;
    // Its parent is the home screen's root controller, the one the screen presents over.
    id parent = msgSend<id>(icons, SELECTOR("parentViewController"));
    ASSERT_NE(parent, nullptr) << version;
    EXPECT_STREQ(object_getClassName(parent), "SBHomeScreenViewController");
    EXPECT_TRUE(msgSend<bool>(parent, SELECTOR("isKindOfClass:"), objc_getClass("UIViewController")));
    EXPECT_EQ(springboard::ViewControllerObject::controllerOf(parent), screen().rootViewController().get());
    EXPECT_EQ(screen().window().rootViewController(), screen().rootViewController());
    // Walking up: the icon pages are inside the parent's view, which is the top of the window's controllers.
    id pages = msgSend<id>(icons, SELECTOR("view"));
    ASSERT_EQ(pages, home().pages().object());
    id parentView = msgSend<id>(parent, SELECTOR("view"));
    EXPECT_EQ(parentView, home().object());
    EXPECT_EQ(msgSend<id>(pages, SELECTOR("superview")), parentView);
    EXPECT_TRUE(msgSend<bool>(parent, SELECTOR("isViewLoaded")));
    EXPECT_EQ(msgSend<id>(parent, SELECTOR("parentViewController")), nullptr);
    EXPECT_EQ(msgSend<id>(parent, SELECTOR("presentingViewController")), nullptr);
  }
}

TEST_F(ScreenLayoutTest, AParentKeptPastItsScreenAnswersNothing) {
  id icons = msgSend<id>(objc_getClass("SBIconController"), SELECTOR("sharedInstance"));
  Ref<Object> kept = msgSend<id>(icons, SELECTOR("parentViewController"));
  ASSERT_NE(kept.get(), nullptr);
  screen_.reset();
  // The screen takes its controller and view back from the icon controller when it goes.
  EXPECT_EQ(msgSend<id>(icons, SELECTOR("parentViewController")), nullptr);
  EXPECT_EQ(msgSend<id>(icons, SELECTOR("view")), nullptr);
  EXPECT_EQ(springboard::ViewControllerObject::controllerOf(kept.get()), nullptr);
  EXPECT_EQ(msgSend<id>(kept.get(), SELECTOR("view")), nullptr);
  EXPECT_FALSE(msgSend<bool>(kept.get(), SELECTOR("isViewLoaded")));
}

TEST_F(ScreenLayoutTest, LayoutGoesThroughTheRuntimeSoHooksRun) {
  static int layouts = 0;
  static void (*previous)(id, SEL) = nullptr;
  layouts = 0;
  MSHookMessageEx(
      objc_getClass("_UIStatusBar"), SELECTOR("layoutSubviews"),
      +[](id self, SEL sel) {
        ++layouts;
        previous(self, sel);
      },
      &previous);
  home().statusBar().setNeedsLayout();
  screen().update();
  EXPECT_EQ(layouts, 1);
  // The hook calls the system's layout, which still places the time.
  EXPECT_GT(home().statusBar().timeLabel().frame().size.width, 0);
}

TEST_F(ScreenLayoutTest, TheFloatingDockLaysOutThroughTheRuntimeAndAnswersFrameMessages) {
  make("13.3", DeviceKind::Tablet);
  static id lastDock = nullptr;
  static void (*previous)(id, SEL) = nullptr;
  lastDock = nullptr;
  ASSERT_TRUE(MSHookMessageEx(
      objc_getClass("SBFloatingDockView"), SELECTOR("layoutSubviews"),
      +[](id self, SEL sel) {
        previous(self, sel);
        if (!lastDock) lastDock = self;
      },
      &previous));
  home().dock().setNeedsLayout();
  screen().update();
  ASSERT_EQ(lastDock, home().dock().object());
  // What a plug-in does to hide the dock: move it down by its height through its object.
  CGRect frame = msgSend<CGRect>(lastDock, SELECTOR("frame"));
  EXPECT_EQ(frame, home().dock().frame());
  msgSend<void, CGRect>(lastDock, SELECTOR("setFrame:"), CGRectOffset(frame, 0, frame.size.height));
  msgSend<void, double>(lastDock, SELECTOR("setAlpha:"), 0.0);
  EXPECT_EQ(home().dock().frame().origin.y, frame.origin.y + frame.size.height);
  EXPECT_EQ(home().dock().alpha(), 0);
  lastDock = nullptr;
}

TEST_F(ScreenLayoutTest, AnIconIsDrawnInTheColourOfItsApp) {
  auto image = screen().render(1);
  const CGPoint center = iconCenter("com.apple.Maps");
  // Inside the rounded square, away from the glyph: the app's colour.
  uint32_t pixel = image->pixelAt(static_cast<int>(center.x - 24), static_cast<int>(center.y));
  UIColor color = springboard::AppIconStyle::colorFor("com.apple.Maps");
  auto channel = [](uint32_t p, int shift) { return static_cast<int>((p >> shift) & 0xFF); };
  EXPECT_NEAR(channel(pixel, 16), color.red() * 255, 2);
  EXPECT_NEAR(channel(pixel, 8), color.green() * 255, 2);
  EXPECT_NEAR(channel(pixel, 0), color.blue() * 255, 2);
  // The same app always gets the same colour; another app another one.
  EXPECT_EQ(springboard::AppIconStyle::colorFor("com.apple.Maps"), color);
  EXPECT_NE(springboard::AppIconStyle::colorFor("com.apple.Music"), color);
}

}  // namespace
}  // namespace platform::test
