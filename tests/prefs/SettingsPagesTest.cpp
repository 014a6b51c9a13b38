// The pages of the settings bundle: values with their row defaults, writes
// with their notifications, the master switch and the dependency rules, the
// root page's header and bar, sub-pages from their property lists, and bad
// page lists.
#include <algorithm>
#include <set>

#include "platform/preferences/UIBarButtonItem.h"
#include "platform/preferences/UINavigationItem.h"
#include "platform/preferences/UISegmentedControl.h"
#include "platform/preferences/UISlider.h"
#include "platform/preferences/UISwitch.h"
#include "platform/prefs/DeferredDurability.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "prefs/TSPrefsListController.h"
#include "prefs/TSSubPrefsListController.h"
#include "tests/prefs/SettingsPagesFixture.h"
#include "tweak/store/TessraSettings.h"

namespace tessra::prefs::testing {
namespace {

using namespace platform;

class SettingsPagesBehaviourTest : public SettingsPagesTest {
 protected:
  UISwitch* switchTitled(const std::string& title) {
    auto* cell = controlCellTitled(title);
    return cell ? dynamic_cast<UISwitch*>(cell->control()) : nullptr;
  }
  bool rowEnabled(const std::string& title) {
    auto* cell = cellTitled(title);
    return cell && cell->isUserInteractionEnabled();
  }
  // Every visible row of the top page but `except` has the state `enabled`.
  void expectVisibleRows(bool enabled, const std::string& except) {
    auto* page = top<PSListController>();
    for (const auto& path : page->table()->indexPathsForVisibleRows()) {
      auto rowSpecifier = page->specifierAtIndexPath(path);
      if (rowSpecifier->name() == except) continue;
      EXPECT_EQ(page->table()->cellForRowAtIndexPath(path)->isUserInteractionEnabled(), enabled)
          << rowSpecifier->name();
    }
  }
  // Opens a sub-page the way its row does, from a row that names `list`.
  std::shared_ptr<TSSubPrefsListController> openSubPage(const std::string& list,
                                                        const std::string& className = "TSSubPrefsListController") {
    auto root = open<TSPrefsListController>("TSPrefsListController");
    auto row = PSSpecifier::preferenceSpecifierNamed("Sub", root.get(), false, PSCellType::Link);
    row->setProperty(list, "TSSubPrefs");
    auto page = std::dynamic_pointer_cast<TSSubPrefsListController>(PSListController::createControllerNamed(className));
    page->setBundlePath(bundle_);
    page->setSpecifier(row);
    root->pushController(page);
    window_->layoutIfNeeded();
    return page;
  }
};

TEST_F(SettingsPagesBehaviourTest, RowsShowTheirDefaultsWhileTheDomainHasNoValue) {
  open("TSPrefsListController");
  ASSERT_NE(switchTitled("Enabled"), nullptr);
  EXPECT_TRUE(switchTitled("Enabled")->isOn());
  EXPECT_FALSE(switchTitled("Tessra Item First")->isOn());
  auto* style = dynamic_cast<UISegmentedControl*>(controlCellTitled("Panel Style")->control());
  EXPECT_EQ(style->selectedSegmentIndex(), 2);
  EXPECT_FALSE(std::filesystem::exists(DevicePaths::preferencesFile(kDomain)));
}

TEST_F(SettingsPagesBehaviourTest, StoredValuesWinOverDefaults) {
  {
    HBPreferences prefs(kDomain);
    prefs.setObject(false, "showVolumeHUD");
    prefs.setObject(int64_t{0}, "interfaceColorStyle");
  }
  open("TSPrefsListController");
  EXPECT_FALSE(switchTitled("Show Volume Indicator")->isOn());
  EXPECT_EQ(dynamic_cast<UISegmentedControl*>(controlCellTitled("Panel Style")->control())->selectedSegmentIndex(), 0);
}

TEST_F(SettingsPagesBehaviourTest, AChangeIsStoredAtOnceAndPostsTheRowsNotification) {
  open("TSPrefsListController");
  switchTitled("Show Volume Indicator")->toggle();
  EXPECT_EQ(stored("showVolumeHUD"), plist::Value(false));
  EXPECT_EQ(darwin_, std::vector<std::string>{"com.kelvane.tessra2/ReloadPrefs"});
  dynamic_cast<UISegmentedControl*>(controlCellTitled("Panel Style")->control())->selectSegmentFromUser(1);
  EXPECT_EQ(stored("interfaceColorStyle"), plist::Value(int64_t{1}));
  EXPECT_EQ(darwin_.size(), 2u);
}

TEST_F(SettingsPagesBehaviourTest, TheRowsNotificationFindsTheNewValueInTheFileBeforeItIsFlushed) {
  open("TSPrefsListController");
  // What another process would find when told: the file already holds the value; the flush is still to come.
  std::vector<std::pair<plist::Value, bool>> seen;
  auto token = platform::DarwinNotificationCenter::shared().addObserver(
      "com.kelvane.tessra2/ReloadPrefs",
      [&](const std::string&) { seen.emplace_back(stored("showVolumeHUD"), platform::DeferredDurability::active()); });
  switchTitled("Show Volume Indicator")->toggle();
  platform::DarwinNotificationCenter::shared().removeObserver(token);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].first, plist::Value(false));
  EXPECT_TRUE(seen[0].second);
  // Flushed before the change returned.
  EXPECT_FALSE(platform::DeferredDurability::active());
  EXPECT_EQ(stored("showVolumeHUD"), plist::Value(false));
}

TEST_F(SettingsPagesBehaviourTest, MasterSwitchOffGreysEveryOtherRowAndOnRestoresTheDependencyMarks) {
  auto root = open<TSPrefsListController>("TSPrefsListController");
  switchTitled("Haptic Feedback")->toggle();  // off: the strength row gets a dependency mark
  EXPECT_FALSE(rowEnabled("Haptic Strength"));
  rowTitled("Enabled");
  switchTitled("Enabled")->toggle();
  EXPECT_EQ(stored("enabled"), plist::Value(false));
  EXPECT_TRUE(rowEnabled("Enabled"));
  expectVisibleRows(false, "Enabled");
  EXPECT_FALSE(rowEnabled("Debug Toasts"));
  EXPECT_FALSE(dynamic_cast<UISwitch*>(controlCellTitled("Debug Toasts")->control())->isEnabled());

  rowTitled("Enabled");
  switchTitled("Enabled")->toggle();
  EXPECT_TRUE(rowEnabled("Debug Toasts"));
  EXPECT_TRUE(rowEnabled("Show Volume Indicator"));
  EXPECT_FALSE(rowEnabled("Haptic Strength"));
  EXPECT_EQ(root->disabledSpecifiers().size(), 1u);
}

TEST_F(SettingsPagesBehaviourTest, AMasterSwitchWithoutStoredValueUsesItsRowsDefault) {
  auto root = open<TSPrefsListController>("TSPrefsListController");
  EXPECT_TRUE(root->getBoolOrDefaultForKey("enabled"));
  EXPECT_FALSE(root->getBoolOrDefaultForKey("noSuchKey"));
  HBPreferences(kDomain).setObject(false, "enabled");
  EXPECT_FALSE(root->getBoolOrDefaultForKey("enabled"));
}

TEST_F(SettingsPagesBehaviourTest, HapticStrengthNeedsTheMasterSwitchAndHapticFeedback) {
  auto root = open<TSPrefsListController>("TSPrefsListController");
  HBPreferences(kDomain).setObject(false, "enabled");
  root->enableDisableCellIfNeededForKey("hapticFeedbackEnabled", true);
  EXPECT_EQ(root->disabledSpecifiers().size(), 1u);
  HBPreferences(kDomain).setObject(true, "enabled");
  root->enableDisableCellIfNeededForKey("hapticFeedbackEnabled", true);
  EXPECT_TRUE(root->disabledSpecifiers().empty());
}

TEST_F(SettingsPagesBehaviourTest, MarkingRowsKeepsOneEntryAndIgnoresGroups) {
  auto root = open<TSPrefsListController>("TSPrefsListController");
  auto row = root->getSpecifierWithKey("debugInformationEnabled");
  root->enableCellWithSpecifier(false, row);
  root->enableCellWithSpecifier(false, row);
  EXPECT_EQ(root->disabledSpecifiers().size(), 1u);
  root->enableCellWithSpecifier(true, row);
  EXPECT_TRUE(root->disabledSpecifiers().empty());
  root->enableCellWithSpecifier(false, root->specifiers().front());  // the first group row
  EXPECT_TRUE(root->disabledSpecifiers().empty());
  root->enableCellWithKey(false, "noSuchKey");
  EXPECT_TRUE(root->disabledSpecifiers().empty());
}

TEST_F(SettingsPagesBehaviourTest, RespringAppearsOnlyAfterTheMasterSwitchChanged) {
  auto root = open<TSPrefsListController>("TSPrefsListController");
  switchTitled("Show Volume Indicator")->toggle();
  EXPECT_EQ(root->navigationItem().rightBarButtonItem(), nullptr);
  rowTitled("Enabled");
  switchTitled("Enabled")->toggle();
  ASSERT_NE(root->navigationItem().rightBarButtonItem(), nullptr);
  EXPECT_EQ(root->navigationItem().rightBarButtonItem()->title(), "Respring");
}

TEST_F(SettingsPagesBehaviourTest, TheRootHeaderFollowsScrollingAndTheIconReplacesTheTitle) {
  auto root = open<TSPrefsListController>("TSPrefsListController");
  double width = root->headerView()->frame().size.width;
  EXPECT_EQ(width, 375);
  auto frameAt = [&](double y) {
    root->table()->setContentOffset(CGPointMake(0, y));
    return root->headerImageView()->frame();
  };
  EXPECT_EQ(frameAt(-100), CGRectMake(10, 4, width - 20, 156));
  EXPECT_EQ(frameAt(-64), CGRectMake(10, 40, width - 20, 120));
  EXPECT_EQ(frameAt(0), CGRectMake(10, 84, width - 20, 76));
  frameAt(71);
  env_.fastForwardBy(seconds(0.2));
  EXPECT_EQ(root->iconView()->alpha(), 1);
  EXPECT_EQ(root->titleLabel()->alpha(), 0);
  frameAt(70);
  env_.fastForwardBy(seconds(0.2));
  EXPECT_EQ(root->iconView()->alpha(), 0);
  EXPECT_EQ(root->titleLabel()->alpha(), 1);
  EXPECT_EQ(root->titleLabel()->text(), "Tessra 2");
}

TEST_F(SettingsPagesBehaviourTest, RootSectionHeadersHaveTheirHeights) {
  auto root = open<TSPrefsListController>("TSPrefsListController");
  EXPECT_EQ(root->table()->rectForHeaderInSection(0).size.height, 0);
  EXPECT_EQ(root->table()->rectForHeaderInSection(1).size.height, 45);
  EXPECT_EQ(root->table()->rectForHeaderInSection(5).size.height, 60);
  EXPECT_EQ(root->table()->rectForHeaderInSection(6).size.height, 0);
  EXPECT_EQ(root->table()->rectForHeaderInSection(7).size.height, 45);
}

TEST_F(SettingsPagesBehaviourTest, ALinkOpensItsSubPageWithItsRowsAndTitle) {
  open("TSPrefsListController");
  tap("Restore Previous Values");
  auto* page = top<TSSubPrefsListController>();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->titleLabel()->text(), "Restore Previous Values");
  EXPECT_NE(page->getSpecifierWithKey("restorePreviousWifiOnAppExit"), nullptr);
  switchTitled("Restore Wi-Fi")->toggle();
  EXPECT_EQ(stored("restorePreviousWifiOnAppExit"), plist::Value(false));
  nav_->popViewControllerAnimated(false);
  EXPECT_NE(top<TSPrefsListController>(), nullptr);
}

TEST_F(SettingsPagesBehaviourTest, TheVolumeConfirmationRowNeedsTheConfirmation) {
  open("TSPrefsListController");
  tap("Volume Confirmation");
  EXPECT_FALSE(rowEnabled("Only While Media Plays"));  // the confirmation is off by default
  switchTitled("Ask Before Setting Volume")->toggle();
  EXPECT_TRUE(rowEnabled("Only While Media Plays"));
  switchTitled("Ask Before Setting Volume")->toggle();
  EXPECT_FALSE(rowEnabled("Only While Media Plays"));
}

TEST_F(SettingsPagesBehaviourTest, EverySettingIsOnAPageWithItsOwnDefault) {
  // Every row with a key, on the root page and on every page a row of it names.
  std::map<std::string, plist::Value> rows;
  std::set<std::string> lists{"Prefs"};
  std::vector<std::string> pending{"Prefs"};
  PSListController loader;
  loader.setBundlePath(bundle_);
  while (!pending.empty()) {
    std::string list = pending.back();
    pending.pop_back();
    auto rowSpecifiers = loader.loadSpecifiersFromPlistName(list, nullptr);
    ASSERT_FALSE(rowSpecifiers.empty()) << list;
    for (const auto& rowSpecifier : rowSpecifiers) {
      if (auto sub = rowSpecifier->propertyForKey("TSSubPrefs"); sub.isString() && lists.insert(sub.string()).second)
        pending.push_back(sub.string());
      if (rowSpecifier->key().empty()) continue;
      EXPECT_TRUE(rows.emplace(rowSpecifier->key(), rowSpecifier->propertyForKey("default")).second)
          << "twice: " << rowSpecifier->key();
      EXPECT_EQ(rowSpecifier->propertyForKey("PostNotification"), plist::Value("com.kelvane.tessra2/ReloadPrefs"))
          << rowSpecifier->key();
    }
  }
  for (const auto& setting : TessraSettings::all()) {
    auto it = rows.find(std::string(setting.key));
    ASSERT_NE(it, rows.end()) << setting.key << " is on no page";
    EXPECT_EQ(it->second.integerValue(), setting.defaultValue) << setting.key;
    EXPECT_EQ(it->second.isBoolean(), setting.type == SettingType::Bool) << setting.key;
    rows.erase(it);
  }
  std::set<std::string> others;
  for (const auto& [key, value] : rows) others.insert(key);
  EXPECT_EQ(others, (std::set<std::string>{"hapticFeedbackEnabled", "hapticFeedbackStrength"}));
}

TEST_F(SettingsPagesBehaviourTest, AMissingOrMalformedPageShowsNothingLogsAndWritesNothing) {
  std::ofstream(bundle_ / "Broken.plist") << "<plist><dict><key>items</key><array><dict>";
  auto broken = openSubPage("Broken");
  EXPECT_TRUE(broken->specifiers().empty());
  EXPECT_EQ(broken->titleLabel()->text(), "Sub");
  EXPECT_EQ(logLinesContaining("Broken.plist"), 1u);
  auto missing = openSubPage("NoSuchPage");
  EXPECT_TRUE(missing->specifiers().empty());
  EXPECT_EQ(logLinesContaining("NoSuchPage.plist"), 1u);
  auto outside = openSubPage("../../../../etc/passwd");
  EXPECT_TRUE(outside->specifiers().empty());
  EXPECT_EQ(logLinesContaining("refusing the page list name"), 1u);
  EXPECT_FALSE(std::filesystem::exists(DevicePaths::preferencesFile(kDomain)));
}

TEST_F(SettingsPagesBehaviourTest, BadRowsAreSkippedAndARowWithoutKeyWritesNothing) {
  plist::Array items{
      plist::Dictionary{{"cell", "PSGroupCell"}, {"label", "Odd rows"}},
      "not a row",
      plist::Dictionary{{"cell", "PSNoSuchCell"}, {"label", "Unknown"}},
      plist::Dictionary{{"cell", "PSSwitchCell"},
                        {"label", "No Key"},
                        {"default", true},
                        {"PostNotification", "com.kelvane.tessra2/ReloadPrefs"}},
      plist::Dictionary{
          {"cell", "PSSwitchCell"}, {"label", "Good"}, {"key", "debugInformationEnabled"}, {"default", false}},
  };
  ASSERT_TRUE(plist::PropertyListFile::write(bundle_ / "Odd.plist", plist::Dictionary{{"items", items}}));
  auto page = openSubPage("Odd");
  EXPECT_EQ(page->specifiers().size(), 3u);
  EXPECT_EQ(logLinesContaining("skipped"), 2u);
  ASSERT_NE(switchTitled("No Key"), nullptr);
  EXPECT_TRUE(switchTitled("No Key")->isOn());
  switchTitled("No Key")->toggle();
  EXPECT_FALSE(std::filesystem::exists(DevicePaths::preferencesFile(kDomain)));
  EXPECT_TRUE(darwin_.empty());
  EXPECT_EQ(logLinesContaining("has no key"), 1u);
  switchTitled("Good")->toggle();
  EXPECT_EQ(stored("debugInformationEnabled"), plist::Value(true));
  EXPECT_TRUE(darwin_.empty());  // the row names no notification
}

}  // namespace
}  // namespace tessra::prefs::testing
