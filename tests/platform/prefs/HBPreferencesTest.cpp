#include <gtest/gtest.h>

#include <memory>

#include "platform/foundation/DarwinNotificationCenter.h"
#include "platform/prefs/HBPreferences.h"
#include "platform/prefs/PreferenceDomain.h"
#include "tests/platform/plist/BinaryPlistBuilder.h"
#include "tests/platform/prefs/PrefsTestSupport.h"

namespace platform {
namespace {

using plist::Array;
using plist::Dictionary;
using plist::Value;

class HBPreferencesTest : public testing::PrefsTest {
 protected:
  void postReload(const std::string& domain = kDomain) {
    DarwinNotificationCenter::shared().postNotification(domain + "/ReloadPrefs");
  }
};

// ---- Reading and binding ----

TEST_F(HBPreferencesTest, FreshDomainReadsNilAndDefaults) {
  HBPreferences prefs(kDomain);
  bool enabled = false, itemsBefore = true;
  int64_t style = 0;
  prefs.registerBool(&enabled, true, "enabled");
  prefs.registerBool(&itemsBefore, false, "itemsBeforeStockItems");
  prefs.registerInteger(&style, 2, "interfaceColorStyle");
  EXPECT_TRUE(enabled);
  EXPECT_FALSE(itemsBefore);
  EXPECT_EQ(style, 2);
  EXPECT_TRUE(prefs.objectForKey("customizedApps").isNull());
  EXPECT_TRUE(prefs["enabled"].isNull());
  EXPECT_FALSE(prefs.boolForKey("enabled"));
  EXPECT_EQ(prefs.identifier(), kDomain);
  EXPECT_FALSE(std::filesystem::exists(domainFile()));  // reading creates nothing
}

TEST_F(HBPreferencesTest, BoundFieldsTakeStoredNumbersAndDefaultsForOtherKinds) {
  putValue(Value(Dictionary{{"enabled", Value(false)},
                            {"showWifiToggle", Value(2)},
                            {"interfaceColorStyle", Value(1.9)},
                            {"disableHomeGesture_activationMethod", Value("3")},
                            {"showDndToggle", Value(Array{})}}));
  HBPreferences prefs(kDomain);
  bool enabled = true, wifi = false, dnd = false;
  int64_t style = 2, method = 0;
  prefs.registerBool(&enabled, true, "enabled");
  prefs.registerBool(&wifi, false, "showWifiToggle");
  prefs.registerBool(&dnd, true, "showDndToggle");
  prefs.registerInteger(&style, 2, "interfaceColorStyle");
  prefs.registerInteger(&method, 7, "disableHomeGesture_activationMethod");
  EXPECT_FALSE(enabled);
  EXPECT_TRUE(wifi);     // a non-zero integer reads as YES
  EXPECT_TRUE(dnd);      // an array is not a number: the default
  EXPECT_EQ(style, 1);   // a real is truncated
  EXPECT_EQ(method, 7);  // a string is not a number: the default
}

TEST_F(HBPreferencesTest, ObjectsOfOneDomainShareValuesAndBoundFields) {
  auto first = std::make_unique<HBPreferences>(kDomain);
  bool wifi = false;
  first->registerBool(&wifi, true, "showWifiToggle");
  HBPreferences second(kDomain);
  ASSERT_TRUE(second.setObject(Value(false), "showWifiToggle"));
  EXPECT_FALSE(wifi);  // bound through the first object, changed through the second
  EXPECT_FALSE(first->objectForKey("showWifiToggle").boolValue());
  EXPECT_TRUE(first->objectForKey("showWifiToggle").isBoolean());
  HBPreferences third(kDomain);
  EXPECT_TRUE(third.objectForKey("showWifiToggle").isBoolean());

  // A destroyed object's fields are no longer written.
  first.reset();
  ASSERT_TRUE(second.setObject(Value(true), "showWifiToggle"));
  EXPECT_FALSE(wifi);
}

// ---- Writing ----

TEST_F(HBPreferencesTest, WriteIsOnDiskAsXmlWhenSetObjectReturns) {
  HBPreferences prefs(kDomain);
  Dictionary apps{{"com.apple.Maps", Value(Dictionary{{"toggles", Value(Dictionary{{"wifi", Value(0)}})}})}};
  ASSERT_TRUE(prefs.setObject(Value(apps), "customizedApps"));
  EXPECT_EQ(onDisk()["customizedApps"]["com.apple.Maps"]["toggles"]["wifi"].integerValue(), 0);
  EXPECT_EQ(contents(domainFile()).rfind("<?xml", 0), 0u);
  EXPECT_TRUE(prefs.synchronize());
  EXPECT_EQ(log_.size(), 0u);
}

TEST_F(HBPreferencesTest, NilRemovesTheKeyInMemoryAndOnDisk) {
  HBPreferences prefs(kDomain);
  int64_t style = -1;
  prefs.registerInteger(&style, 2, "interfaceColorStyle");
  ASSERT_TRUE(prefs.setObject(Value(0), "interfaceColorStyle"));
  EXPECT_EQ(style, 0);
  ASSERT_TRUE(prefs.setObject(Value(), "interfaceColorStyle"));
  EXPECT_EQ(style, 2);
  EXPECT_TRUE(prefs.objectForKey("interfaceColorStyle").isNull());
  EXPECT_FALSE(onDisk().dictionary().contains("interfaceColorStyle"));
}

TEST_F(HBPreferencesTest, WriteKeepsKeysThatAnotherProcessSavedMeanwhile) {
  HBPreferences prefs(kDomain);
  ASSERT_TRUE(prefs.setObject(Value(true), "enabled"));
  // Another process saves its key after this one last read the file.
  putValue(Value(Dictionary{{"enabled", Value(true)}, {"showVolumeHUD", Value(false)}}));
  ASSERT_TRUE(prefs.setObject(Value(Dictionary{}), "customizedApps"));
  Value disk = onDisk();
  EXPECT_EQ(disk.dictionary().size(), 3u);
  EXPECT_FALSE(disk["showVolumeHUD"].boolValue());
  EXPECT_TRUE(disk["showVolumeHUD"].isBoolean());
  // This process now reads the other key too.
  EXPECT_TRUE(prefs.objectForKey("showVolumeHUD").isBoolean());
}

TEST_F(HBPreferencesTest, BinaryDomainIsReadAndRewrittenAsXmlWithAllItsKeys) {
  Value phone(Dictionary{{"enabled", Value(true)}, {"interfaceColorStyle", Value(1)}, {"title", Value("x")}});
  putFile(plist::testing::BinaryPlistBuilder::encode(phone));
  HBPreferences prefs(kDomain);
  EXPECT_EQ(prefs.objectForKey("interfaceColorStyle").integerValue(), 1);
  ASSERT_TRUE(prefs.setObject(Value(false), "hideTessraMenu"));
  EXPECT_EQ(contents(domainFile()).rfind("<?xml", 0), 0u);
  Value disk = onDisk();
  EXPECT_EQ(disk.dictionary().size(), 4u);
  EXPECT_EQ(disk["title"].string(), "x");
}

TEST_F(HBPreferencesTest, ValueThatCannotBeStoredIsRefusedAndChangesNothing) {
  HBPreferences prefs(kDomain);
  ASSERT_TRUE(prefs.setObject(Value(1), "a"));
  EXPECT_FALSE(prefs.setObject(Value(Array{Value(1), Value()}), "a"));
  EXPECT_FALSE(prefs.setObject(Value(std::string("x\0y", 3)), "b"));
  EXPECT_EQ(prefs.objectForKey("a").integerValue(), 1);
  EXPECT_TRUE(prefs.objectForKey("b").isNull());
  EXPECT_EQ(logLinesContaining("cannot be stored"), 2u);
  EXPECT_TRUE(prefs.synchronize());  // nothing was left pending
  EXPECT_EQ(onDisk(), Value(Dictionary{{"a", Value(1)}}));
}

TEST_F(HBPreferencesTest, DomainNameThatLeavesThePreferencesFolderIsNeverWritten) {
  for (const char* bad : {"../../../escape", "a/b", "", ".."}) {
    HBPreferences prefs(bad);
    EXPECT_FALSE(prefs.setObject(Value(1), "k")) << bad;
    EXPECT_EQ(prefs.objectForKey("k").integerValue(), 1) << bad;  // still readable in this process
    EXPECT_FALSE(prefs.synchronize()) << bad;
  }
  EXPECT_FALSE(std::filesystem::exists(root_ / "escape.plist"));
  EXPECT_FALSE(std::filesystem::exists(root_.parent_path() / "escape.plist"));
  EXPECT_GE(logLinesContaining("invalid domain name"), 4u);
}

// ---- Reloading ----

TEST_F(HBPreferencesTest, ReloadNotificationRefreshesBoundFieldsAndRunsChangeBlocks) {
  HBPreferences prefs(kDomain);
  bool restoreWifi = false;
  int64_t style = 0;
  prefs.registerBool(&restoreWifi, true, "restorePreviousWifiOnAppExit");
  prefs.registerInteger(&style, 2, "interfaceColorStyle");
  int blockRuns = 0;
  prefs.registerPreferenceChangeBlock([&] { ++blockRuns; });

  putValue(Value(Dictionary{{"restorePreviousWifiOnAppExit", Value(false)}, {"interfaceColorStyle", Value(0)}}));
  EXPECT_TRUE(restoreWifi);  // nothing changes before the notification
  postReload();
  EXPECT_FALSE(restoreWifi);
  EXPECT_EQ(style, 0);
  EXPECT_EQ(blockRuns, 1);

  // A key removed from the file reads as its default again.
  putValue(Value(Dictionary{{"interfaceColorStyle", Value(0)}}));
  postReload();
  EXPECT_TRUE(restoreWifi);
  EXPECT_EQ(blockRuns, 2);

  // Another domain's notification does nothing here.
  putValue(Value(Dictionary{}));
  postReload("com.example.other");
  EXPECT_EQ(style, 0);
  EXPECT_EQ(blockRuns, 2);
}

TEST_F(HBPreferencesTest, ReloadFromAnotherProcessArrivesOnTheMainQueue) {
  HBPreferences prefs(kDomain);
  bool hud = true;
  prefs.registerBool(&hud, true, "showVolumeHUD");
  putValue(Value(Dictionary{{"showVolumeHUD", Value(false)}}));
  DarwinNotificationCenter::shared().deliverRemote(std::string(kDomain) + "/ReloadPrefs");
  EXPECT_TRUE(hud);
  env_.runUntilIdle();
  EXPECT_FALSE(hud);
}

TEST_F(HBPreferencesTest, ChangeBlocksRunAfterAWriteOfThisProcess) {
  // The apps page resets the store without posting the reload notification and still refreshes.
  HBPreferences page(kDomain);
  Value seen;
  page.registerPreferenceChangeBlock([&] { seen = HBPreferences(kDomain).objectForKey("customizedApps"); });
  HBPreferences writer(kDomain);
  ASSERT_TRUE(writer.setObject(Value(Dictionary{}), "customizedApps"));
  EXPECT_TRUE(seen.isDictionary());
  EXPECT_TRUE(seen.dictionary().empty());
}

TEST_F(HBPreferencesTest, NewObjectReadsWhatWasSavedWithoutANotification) {
  HBPreferences settings(kDomain);
  bool hud = true;
  settings.registerBool(&hud, true, "showVolumeHUD");
  putValue(Value(Dictionary{{"customizedApps", Value(Dictionary{})}, {"showVolumeHUD", Value(false)}}));
  HBPreferences loader(kDomain);
  EXPECT_TRUE(loader.objectForKey("customizedApps").isDictionary());
  EXPECT_FALSE(hud);  // every object reads the same values
}

TEST_F(HBPreferencesTest, ReloadDomainRereadsOnlyThatDomain) {
  HBPreferences prefs(kDomain);
  putValue(Value(Dictionary{{"k", Value(5)}}));
  HBPreferences::reloadDomain("com.example.unused");
  EXPECT_TRUE(prefs.objectForKey("k").isNull());
  HBPreferences::reloadDomain(kDomain);
  EXPECT_EQ(prefs.objectForKey("k").integerValue(), 5);
}

TEST_F(HBPreferencesTest, DomainLivesWhileAnObjectUsesIt) {
  {
    HBPreferences prefs(kDomain);
    EXPECT_NE(PreferenceDomain::existing(kDomain), nullptr);
    EXPECT_EQ(DarwinNotificationCenter::shared().observerCount(std::string(kDomain) + "/ReloadPrefs"), 1u);
  }
  EXPECT_EQ(PreferenceDomain::existing(kDomain), nullptr);
  EXPECT_EQ(DarwinNotificationCenter::shared().observerCount(std::string(kDomain) + "/ReloadPrefs"), 0u);
}

}  // namespace
}  // namespace platform
