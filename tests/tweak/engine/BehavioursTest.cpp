#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/foundation/Log.h"
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Method.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/NotificationBanners.h"
#include "platform/springboard/SharedObjects.h"
#include "platform/springboard/SystemAlerts.h"
#include "platform/ui/UIViewController.h"
#include "tests/tweak/engine/TestHomeScreen.h"

namespace tessra::testing {
namespace {

using platform::seconds;
using platform::springboard::ButtonPress;
using platform::springboard::NotificationBanners;
using platform::springboard::PresentationState;
using platform::springboard::SystemAlerts;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr long kVolumeUp = 102, kVolumeDown = 103, kSide = 104;

// The implementations the home screen runs now for the methods of the behaviours' table (13.x:
// the banner presentation with a source action), in the table's order; null for an absent one.
std::vector<platform::RawImp> behaviourMethods() {
  static const std::pair<const char*, const char*> kTable[] = {
      {"SBApplication", "suppressesControlCenter"},
      {"SBApplication", "suppressesCoverSheetGesture"},
      {"SBReachabilityManager", "canActivateReachability"},
      {"SBHomeGestureParticipant", "ownsHomeGesture"},
      {"SpringBoard", "_handlePhysicalButtonEvent:"},
      {"_LAActivator", "sendEventToListener:"},
      {"_SBAlertController", "viewWillAppear:"},
      {"SBNotificationBannerDestination",
       "_presentNotificationViewController:modal:forRequest:sourceAction:completion:"}};
  std::vector<platform::RawImp> imps;
  for (const auto& [cls, sel] : kTable) {
    platform::Method* method =
        platform::class_getInstanceMethod(platform::objc_getClass(cls), platform::sel_registerName(sel));
    imps.push_back(method ? method->implementation() : nullptr);
  }
  return imps;
}

// A home screen with the plug-in, a key window whose controller toasts are
// drawn over, and the toasts and system-log lines seen so far.
class BehavioursTest : public ::testing::Test {
 protected:
  explicit BehavioursTest(std::string version = "13.3", bool activator = true) : home(std::move(version)) {
    auto config = home.device().state().configuration();
    config.activatorInstalled = activator;
    home.device().configure(config);
    window = std::make_shared<platform::UIWindow>(platform::CGRectMake(0, 0, 375, 812));
    window->setRootViewController(std::make_shared<platform::UIViewController>());
    window->makeKeyAndVisible();
    toastObserver_ = platform::NotificationCenter::defaultCenter().addObserver(
        "TessraToastsDidChangeNotification", nullptr, [this](const platform::Notification& n) {
          if (n.userInfo["event"].string() != "shown") return;
          const platform::plist::Value* title = n.userInfo.find("title");
          const platform::plist::Value* message = n.userInfo.find("message");
          toasts.push_back((title ? title->string() : "nil") + " | " + (message ? message->string() : "nil"));
        });
    previousSink_ = platform::Log::setSink([this](const std::string& line) { logLines.push_back(line); });
  }
  ~BehavioursTest() override {
    platform::Log::setSink(previousSink_);
    platform::NotificationCenter::defaultCenter().removeObserver(toastObserver_);
  }

  // Stores `behaviours` as active (1) for com.test.a and starts the plug-in.
  void startWith(std::vector<std::string> behaviours, int state = 1) {
    TestHomeScreen::App app;
    for (auto& name : behaviours) app.toggles.emplace_back(std::move(name), state);
    home.customize("com.test.a", app);
    home.start();
  }
  void forward(double s) { home.env.fastForwardBy(seconds(s)); }
  bool press(std::vector<ButtonPress> presses) {
    bool handled = home.device().pressButtons(presses);
    home.env.runUntilIdle();
    return handled;
  }
  size_t homePresses() { return home.device().state().eventLog().count("home button"); }
  bool bannerShown() { return NotificationBanners::lastBanner() == PresentationState::Shown; }
  bool alertShown() { return SystemAlerts::lastAlert() == PresentationState::Shown; }

  TestHomeScreen home;
  std::shared_ptr<platform::UIWindow> window;
  std::vector<std::string> toasts;
  std::vector<std::string> logLines;

 private:
  uint64_t toastObserver_ = 0;
  platform::Log::Sink previousSink_;
};

// --- The simple rules follow the app in front at every question

TEST_F(BehavioursTest, WithNoBehaviourActiveEveryQuestionGetsTheSystemAnswer) {
  const std::vector<platform::RawImp> system = behaviourMethods();
  startWith({});
  // Every method of the table is hooked, and each hook hands on the system's answer.
  const std::vector<platform::RawImp> hooked = behaviourMethods();
  for (size_t i = 0; i < system.size(); ++i) {
    EXPECT_NE(system[i], nullptr) << i;
    EXPECT_NE(hooked[i], system[i]) << i;
  }
  home.device().openApp("com.test.a");
  EXPECT_TRUE(home.device().openControlCenter());
  home.device().dismissSystemOverlays();
  EXPECT_TRUE(home.device().openNotificationCenter());
  home.device().dismissSystemOverlays();
  EXPECT_TRUE(home.device().activateReachability());
  EXPECT_TRUE(home.device().sendActivatorEvent("libactivator.lockscreen.swipe"));
  EXPECT_TRUE(home.device().state().eventLog().contains("activator listener received libactivator.lockscreen.swipe"));
  press({{kSide, 1.0}});
  press({{kSide, 0.0}});
  EXPECT_TRUE(home.device().state().apps().locked());  // the system's own side button
  home.device().unlock();
  EXPECT_TRUE(home.device().swipeHome());
}

TEST_F(BehavioursTest, EachRuleHoldsOnlyWhileItsAppIsInFront) {
  startWith({"action_disableCC", "action_disableNC", "action_disableReachability", "action_disableActivator"});
  home.device().openApp("com.test.a");
  EXPECT_FALSE(home.device().openControlCenter());
  EXPECT_FALSE(home.device().openNotificationCenter());
  EXPECT_FALSE(home.device().activateReachability());
  home.device().sendActivatorEvent("libactivator.lockscreen.swipe");
  EXPECT_FALSE(home.device().state().eventLog().contains("activator listener received libactivator.lockscreen.swipe"));
  EXPECT_TRUE(home.device().state().eventLog().contains("control center: suppressesControlCenter -> YES, blocked"));
  EXPECT_TRUE(home.device().state().eventLog().contains("reachability: canActivateReachability -> NO, blocked"));

  home.device().openApp("com.test.b");
  EXPECT_TRUE(home.device().openControlCenter());
  home.device().dismissSystemOverlays();
  EXPECT_TRUE(home.device().activateReachability());

  home.device().openApp("com.test.a");
  EXPECT_FALSE(home.device().openControlCenter());
  // Any application object answers for the app in front.
  platform::id other = platform::msgSend<platform::id, std::string>(
      platform::springboard::SharedObjects::shared().get("SBApplicationController"),
      SELECTOR("applicationWithBundleIdentifier:"), std::string("com.test.c"));
  EXPECT_TRUE(platform::msgSend<bool>(other, SELECTOR("suppressesControlCenter")));
}

TEST_F(BehavioursTest, NothingIsCachedAChangedStoreCountsAtTheNextQuestion) {
  startWith({"action_disableCC"});
  home.device().openApp("com.test.a");
  EXPECT_FALSE(home.device().openControlCenter());
  home.customize("com.test.a", {.toggles = {{"action_disableCC", 0}}});
  home.reloadStore();
  EXPECT_TRUE(home.device().openControlCenter());
}

TEST_F(BehavioursTest, OnlyStateOneIsActive) {
  startWith({"action_disableCC", "action_disableReachability"}, 2);
  home.device().openApp("com.test.a");
  EXPECT_TRUE(home.device().openControlCenter());
  EXPECT_TRUE(home.device().activateReachability());
}

TEST_F(BehavioursTest, WithThePlugInDisabledNoHookIsInstalled) {
  home.setSetting("enabled", platform::plist::Value(false));
  const std::vector<platform::RawImp> system = behaviourMethods();
  startWith({"action_disableCC", "action_disableHomeGesture"});
  EXPECT_EQ(behaviourMethods(), system);
  EXPECT_FALSE(platform::class_respondsToSelector(platform::objc_getClass("SpringBoard"),
                                                  SELECTOR("tessra_powerButtonLongPressed")));
  EXPECT_FALSE(platform::class_respondsToSelector(platform::objc_getClass("SBMainSwitcherViewController"),
                                                  SELECTOR("tessra_clearAllApps")));
  home.device().openApp("com.test.a");
  EXPECT_TRUE(home.device().openControlCenter());
  home.device().dismissSystemOverlays();
  EXPECT_TRUE(home.device().swipeHome());
}

TEST_F(BehavioursTest, OutsideTheHomeScreenNoHookIsInstalled) {
  // The Settings app loads the plug-in too (its apps page); there it starts nothing.
  platform::ProcessInfoTestApi::setProcessName("Preferences");
  const std::vector<platform::RawImp> system = behaviourMethods();
  startWith({"action_disableCC"});
  EXPECT_EQ(behaviourMethods(), system);
  EXPECT_FALSE(platform::class_respondsToSelector(platform::objc_getClass("SpringBoard"),
                                                  SELECTOR("tessra_powerButtonLongPressed")));
}

class BehavioursWithoutActivatorTest : public BehavioursTest {
 protected:
  BehavioursWithoutActivatorTest() : BehavioursTest("13.3", false) {}
};

TEST_F(BehavioursWithoutActivatorTest, TheActivatorHookIsLeftOutAndTheOthersWork) {
  startWith({"action_disableActivator", "action_disableCC"});
  home.device().openApp("com.test.a");
  EXPECT_EQ(platform::objc_getClass("_LAActivator"), nullptr);
  EXPECT_FALSE(home.device().sendActivatorEvent("libactivator.lockscreen.swipe"));
  EXPECT_FALSE(home.device().openControlCenter());
}

// --- The home gesture and its replacements

TEST_F(BehavioursTest, TheHomeGestureIsRefusedUnlessTheCoverSheetShows) {
  startWith({"action_disableHomeGesture"});
  home.device().openApp("com.test.a");
  EXPECT_FALSE(home.device().swipeHome());
  EXPECT_EQ(home.device().state().apps().frontApp(), "com.test.a");
  EXPECT_TRUE(
      home.device().state().eventLog().contains("home gesture: ownsHomeGesture -> NO (cover sheet hidden), ignored"));
  home.device().lock();
  EXPECT_TRUE(home.device().swipeHome());  // on the lock screen the gesture unlocks
  EXPECT_FALSE(home.device().state().apps().locked());
}

TEST_F(BehavioursTest, VolumeUpAndDownTogetherPressHomeAndStillReachTheSystem) {
  startWith({"action_disableHomeGesture"});
  home.device().openApp("com.test.a");
  const float volume = home.device().state().audio().volume();
  press({{kVolumeUp, 1.0}});
  EXPECT_EQ(homePresses(), 0u);
  press({{kVolumeUp, 1.0}, {kVolumeDown, 1.0}});
  EXPECT_EQ(homePresses(), 1u);
  EXPECT_TRUE(home.device().state().apps().frontApp().empty());
  EXPECT_FLOAT_EQ(home.device().state().audio().volume(), volume + 1.0f / 16);  // one up, then up and down
  press({{kVolumeUp, 0.0}, {kVolumeDown, 0.0}});
  EXPECT_EQ(homePresses(), 1u);
}

class DoublePressTest : public BehavioursTest {
 protected:
  void SetUp() override {
    home.setSetting("disableHomeGesture_activationMethod", platform::plist::Value(2));
    startWith({"action_disableHomeGesture"});
    home.device().openApp("com.test.a");
  }
};

TEST_F(DoublePressTest, TwoPressesWithinASecondPressHomeAndNeitherReachesSpringBoard) {
  EXPECT_TRUE(press({{kSide, 1.0}}));
  forward(0.5);
  EXPECT_TRUE(press({{kSide, 1.0}}));
  EXPECT_EQ(homePresses(), 1u);
  EXPECT_TRUE(home.device().state().apps().frontApp().empty());
  press({{kSide, 0.0}});
  EXPECT_FALSE(home.device().state().apps().locked());  // a release whose press-down was consumed does nothing
}

TEST_F(DoublePressTest, PressesMoreThanASecondApartStartTwoBursts) {
  press({{kSide, 1.0}});
  forward(1.5);
  press({{kSide, 1.0}});
  EXPECT_EQ(homePresses(), 0u);
  EXPECT_FALSE(home.device().state().apps().locked());
  EXPECT_EQ(home.device().state().apps().frontApp(), "com.test.a");
  forward(0.5);
  press({{kSide, 1.0}});  // the second burst completes
  EXPECT_EQ(homePresses(), 1u);
}

TEST_F(DoublePressTest, OtherButtonsStillReachTheSystem) {
  const float volume = home.device().state().audio().volume();
  press({{kVolumeDown, 1.0}});
  EXPECT_FLOAT_EQ(home.device().state().audio().volume(), volume - 1.0f / 16);
  EXPECT_EQ(homePresses(), 0u);
}

TEST_F(BehavioursTest, TriplePressWithTwoPressesInTheLastEventGoesToTheSystem) {
  home.setSetting("disableHomeGesture_activationMethod", platform::plist::Value(1));
  startWith({"action_disableHomeGesture"});
  home.device().openApp("com.test.a");
  press({{kSide, 1.0}});
  press({{kSide, 1.0}});
  EXPECT_TRUE(press({{kSide, 1.0}, {kVolumeUp, 1.0}}));  // the system handles it (and counts the press-down)
  EXPECT_EQ(homePresses(), 0u);
  press({{kSide, 1.0}});  // the count was not reset: still no home press
  EXPECT_EQ(homePresses(), 0u);
  forward(1.0);
  press({{kSide, 1.0}});
  press({{kSide, 1.0}});
  press({{kSide, 1.0}});
  EXPECT_EQ(homePresses(), 1u);
}

TEST_F(BehavioursTest, LongPressHeldPressesHomeAndAShortOneDoesNot) {
  home.setSetting("disableHomeGesture_activationMethod", platform::plist::Value(3));
  startWith({"action_disableHomeGesture"});
  home.device().openApp("com.test.a");
  press({{kSide, 1.0}});
  forward(0.1);
  press({{kSide, 0.0}});
  forward(1.0);
  EXPECT_EQ(homePresses(), 0u);
  home.device().unlock();  // the system saw that short press and locked

  press({{kSide, 1.0}});
  forward(0.3);
  EXPECT_EQ(homePresses(), 1u);
  EXPECT_TRUE(home.device().state().apps().frontApp().empty());
}

// --- Hidden banners

TEST_F(BehavioursTest, AHiddenBannerBecomesAToastWithItsSubtitleInTheTitle) {
  startWith({"action_hideNotificationBanners"});
  home.device().openApp("com.test.a");
  NotificationBanners::post({"com.test.b", "Alice", "Lunch?", "Re: plans", nullptr});
  EXPECT_TRUE(bannerShown());  // presented first, hidden from the main queue
  home.env.runUntilIdle();
  EXPECT_FALSE(bannerShown());
  EXPECT_THAT(toasts, ElementsAre("Alice - Re: plans | Lunch?"));
  EXPECT_TRUE(home.device().state().eventLog().contains(
      "banner dismissed with _dismissPresentedBannerAnimated:reason:forceIfSticky:"));

  NotificationBanners::post({"com.test.b", "Bob", "Hi", std::nullopt, nullptr});
  forward(4);
  EXPECT_THAT(toasts, ElementsAre("Alice - Re: plans | Lunch?", "Bob | Hi"));
  ASSERT_EQ(logLines.size(), 2u);
  EXPECT_THAT(logLines[0],
              ::testing::MatchesRegex(
                  R"(\[Actions:[0-9]+\] -\[<SBNotificationBannerDestination: 0x[0-9a-f]+> )"
                  R"(_presentNotificationViewController:<NCNotificationShortLookViewController: 0x[0-9a-f]+> )"
                  R"(modal:0 forRequest:<NCNotificationRequest: 0x[0-9a-f]+> sourceAction:\(null\) )"
                  R"(completion:\(null\)\])"));
}

TEST_F(BehavioursTest, BannersOfOtherAppsInFrontStayAndToastsCanBeTurnedOff) {
  home.setSetting("hideNotificationBanners_showToastsEnabled", platform::plist::Value(false));
  startWith({"action_hideNotificationBanners"});
  home.device().openApp("com.test.b");
  NotificationBanners::post({"com.test.c", "T", "M", std::nullopt, nullptr});
  home.env.runUntilIdle();
  EXPECT_TRUE(bannerShown());
  home.device().openApp("com.test.a");
  NotificationBanners::post({"com.test.c", "T", "M", std::nullopt, nullptr});
  home.env.runUntilIdle();
  EXPECT_FALSE(bannerShown());
  EXPECT_THAT(toasts, IsEmpty());
}

TEST_F(BehavioursTest, HeldInLandscapeTheToastOfAHiddenBannerTurnsWithTheDevice) {
  startWith({"action_hideNotificationBanners"});
  home.device().openApp("com.test.a");
  home.device().state().display().setOrientation(4);  // landscape right, asked of UIDevice by the toast
  NotificationBanners::post({"com.test.b", "Alice", "Lunch?", std::nullopt, nullptr});
  home.env.runUntilIdle();
  platform::UIView* host = window->rootViewController()->view();
  ASSERT_EQ(host->subviews().size(), 1u);
  const platform::UIView& toast = *host->subviews().back();
  EXPECT_EQ(toast.transform(), platform::CGAffineTransformMakeRotation(3 * M_PI / 2));
  // Against the right edge of the portrait screen (the bottom of the held device), centred.
  EXPECT_NEAR(toast.center().x, 375 - toast.frame().size.width / 2 - 10, 1e-9);
  EXPECT_EQ(toast.center().y, 406);
  EXPECT_GT(toast.frame().size.height, toast.frame().size.width);
}

class BannersOnTwelveTest : public BehavioursTest {
 protected:
  BannersOnTwelveTest() : BehavioursTest("12.4") {}
};

TEST_F(BannersOnTwelveTest, TheShorterPresentationIsHookedAndTheOlderDismissalUsed) {
  startWith({"action_hideNotificationBanners"});
  home.device().openApp("com.test.a");
  NotificationBanners::post({"com.test.b", std::nullopt, "Only a message", std::nullopt, nullptr});
  home.env.runUntilIdle();
  EXPECT_FALSE(bannerShown());
  EXPECT_TRUE(home.device().state().eventLog().contains("banner dismissed with dismissPresentedBannerAnimated:"));
  EXPECT_THAT(toasts, ElementsAre("nil | Only a message"));  // a plain toast of the message
  ASSERT_EQ(logLines.size(), 1u);
  EXPECT_EQ(logLines[0].find("sourceAction"), std::string::npos);
  // A subtitle without a title: "%@ - %@" writes the missing title as (null).
  NotificationBanners::post({"com.test.b", std::nullopt, "M", "Sub", nullptr});
  forward(4);
  EXPECT_THAT(toasts, ElementsAre("nil | Only a message", "(null) - Sub | M"));
}

// --- Hidden stock alerts

TEST_F(BehavioursTest, AHiddenAlertIsDeactivatedAndToldInAToastASecondLater) {
  startWith({"action_hideStockAlerts"});
  home.device().openApp("com.test.a");
  EXPECT_EQ(SystemAlerts::raise("SBLowPowerAlertItem", "Low Battery", "10% remaining"), "");
  EXPECT_FALSE(alertShown());
  EXPECT_TRUE(home.device().state().eventLog().contains("system alert SBLowPowerAlertItem deactivated"));
  forward(0.99);
  EXPECT_THAT(toasts, IsEmpty());
  forward(0.02);
  EXPECT_THAT(toasts, ElementsAre("Low Battery | 10% remaining"));
}

TEST_F(BehavioursTest, TheWhitelistedAlertAndAlertsWithoutTextBehave) {
  startWith({"action_hideStockAlerts"});
  home.device().openApp("com.test.a");
  SystemAlerts::raise("SBUserNotificationAlert", "From an app", "Allow?");
  EXPECT_TRUE(alertShown());
  SystemAlerts::raise("SBDiskSpaceAlertItem", std::nullopt, std::nullopt);
  EXPECT_FALSE(alertShown());
  forward(2);
  EXPECT_THAT(toasts, IsEmpty());
  home.device().openApp("com.test.b");
  SystemAlerts::raise("SBDiskSpaceAlertItem", "Storage", std::nullopt);
  EXPECT_TRUE(alertShown());
}

}  // namespace
}  // namespace tessra::testing
