// The apps page: the blocklist, which installed apps are listed and in what
// order, the customized section with its summaries, the request to open the
// panel and the reset after two confirmations.
#include "platform/preferences/UIBarButtonItem.h"
#include "platform/runtime/Runtime.h"
#include "platform/ui/UIAlertController.h"
#include "platform/ui/UILabel.h"
#include "prefs/TSAppsCustomizationPrefsListController.h"
#include "tests/prefs/SettingsPagesFixture.h"
#include "tweak/store/TessraStorageManager.h"

namespace tessra::prefs::testing {
namespace {

using namespace platform;
using Page = TSAppsCustomizationPrefsListController;

// The summary strip's frames, as the page asked for them.
std::vector<CGRect>& summaryFrames() {
  static std::vector<CGRect> frames;
  return frames;
}

std::shared_ptr<UIView> makeSummary(id, SEL, CGRect frame, std::string, UIColor) {
  summaryFrames().push_back(frame);
  return std::make_shared<UIView>(frame);
}

plist::Value app(const std::string& id, const std::string& name, const std::string& type, bool icon = true) {
  plist::Dictionary d{{"bundleIdentifier", id}, {"displayName", name}, {"type", type}};
  if (icon) d.set("icon", "AppIcon60x60");
  return d;
}

class AppsPageTest : public SettingsPagesTest {
 protected:
  void SetUp() override {
    SettingsPagesTest::SetUp();
    summaryFrames().clear();
    Class* cls = Runtime::allocateClass("TSCustomizedThingsView", Runtime::rootClass());
    class_addMethod(cls->metaclass(), sel_registerName("initWithFrame:bundleId:uiColor:"), &makeSummary);
    Runtime::registerClass(cls);
    writeApps(plist::Array{
        app("com.apple.Maps", "Maps", "system"),
        app("com.apple.mobilesafari", "Safari", "system"),
        app("com.apple.Preferences", "Settings", "system"),
        app("com.apple.Diagnostics", "Diagnostics", "system"),
        app("com.apple.PassbookStickers", "Stickers", "system"),
        app("com.waze.iphone", "Waze", "user"),
        app("com.spotify.client", "Spotify", "user"),
        app("com.example.lower", "alpha", "user"),
        app("com.example.upper", "Zulu", "user"),
        app("com.example.noicon", "No Icon", "user", false),
        app("com.example.noname", "", "user"),
    });
  }
  void TearDown() override {
    SettingsPagesTest::TearDown();
    Runtime::unregisterClass("TSCustomizedThingsView");
  }
  void customize(const plist::Dictionary& apps) { HBPreferences(kDomain).setObject(apps, "customizedApps"); }
  Page* openApps() {
    open("TSPrefsListController");
    tap("Customize Apps");
    env_.runUntilIdle();
    window_->layoutIfNeeded();
    return top<Page>();
  }
  // The titles of a section's rows, in order.
  std::vector<std::string> rows(long section) {
    std::vector<std::string> titles;
    auto* page = top<Page>();
    for (long r = 0; r < page->table()->numberOfRowsInSection(section); ++r)
      titles.push_back(page->specifierAtIndexPath({section, r})->name());
    return titles;
  }
  UIAlertController* alert() { return dynamic_cast<UIAlertController*>(nav_->presentedViewController().get()); }
  void answer(const std::string& title) {
    ASSERT_NE(alert(), nullptr);
    ASSERT_TRUE(alert()->tapActionWithTitle(title));
    env_.fastForwardBy(seconds(1));
  }
};

TEST_F(AppsPageTest, TheBlocklistHidesServicesStickersAndTheListedIdentifiersExactly) {
  EXPECT_EQ(Page::blockedBundleIdentifiers().size(), 39u);
  for (auto id : Page::blockedBundleIdentifiers()) EXPECT_TRUE(Page::isBlackListedBundleId(id)) << id;
  EXPECT_EQ(Page::blockedBundleIdentifiers().front(), "com.apple.CarPlaySettings");
  EXPECT_EQ(Page::blockedBundleIdentifiers().back(), "com.apple.icq");
  EXPECT_TRUE(Page::isBlackListedBundleId("com.apple.family.SeRvIcE"));
  EXPECT_TRUE(Page::isBlackListedBundleId("x.com.apple.STICKERS"));
  EXPECT_FALSE(Page::isBlackListedBundleId("com.example.service"));
  EXPECT_FALSE(Page::isBlackListedBundleId("COM.APPLE.service"));
  EXPECT_FALSE(Page::isBlackListedBundleId("com.apple.webapp2"));
  EXPECT_FALSE(Page::isBlackListedBundleId("com.apple.WEBAPP"));
  EXPECT_FALSE(Page::isBlackListedBundleId("com.apple.Maps"));
}

TEST_F(AppsPageTest, ListsListableAppsInThreeSectionsSortedCaseSensitively) {
  auto* page = openApps();
  ASSERT_NE(page, nullptr);
  ASSERT_EQ(page->table()->numberOfSections(), 3);
  EXPECT_EQ(page->groupSpecifierOfSection(0)->name(), "Customized Apps");
  EXPECT_EQ(page->groupSpecifierOfSection(1)->name(), "System Apps");
  EXPECT_EQ(page->groupSpecifierOfSection(2)->name(), "App Store Apps");
  EXPECT_EQ(rows(0), std::vector<std::string>{"No customized apps yet..."});
  EXPECT_EQ(rows(1), (std::vector<std::string>{"Maps", "Safari", "Settings"}));
  EXPECT_EQ(rows(2), (std::vector<std::string>{"Spotify", "Waze", "Zulu", "alpha"}));
  auto* cell = page->table()->cellForRowAtIndexPath({1, 0});
  EXPECT_EQ(cell->detailTextLabel()->text(), "Customize");
  EXPECT_EQ(cell->accessoryType(), UITableViewCellAccessoryType::DisclosureIndicator);
  EXPECT_EQ(page->table()->rectForRowAtIndexPath({0, 0}).size.height, UITableView::kDefaultRowHeight);
}

TEST_F(AppsPageTest, CustomizedAppsShowTheirSummaryAndAnEmptyEntryIsNotCustomized) {
  customize(plist::Dictionary{
      {"com.waze.iphone", plist::Dictionary{{"toggles", plist::Dictionary{{"wifi", 0}}}}},
      {"com.apple.Maps", plist::Dictionary{{"toggles", plist::Dictionary{{"wifi", 1},
                                                                         {"dnd", 1},
                                                                         {"bluetooth", 0},
                                                                         {"vpn", 1},
                                                                         {"ringer", 0},
                                                                         {"lowPower", 1},
                                                                         {"location", 1},
                                                                         {"airplane", 0}}},
                                           {"volume", 0.5},
                                           {"brightness", 0.2}}},
      {"com.spotify.client", plist::Dictionary{{"toggles", plist::Dictionary{}}}},
      {"com.apple.Diagnostics", plist::Dictionary{{"volume", 0.5}}},
      {"com.example.gone", plist::Dictionary{{"volume", 0.5}}},
  });
  auto* page = openApps();
  EXPECT_EQ(rows(0), (std::vector<std::string>{"Maps", "Waze"}));
  EXPECT_EQ(page->table()->rectForRowAtIndexPath({0, 0}).size.height, 65);
  ASSERT_EQ(summaryFrames().size(), 2u);
  EXPECT_EQ(summaryFrames()[0], CGRectMake(0, 0, 232, 16));  // ten things
  EXPECT_EQ(summaryFrames()[1], CGRectMake(0, 0, 16, 16));   // one thing
  auto* cell = page->table()->cellForRowAtIndexPath({0, 1});
  EXPECT_EQ(cell->style(), UITableViewCellStyle::Subtitle);
  EXPECT_EQ(cell->detailTextLabel()->text(), " ");
  EXPECT_EQ(cell->detailTextLabel()->subviews().size(), 1u);
}

TEST_F(AppsPageTest, ASummaryIsNeverWiderThanThePageLessAHundredPoints) {
  window_->setFrame(CGRectMake(0, 0, 320, 568));
  plist::Dictionary toggles;
  for (const char* name : {"wifi", "dnd", "bluetooth", "vpn", "ringer", "lowPower", "location", "airplane", "cellular",
                           "nightShift", "autoLock"})
    toggles.set(name, 1);
  customize(plist::Dictionary{{"com.apple.Maps", plist::Dictionary{{"toggles", toggles}}}});
  openApps();
  ASSERT_EQ(summaryFrames().size(), 1u);
  EXPECT_EQ(summaryFrames()[0].size.width, 220);
}

TEST_F(AppsPageTest, TappingAnAppAsksThePlugInToOpenItsPanel) {
  auto* page = openApps();
  page->table()->selectRowAsUser({2, 1});
  env_.runUntilIdle();
  EXPECT_EQ(shown_, std::vector<std::string>{"com.waze.iphone"});
  EXPECT_EQ(logLinesContaining("clickedCellBundleId from settings com.waze.iphone"), 1u);
  EXPECT_FALSE(page->table()->indexPathForSelectedRow());
  page->table()->selectRowAsUser({0, 0});  // "No customized apps yet..."
  env_.runUntilIdle();
  EXPECT_EQ(shown_.size(), 1u);
}

TEST_F(AppsPageTest, ResetNeedsTwoConfirmationsAndEitherCancelKeepsEverything) {
  customize(plist::Dictionary{{"com.waze.iphone", plist::Dictionary{{"volume", 0.3}}}});
  auto* page = openApps();
  EXPECT_EQ(rows(0), std::vector<std::string>{"Waze"});
  page->resetButton()->tap();
  ASSERT_NE(alert(), nullptr);
  EXPECT_EQ(alert()->title(), "Reset all app customizations?");
  answer("Cancel");
  EXPECT_EQ(alert(), nullptr);
  page->resetButton()->tap();
  answer("Reset");
  ASSERT_NE(alert(), nullptr);
  EXPECT_EQ(alert()->title(), "Are you 100% sure?");
  answer("Cancel");
  EXPECT_EQ(stored("customizedApps")["com.waze.iphone"]["volume"], plist::Value(0.3));
  EXPECT_TRUE(darwin_.empty());

  page->resetButton()->tap();
  answer("Reset");
  answer("Reset");
  EXPECT_EQ(stored("customizedApps"), plist::Value(plist::Dictionary{}));
  EXPECT_EQ(darwin_, std::vector<std::string>{"com.kelvane.tessra2/ClearAppCustomizationCache"});
  env_.runUntilIdle();
  EXPECT_EQ(rows(0), std::vector<std::string>{"No customized apps yet..."});
}

TEST_F(AppsPageTest, AChangeOfTheDomainRebuildsTheCustomizedSection) {
  openApps();
  EXPECT_EQ(rows(0), std::vector<std::string>{"No customized apps yet..."});
  customize(plist::Dictionary{{"com.apple.mobilesafari", plist::Dictionary{{"brightness", 0.5}}}});
  env_.runUntilIdle();
  EXPECT_EQ(rows(0), std::vector<std::string>{"Safari"});
}

TEST_F(AppsPageTest, ABadAppsFileListsWhatItCanAndLogsTheRest) {
  writeApps(plist::Array{
      "not an app",
      plist::Dictionary{{"displayName", "No Id"}, {"type", "user"}},
      plist::Dictionary{{"bundleIdentifier", "com.example.kind"}, {"displayName", "Kind"}, {"type", "tablet"}},
      app("com.apple.Maps", "Maps", "system"),
  });
  openApps();
  EXPECT_EQ(rows(1), std::vector<std::string>{"Maps"});
  EXPECT_EQ(logLinesContaining("left out"), 3u);
  std::ofstream(root_ / "var/mobile/Library/tessra/apps.plist") << "garbage";
  TSAppCollections::reset();
  nav_->popViewControllerAnimated(false);
  tap("Customize Apps");
  env_.runUntilIdle();
  EXPECT_EQ(top<Page>()->table()->numberOfSections(), 0);  // no system app: nothing to show
  EXPECT_FALSE(std::filesystem::exists(DevicePaths::preferencesFile(kDomain)));
}

}  // namespace
}  // namespace tessra::prefs::testing
