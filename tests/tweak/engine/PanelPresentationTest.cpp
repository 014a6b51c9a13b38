// The panel opened for real in a home screen that loads the built plug-in:
// the "Tessra" item of the quick-action menus (from 13.0 and below), its
// subtitle and its row's icon and strip, the panel from the item and from
// the settings bundle's request, the status bar and the iPad dock, and what
// closes the panel. The plug-in's classes are reached as the screen shows
// them: by their views' accessibility identifiers.
#include <gtest/gtest.h>

#include <memory>

#include "platform/foundation/DistributedNotificationCenter.h"
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/screen/DeviceScreen.h"
#include "platform/springboard/screen/DockView.h"
#include "platform/springboard/screen/HomeScreenView.h"
#include "platform/springboard/screen/IconView.h"
#include "platform/springboard/screen/QuickActionMenu.h"
#include "platform/springboard/screen/QuickActionRowView.h"
#include "platform/springboard/screen/ScreenInspector.h"
#include "platform/springboard/screen/StatusBarView.h"
#include "platform/ui/UIColor.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIViewController.h"
#include "platform/ui/UIVisualEffectView.h"
#include "tests/tweak/engine/TestHomeScreen.h"
#include "tweak/panel/PanelIdentifiers.h"

namespace tessra::testing {
namespace {

using platform::CGPoint;
using platform::CGRect;
using platform::seconds;
using platform::UIView;
namespace ids = panel_identifiers;

UIView* findIdentified(UIView* view, std::string_view identifier) {
  if (!view) return nullptr;
  if (view->accessibilityIdentifier() == identifier) return view;
  for (const auto& sub : view->subviews())
    if (UIView* found = findIdentified(sub.get(), identifier)) return found;
  return nullptr;
}

CGPoint centreOf(const UIView& view) {
  CGRect r = view.convertRect(view.bounds(), nullptr);
  return {r.origin.x + r.size.width / 2, r.origin.y + r.size.height / 2};
}

class PanelPresentation {
 public:
  struct Options {
    std::string version = "13.3";
    platform::springboard::DeviceKind kind = platform::springboard::DeviceKind::Phone;
    std::string language = "en_US";
  };
  explicit PanelPresentation(Options options) : home(options.version, options.kind) {
    platform::springboard::DeviceScreen::Options screenOptions;
    screenOptions.language = options.language;
    // The bundle's images (the row's icon, the strip's icons).
    std::filesystem::path bundle = platform::DevicePaths::root() / "Library/Application Support/Tessra2Bundle.bundle";
    std::filesystem::create_directories(bundle.parent_path());
    std::filesystem::copy(TESSRA_PLUGIN_BUNDLE_DIR, bundle, std::filesystem::copy_options::recursive);
    screen = std::make_unique<platform::springboard::DeviceScreen>(home.device(), screenOptions);
  }
  ~PanelPresentation() {
    screen.reset();
    home.env.fastForwardBy(seconds(2));
  }

  // Loads the plug-in; then the status bar and the dock lay out (as at each tick of the clock).
  void start() {
    home.start();
    screen->home().statusBar().setNeedsLayout();
    screen->home().dock().setNeedsLayout();
    screen->update();
    home.env.runUntilIdle();
  }
  void tap(CGPoint p) {
    screen->touch(platform::UITouchPhase::Began, p);
    home.env.fastForwardBy(seconds(0.05));
    screen->touch(platform::UITouchPhase::Ended, p);
    home.env.runUntilIdle();
  }
  void pressIcon(const std::string& bundleId) {
    auto* icon = screen->home().iconFor(bundleId);
    ASSERT_NE(icon, nullptr);
    CGRect square = icon->convertRect(icon->iconFrame(), nullptr);
    CGPoint p{CGRectGetMidX(square), CGRectGetMidY(square)};
    screen->touch(platform::UITouchPhase::Began, p);
    home.env.fastForwardBy(seconds(0.6));
    screen->touch(platform::UITouchPhase::Ended, p);
    home.env.runUntilIdle();
  }
  platform::springboard::QuickActionMenu& menu() { return screen->home().menu(); }
  platform::springboard::QuickActionRowView* row(const std::string& title) {
    for (const auto& r : menu().rows())
      if (r->title() == title) return r.get();
    return nullptr;
  }
  void tapRow(const std::string& title) {
    auto* r = row(title);
    ASSERT_NE(r, nullptr) << title;
    tap(centreOf(*r));
  }
  // The open panel's root view (not being dismissed), or null.
  UIView* panel() {
    UIView* root = findIdentified(&screen->window(), ids::kPanel);
    if (!root || !root->window()) return nullptr;
    if (root->viewController() && root->viewController()->isBeingDismissed()) return nullptr;
    return root;
  }
  void settle(double s = 1) { home.env.fastForwardBy(seconds(s)); }
  std::shared_ptr<UIView> thingsViewOf(platform::springboard::QuickActionRowView* r) {
    return platform::msgSend<std::shared_ptr<UIView>>(r->object(), SELECTOR("customizedThingsView"));
  }

  TestHomeScreen home;
  std::unique_ptr<platform::springboard::DeviceScreen> screen;
};

class PanelPresentationTest : public ::testing::Test {
 protected:
  PanelPresentation& make(PanelPresentation::Options options = {}) {
    device.reset();
    device = std::make_unique<PanelPresentation>(std::move(options));
    return *device;
  }
  std::unique_ptr<PanelPresentation> device;
};

// --- The item ---

TEST_F(PanelPresentationTest, EveryIconOffersTheItemLastWithCustomizeAsSubtitle) {
  auto& d = make();
  d.start();
  d.pressIcon("com.test.a");
  ASSERT_TRUE(d.menu().isOpen());
  ASSERT_FALSE(d.menu().rows().empty());
  EXPECT_EQ(d.menu().rows().back()->title(), "Tessra");
  EXPECT_EQ(d.menu().rows().back()->subtitle(), "Customize...");
  d.settle(0.2);
  EXPECT_EQ(d.thingsViewOf(d.menu().rows().back().get()), nullptr);  // nothing to show
}

TEST_F(PanelPresentationTest, ACustomizedAppGetsSixtyNineSpacesAndAStripOfItsThings) {
  auto& d = make();
  d.home.customize("com.test.a", {.volume = 0.4, .toggles = {{"wifi", 1}, {"dnd", 0}}});
  d.start();
  d.pressIcon("com.test.a");
  auto* tessra = d.row("Tessra");
  ASSERT_NE(tessra, nullptr);
  EXPECT_EQ(tessra->subtitle(), std::string(69, ' '));
  const CGRect subtitle = tessra->subtitleLabel().frame();
  d.settle(0.2);
  auto strip = d.thingsViewOf(tessra);
  ASSERT_NE(strip, nullptr);
  const double h = subtitle.size.height;
  EXPECT_EQ(strip->frame(), platform::CGRectMake(subtitle.origin.x + 2, subtitle.origin.y + 2,
                                                 std::min((h - 2) * 3 + 16, subtitle.size.width), h - 2));
  EXPECT_EQ(strip->alpha(), 0.8);
  EXPECT_EQ(strip->superview(), &tessra->labelsView());
}

// The settings bundle finds the strip's class by name once the plug-in library is loaded.
TEST_F(PanelPresentationTest, TheLoadedPluginMakesStripsByTheClassName) {
  auto& d = make();
  d.home.customize("com.test.a", {.volume = 0.4, .toggles = {{"wifi", 1}, {"dnd", 0}}});
  d.start();
  platform::Class* cls = platform::objc_getClass("TSCustomizedThingsView");
  ASSERT_NE(cls, nullptr);
  auto strip = platform::msgSend<std::shared_ptr<UIView>, CGRect, std::string, platform::UIColor>(
      cls, "initWithFrame:bundleId:uiColor:", platform::CGRectMake(0, 0, 64, 16), std::string("com.test.a"),
      platform::UIColor::whiteColor());
  ASSERT_NE(strip, nullptr);
  EXPECT_EQ(strip->frame(), platform::CGRectMake(0, 0, 64, 16));
  // One row of icons, each with its badge: the volume, then the switches.
  ASSERT_EQ(strip->subviews().size(), 1u);
  std::vector<std::string> badges;
  for (const auto& icon : strip->subviews()[0]->subviews()) {
    EXPECT_NEAR(icon->frame().size.width, 64.0 / 3 - 4, 1e-9);
    EXPECT_EQ(icon->alpha(), 0.65);
    for (const auto& sub : icon->subviews())
      if (auto* badge = dynamic_cast<platform::UILabel*>(sub.get())) badges.push_back(badge->text());
  }
  EXPECT_EQ(badges, (std::vector<std::string>{"40%", "On", "Off"}));
}

TEST_F(PanelPresentationTest, HideTessraMenuLeavesTheItemOut) {
  auto& d = make();
  d.home.setSetting("hideTessraMenu", platform::plist::Value(true));
  d.start();
  d.pressIcon("com.test.b");
  EXPECT_EQ(d.row("Tessra"), nullptr);
}

TEST_F(PanelPresentationTest, ItemsBeforeStockItemsPutsTheItemFirst) {
  auto& e = make();
  e.home.setSetting("itemsBeforeStockItems", platform::plist::Value(true));
  e.start();
  e.pressIcon("com.test.b");
  ASSERT_FALSE(e.menu().rows().empty());
  EXPECT_EQ(e.menu().rows().front()->title(), "Tessra");
}

TEST_F(PanelPresentationTest, OnThirteenTwoTheIconIsMadeTwentyFourPointsSquare) {
  auto& d = make({.version = "13.2"});
  d.start();
  d.pressIcon("com.test.a");
  ASSERT_NE(d.row("Tessra"), nullptr);
  ASSERT_NE(d.row("Tessra")->image(), nullptr);
  EXPECT_EQ(d.row("Tessra")->image()->size(), (platform::CGSize{24, 24}));
}

TEST_F(PanelPresentationTest, OnThirteenThreeTheIconKeepsItsOwnSize) {
  auto& e = make({.version = "13.3"});
  e.start();
  e.pressIcon("com.test.a");
  ASSERT_NE(e.row("Tessra"), nullptr);
  ASSERT_NE(e.row("Tessra")->image(), nullptr);
  EXPECT_EQ(e.row("Tessra")->image()->size(), (platform::CGSize{30, 30}));
}

TEST_F(PanelPresentationTest, RightToLeftPutsTheStripAgainstTheRightEdge) {
  auto& d = make({.language = "ar"});
  d.home.customize("com.test.a", {.toggles = {{"wifi", 1}}});
  d.start();
  d.pressIcon("com.test.a");
  auto* tessra = d.row("Tessra");
  ASSERT_NE(tessra, nullptr);
  const CGRect subtitle = tessra->subtitleLabel().frame();
  d.settle(0.2);
  auto strip = d.thingsViewOf(tessra);
  ASSERT_NE(strip, nullptr);
  const double width = std::min(subtitle.size.height - 2, subtitle.size.width);
  EXPECT_DOUBLE_EQ(strip->frame().origin.x, subtitle.origin.x + 2 + (subtitle.size.width - width) - 2);
}

// --- Opening and closing ---

TEST_F(PanelPresentationTest, TheItemOpensThePanelOverTheHomeScreenAndHidesTheStatusBar) {
  auto& d = make();
  d.start();
  auto& bar = d.screen->home().statusBar();
  const CGRect barFrame = bar.frame();
  d.pressIcon("com.test.c");
  d.tapRow("Tessra");
  EXPECT_FALSE(d.menu().isOpen());
  ASSERT_NE(d.panel(), nullptr);
  auto* name = dynamic_cast<platform::UILabel*>(findIdentified(d.panel(), ids::kAppNameLabel));
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->text(), "Charlie");
  auto* blur = dynamic_cast<platform::UIVisualEffectView*>(findIdentified(d.panel(), ids::kBackdrop));
  ASSERT_NE(blur, nullptr);
  d.settle(0.2);
  EXPECT_EQ(bar.frame().origin.y, -barFrame.size.height);

  // A tap on the backdrop closes it and brings the status bar back.
  d.tap({20, 300});
  EXPECT_EQ(d.panel(), nullptr);
  d.settle();
  EXPECT_EQ(bar.frame(), barFrame);
  EXPECT_EQ(findIdentified(&d.screen->window(), ids::kPanel), nullptr);
}

TEST_F(PanelPresentationTest, APanelTapSavesForTheAppAndTheEngineAppliesItWhenTheAppOpens) {
  auto& d = make();
  d.home.setSwitch("wifi", true);
  d.start();
  d.pressIcon("com.test.a");
  d.tapRow("Tessra");
  d.settle();
  UIView* wifi = findIdentified(findIdentified(d.panel(), ids::kTogglesRing), "wifi");
  ASSERT_NE(wifi, nullptr);
  d.tap(centreOf(*wifi));
  d.tap(centreOf(*wifi));  // on, then off
  d.tap({20, 300});
  d.settle();
  d.home.device().openApp("com.test.a");
  d.settle();
  EXPECT_FALSE(d.home.switchOn("wifi"));
}

TEST_F(PanelPresentationTest, TheHomeScreenDisappearingClosesThePanel) {
  auto& d = make();
  d.start();
  d.pressIcon("com.test.a");
  d.tapRow("Tessra");
  d.settle();
  ASSERT_NE(d.panel(), nullptr);
  d.home.device().openApp("com.test.b");
  d.home.env.runUntilIdle();
  EXPECT_EQ(d.panel(), nullptr);
}

TEST_F(PanelPresentationTest, TheSettingsRequestOpensADarkPanelOnceTheSettingsAppWasInFront) {
  auto& d = make();
  d.home.setSetting("interfaceColorStyle", platform::plist::Value(1));
  d.start();
  auto request = [&] {
    platform::DistributedNotificationCenter::shared().postNotification(
        "tessra2.showTessraInterfaceWithBundleId",
        platform::plist::Value(platform::plist::Dictionary{{"bundleId", platform::plist::Value("com.test.b")}}));
    d.home.env.runUntilIdle();
  };
  request();
  EXPECT_EQ(d.panel(), nullptr);  // the Settings app was never in front

  d.home.device().openApp("com.apple.Preferences");
  d.settle();
  request();
  ASSERT_NE(d.panel(), nullptr);
  auto* blur = dynamic_cast<platform::UIVisualEffectView*>(findIdentified(d.panel(), ids::kBackdrop));
  ASSERT_NE(blur, nullptr);
  EXPECT_EQ(blur->effect()->style(), platform::UIBlurEffectStyle::Dark);
}

// Brightness (0 dark ... 1 light) at window point `p` of the screen drawn small (a colour needs few pixels).
double brightnessAt(PanelPresentation& d, CGPoint p) {
  constexpr double kScale = 0.5;
  d.screen->update();
  auto image = d.screen->render(kScale);
  const uint32_t argb = image->pixelAt(static_cast<int>(p.x * kScale), static_cast<int>(p.y * kScale));
  return (0.2126 * ((argb >> 16) & 0xFF) + 0.7152 * ((argb >> 8) & 0xFF) + 0.0722 * (argb & 0xFF)) / 255.0;
}

// A free spot of the backdrop, beside the ring.
constexpr CGPoint kBackdropSpot{20, 600};

// What the panel's style decides, read from its views: the backdrop's blur, the slider disc's
// and a not-customized button's backgrounds; and how bright the backdrop and that button are drawn.
struct PanelLook {
  platform::UIBlurEffectStyle blur = platform::UIBlurEffectStyle::Light;
  double discAlpha = 0;
  double buttonAlpha = 0;
  double backdrop = 0;
  double buttonRim = 0;  // the wifi button beside its icon
};

PanelLook lookOf(PanelPresentation& d) {
  PanelLook look;
  UIView* panel = d.panel();
  if (!panel) return look;
  auto* blur = dynamic_cast<platform::UIVisualEffectView*>(findIdentified(panel, ids::kBackdrop));
  UIView* disc = findIdentified(panel, ids::kSliderDisc);
  UIView* wifi = findIdentified(findIdentified(panel, ids::kTogglesRing), "wifi");
  if (!blur || !disc || !wifi) return look;
  look.blur = blur->effect()->style();
  look.discAlpha = disc->backgroundColor() ? disc->backgroundColor()->alpha() : 0;
  look.buttonAlpha = wifi->backgroundColor() ? wifi->backgroundColor()->alpha() : 0;
  look.backdrop = brightnessAt(d, kBackdropSpot);
  const CGPoint centre = centreOf(*wifi);
  look.buttonRim = brightnessAt(d, {centre.x, centre.y + wifi->bounds().size.height * 0.4});
  return look;
}

TEST_F(PanelPresentationTest, APanelFromTheSettingsRequestIsDarkAndTheNextFromAnIconLightAgain) {
  auto& d = make();
  d.home.setSetting("interfaceColorStyle", platform::plist::Value(1));  // the light style
  d.start();
  d.home.device().openApp("com.apple.Preferences");
  d.settle();
  const double settingsApp = brightnessAt(d, kBackdropSpot);
  platform::DistributedNotificationCenter::shared().postNotification(
      "tessra2.showTessraInterfaceWithBundleId",
      platform::plist::Value(platform::plist::Dictionary{{"bundleId", platform::plist::Value("com.test.b")}}));
  d.home.env.runUntilIdle();
  ASSERT_NE(d.panel(), nullptr);
  d.settle();
  const PanelLook dark = lookOf(d);
  EXPECT_EQ(dark.blur, platform::UIBlurEffectStyle::Dark);
  EXPECT_EQ(dark.discAlpha, 0.25);
  EXPECT_EQ(dark.buttonAlpha, 0.5);
  EXPECT_LT(dark.backdrop, settingsApp - 0.1);
  EXPECT_LT(dark.buttonRim, dark.backdrop - 0.05);

  // Closed, and opened again from the home screen's icon: the settings' light style is back.
  d.tap(kBackdropSpot);
  d.settle();
  ASSERT_EQ(d.panel(), nullptr);
  d.home.device().goHome();
  d.settle();
  const double homeScreen = brightnessAt(d, kBackdropSpot);
  d.pressIcon("com.test.b");
  d.tapRow("Tessra");
  ASSERT_NE(d.panel(), nullptr);
  d.settle();
  const PanelLook light = lookOf(d);
  EXPECT_EQ(light.blur, platform::UIBlurEffectStyle::Light);
  EXPECT_EQ(light.discAlpha, 0.15);
  EXPECT_EQ(light.buttonAlpha, 0.2);
  EXPECT_GT(light.backdrop, homeScreen + 0.05);
  EXPECT_GT(light.buttonRim, dark.buttonRim + 0.1);
}

TEST_F(PanelPresentationTest, BelowThirteenTheForceTouchMenuClosesBeforeThePanelOpens) {
  auto& d = make({.version = "12.4"});
  d.home.customize("com.test.a", {.toggles = {{"wifi", 1}, {"bluetooth", 0}}});
  d.start();
  d.pressIcon("com.test.a");
  auto* tessra = d.row("Tessra");
  ASSERT_NE(tessra, nullptr);
  EXPECT_EQ(tessra->subtitle(), std::string(69, ' '));
  d.settle(0.2);
  auto strip = d.thingsViewOf(tessra);
  ASSERT_NE(strip, nullptr);
  EXPECT_EQ(strip->superview(), tessra);
  d.tapRow("Tessra");
  EXPECT_FALSE(d.menu().isOpen());
  EXPECT_NE(d.panel(), nullptr);
}

TEST_F(PanelPresentationTest, OnATabletTheFloatingDockHidesWhileThePanelShows) {
  auto& d = make({.kind = platform::springboard::DeviceKind::Tablet});
  d.start();
  auto& dock = d.screen->home().dock();
  const CGRect dockFrame = dock.frame();
  d.pressIcon("com.test.a");
  d.tapRow("Tessra");
  d.settle();
  EXPECT_EQ(dock.alpha(), 0);
  EXPECT_EQ(dock.frame().origin.y, dockFrame.origin.y + dockFrame.size.height);
  d.tap({20, 300});
  d.settle();
  EXPECT_EQ(dock.alpha(), 1);
  EXPECT_EQ(dock.frame(), dockFrame);
}

}  // namespace
}  // namespace tessra::testing
