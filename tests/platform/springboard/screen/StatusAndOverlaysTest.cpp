// The status bar following the device, and what covers what: the lock screen, Siri, Spotlight, banners.
#include "platform/runtime/MessageSend.h"
#include "platform/springboard/NCNotificationShortLookView.h"
#include "platform/springboard/NCNotificationShortLookViewController.h"
#include "platform/springboard/NotificationBanners.h"
#include "platform/springboard/SBNotificationBannerDestination.h"
#include "platform/springboard/SystemAlerts.h"
#include "platform/springboard/screen/BannerView.h"
#include "platform/springboard/screen/StatusBarView.h"
#include "platform/springboard/screen/SystemAlertView.h"
#include "platform/ui/UIImageView.h"
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
  // Hides or shows the view of the banner presented last, as a plug-in does.
  void hideShortLook(bool hidden) {
    id view = SBNotificationBannerDestination::sharedInstance()->presentedBanner()->view();
    msgSend<void, bool>(view, SELECTOR("setHidden:"), hidden);
  }
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

TEST_F(StatusAndOverlaysTest, TheBatteryFollowsTheDevicesLevelAndCharging) {
  using springboard::BatteryCharging;
  const springboard::StatusBarView& bar = home().statusBar();
  const UIColor white = UIColor::whiteColor();
  auto glyphShown = [&] { return bar.shownBatteryGlyph(); };
  auto tint = [&] { return bar.batteryIndicator().tintColor(); };
  // A fresh device: full, not charging, in the bar's own colour.
  EXPECT_EQ(bar.batteryLabel().text(), "100%");
  EXPECT_EQ(glyphShown(), 0xF079u);
  EXPECT_EQ(tint(), white);

  model().state().battery().set(64, BatteryCharging::No);
  screen().update();
  EXPECT_TRUE(logged("battery -> 64%"));
  EXPECT_EQ(bar.batteryLabel().text(), "64%");
  EXPECT_EQ(glyphShown(), 0xF07Fu) << "battery-60";
  EXPECT_EQ(tint(), white);

  // Low: red; charging: green, with the bolt; low power mode wins: yellow.
  model().state().battery().set(17, BatteryCharging::No);
  screen().update();
  EXPECT_EQ(bar.batteryLabel().text(), "17%");
  EXPECT_EQ(glyphShown(), 0xF07Bu) << "battery-20";
  EXPECT_EQ(tint(), UIColor(1, 0.23, 0.19, 1));
  model().state().battery().set(17, BatteryCharging::Yes);
  screen().update();
  EXPECT_TRUE(logged("battery -> 17% charging"));
  EXPECT_EQ(glyphShown(), 0xF086u) << "battery-charging-20";
  EXPECT_EQ(tint(), UIColor(0.2, 0.78, 0.35, 1));
  set("low-power", true);
  EXPECT_EQ(tint(), UIColor(1, 0.8, 0, 1));
  set("low-power", false);

  // The ends: never shown empty above 0 % nor full below 100 %; the level is clamped.
  const std::pair<int, char32_t> ends[] = {{0, 0xF08E}, {1, 0xF07A}, {99, 0xF082}, {100, 0xF079}, {250, 0xF079}};
  for (auto [percent, glyph] : ends) {
    model().state().battery().set(percent, BatteryCharging::No);
    screen().update();
    EXPECT_EQ(glyphShown(), glyph) << percent;
  }
  EXPECT_EQ(bar.batteryLabel().text(), "100%");
  springboard::StatusBarState low;
  low.batteryPercent = 3;
  low.charging = true;
  EXPECT_EQ(springboard::StatusBarView::batteryGlyph(low), 0xF084u) << "below the first charging glyph: the bolt alone";
  // A change of the battery alone asks for a new frame.
  screen().render(1);
  model().state().battery().set(2, BatteryCharging::Yes);
  EXPECT_TRUE(screen().needsDisplay());
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

TEST_F(StatusAndOverlaysTest, ABannerSlidesDownFromAboveTheScreenAndBackUp) {
  const springboard::BannerView& banner = home().banner();
  // Where the card is drawn now: its laid-out place (centre and size) moved by the presented transform.
  auto drawnTop = [&] {
    return banner.center().y - banner.bounds().size.height / 2 + banner.layer().presentation().transform.ty;
  };
  springboard::BannerRequest request{"com.apple.MobileSMS", "Anna", "See you at eight", std::nullopt, nullptr};
  ASSERT_TRUE(springboard::NotificationBanners::post(request));
  screen().update();
  const double restingTop = banner.center().y - banner.bounds().size.height / 2;
  const double height = banner.bounds().size.height;
  // It starts wholly above the screen, eases out on the way down and rests in place after 0.4 s.
  EXPECT_TRUE(banner.isPresented());
  EXPECT_DOUBLE_EQ(drawnTop(), -height - 4);
  env_.fastForwardBy(seconds(0.1));
  const double early = drawnTop();
  env_.fastForwardBy(seconds(0.1));
  const double halfway = drawnTop();
  EXPECT_GT(early, -height - 4);
  EXPECT_GT(halfway - early, 0);
  EXPECT_GT(halfway, (restingTop + -height - 4) / 2) << "easing out: past the middle at half time";
  EXPECT_LT(halfway, restingTop);
  env_.fastForwardBy(seconds(0.2));
  EXPECT_DOUBLE_EQ(drawnTop(), restingTop);
  // The same banner asked again does not slide again.
  screen().update();
  EXPECT_DOUBLE_EQ(drawnTop(), restingTop);

  // Hidden by whoever holds it: it slides back up, easing in, and is hidden once above the screen.
  hideShortLook(true);
  screen().update();
  EXPECT_FALSE(banner.isPresented());
  EXPECT_FALSE(banner.isHidden());
  EXPECT_DOUBLE_EQ(drawnTop(), restingTop);
  EXPECT_FALSE(textVisible("See you at eight")) << "the model value is already above the screen";
  env_.fastForwardBy(seconds(0.15));
  EXPECT_LT(drawnTop(), restingTop);
  EXPECT_GT(drawnTop(), (restingTop + -height - 4) / 2) << "easing in: not yet past the middle at half time";
  env_.fastForwardBy(seconds(0.2));
  EXPECT_TRUE(banner.isHidden());
  EXPECT_EQ(banner.transform(), CGAffineTransformIdentity);
}

TEST_F(StatusAndOverlaysTest, ABannerShownAgainWhileGoingOutComesBackFromWhereItIs) {
  const springboard::BannerView& banner = home().banner();
  ASSERT_TRUE(springboard::NotificationBanners::post(
      {"com.apple.MobileSMS", "Anna", "See you at eight", std::nullopt, nullptr}));
  screen().update();
  env_.fastForwardBy(seconds(1));
  hideShortLook(true);
  screen().update();
  env_.fastForwardBy(seconds(0.15));
  const double goingOut = banner.layer().presentation().transform.ty;
  ASSERT_LT(goingOut, 0);
  hideShortLook(false);
  screen().update();
  EXPECT_TRUE(banner.isPresented());
  EXPECT_DOUBLE_EQ(banner.layer().presentation().transform.ty, goingOut);
  env_.fastForwardBy(seconds(1));
  // The cut-short slide's completion does not hide the banner that came back.
  EXPECT_FALSE(banner.isHidden());
  EXPECT_DOUBLE_EQ(banner.layer().presentation().transform.ty, 0);
  EXPECT_TRUE(textVisible("See you at eight"));
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
