// The status bar following the device, and what covers what: the lock screen, Siri, Spotlight, banners.
#include "platform/springboard/NotificationBanners.h"
#include "platform/springboard/SystemAlerts.h"
#include "platform/springboard/screen/BannerView.h"
#include "platform/springboard/screen/StatusBarView.h"
#include "platform/springboard/screen/SystemAlertView.h"
#include "tests/platform/springboard/screen/ScreenFixture.h"

namespace platform::test {
namespace {

using Names = std::vector<std::string>;

class StatusAndOverlaysTest : public ScreenFixture {
 protected:
  void set(std::string_view name, bool on) {
    model().state().switches().setState(springboard::SwitchesState::fullIdentifier(name),
                                on ? FSSwitchState::On : FSSwitchState::Off);
    screen().update();
  }
  Names indicators() { return home().statusBar().visibleIndicators(); }
};

TEST_F(StatusAndOverlaysTest, TheStatusBarShowsTheSwitchesThatAreOn) {
  // A fresh device: cellular, Wi-Fi, Bluetooth and location on.
  EXPECT_EQ(indicators(), (Names{"cellular", "wifi", "bluetooth", "location", "battery"}));
  set("airplane-mode", true);
  set("wifi", false);
  EXPECT_EQ(indicators(), (Names{"airplane", "bluetooth", "location", "battery"}));
  set("do-not-disturb", true);
  set("rotation-lock", true);
  model().state().switches().setBluetoothEnabled(false);
  screen().update();
  EXPECT_EQ(indicators(), (Names{"airplane", "dnd", "location", "orientation-lock", "battery"}));
  set("low-power", true);
  EXPECT_TRUE(home().statusBar().state().lowPower);
}

TEST_F(StatusAndOverlaysTest, IndicatorsPackTowardsTheTrailingEdge) {
  set("wifi", false);
  CGRect battery = home().statusBar().indicatorFrame("battery");
  CGRect location = home().statusBar().indicatorFrame("location");
  EXPECT_LT(CGRectGetMaxX(location), battery.origin.x);
  EXPECT_EQ(home().statusBar().indicatorFrame("wifi"), CGRectZero);
}

TEST_F(StatusAndOverlaysTest, TheTimeFollowsTheDevicesClock) {
  EXPECT_EQ(home().statusBar().timeLabel().text(), "9:41");
  env_.fastForwardBy(seconds(60));
  EXPECT_TRUE(screen().needsDisplay());
  EXPECT_EQ(home().statusBar().timeLabel().text(), "9:42");
  screen().render(1);
  EXPECT_FALSE(screen().needsDisplay());
}

TEST_F(StatusAndOverlaysTest, AWallClockShowsItsTime) {
  screen_.reset();
  springboard::DeviceScreen::Options options;
  options.wallClock = [] { return std::time_t{0}; };
  setenv("TZ", "UTC", 1);
  tzset();
  screen_ = std::make_unique<springboard::DeviceScreen>(model(), options);
  EXPECT_EQ(screen().timeAndDate(), (std::pair<std::string, std::string>{"0:00", "Thursday, January 1"}));
}

TEST_F(StatusAndOverlaysTest, TheLockScreenCoversTheAppInFront) {
  tap(iconCenter("com.apple.Maps"));
  ASSERT_TRUE(textVisible("com.apple.Maps"));
  model().lock();
  screen().update();
  EXPECT_FALSE(textVisible("com.apple.Maps"));
  EXPECT_TRUE(textVisible("Tuesday, January 9"));
  // An icon cannot be reached through it; the home gesture unlocks, back to the app.
  tap({140, 88});
  EXPECT_EQ(model().state().apps().frontApp(), "com.apple.Maps");
  EXPECT_TRUE(model().state().apps().locked());
  drag({187, 805}, {187, 500});
  EXPECT_FALSE(model().state().apps().locked());
  EXPECT_TRUE(textVisible("com.apple.Maps"));
}

TEST_F(StatusAndOverlaysTest, SiriAndSpotlightCoverTheAppInFront) {
  tap(iconCenter("com.apple.Maps"));
  model().showSiri();
  screen().update();
  EXPECT_TRUE(textVisible("What can I help you with?"));
  EXPECT_FALSE(textVisible("com.apple.Maps"));
  model().dismissSiri();
  model().showSpotlight();
  screen().update();
  EXPECT_TRUE(textVisible("Search"));
  EXPECT_FALSE(textVisible("com.apple.Maps"));
  model().dismissSpotlight();
  screen().update();
  EXPECT_TRUE(textVisible("com.apple.Maps"));
}

TEST_F(StatusAndOverlaysTest, TheStatusBarTurnsDarkOverAnAppsLightScreen) {
  tap(iconCenter("com.apple.Maps"));
  EXPECT_EQ(home().statusBar().timeLabel().textColor(), UIColor::blackColor());
  model().showSiri();
  screen().update();
  EXPECT_EQ(home().statusBar().timeLabel().textColor(), UIColor::whiteColor());
}

TEST_F(StatusAndOverlaysTest, ABannerShowsAtTheTopAndHides) {
  springboard::BannerRequest request;
  request.bundleIdentifier = "com.apple.MobileSMS";
  request.title = "Anna";
  request.message = "See you at eight";
  ASSERT_TRUE(springboard::NotificationBanners::post(request));
  screen().update();
  EXPECT_TRUE(textVisible("See you at eight"));
  EXPECT_TRUE(textVisible("Messages"));
  EXPECT_LT(springboard::ScreenInspector::screenFrame(home().banner()).origin.y, 100);
  env_.fastForwardBy(seconds(10));
  screen().update();
  EXPECT_EQ(textVisible("See you at eight"),
            springboard::NotificationBanners::lastBanner() == springboard::PresentationState::Shown);
}

TEST_F(StatusAndOverlaysTest, ASystemAlertCoversTheScreenUntilItsButtonIsTapped) {
  screen().render(1);
  ASSERT_EQ(springboard::SystemAlerts::raise("SBUserNotificationAlert", "Low Battery", "10% of battery remaining"), "");
  EXPECT_TRUE(screen().needsDisplay());
  EXPECT_TRUE(textVisible("10% of battery remaining"));
  EXPECT_FALSE(textVisible("Settings"));
  // A tap on an icon under it reaches the alert's dimming, not the icon.
  tap(iconCenter("com.apple.Maps"));
  EXPECT_EQ(model().state().apps().frontApp(), "");
  UIView* ok = springboard::ScreenInspector::findVisibleText("OK", screen().size());
  ASSERT_NE(ok, nullptr);
  CGRect frame = springboard::ScreenInspector::screenFrame(*ok);
  tap({CGRectGetMidX(frame), CGRectGetMidY(frame)});
  EXPECT_TRUE(logged("tap UIButton \"OK\""));
  EXPECT_TRUE(logged("system alert dismissed"));
  EXPECT_EQ(springboard::SystemAlerts::lastAlert(), springboard::PresentationState::Hidden);
  EXPECT_TRUE(textVisible("Settings"));
}

}  // namespace
}  // namespace platform::test
