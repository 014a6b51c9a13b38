// The per-app customization store: writes to the current app's entry, the
// reads that the engine, behaviours and summaries rely on, and persistence.
#include <gtest/gtest.h>

#include <string>

#include "tests/tweak/store/StoreTestEnvironment.h"
#include "tweak/store/TessraStorageManager.h"

namespace {

using platform::plist::Dictionary;
using platform::plist::Value;

constexpr const char* kMaps = "com.apple.Maps";
constexpr const char* kNotes = "com.apple.mobilenotes";

class CustomizationStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    store().loadDictionaryFromStorage();
    store().setCurrentBundleId(std::string(kMaps));
  }

  TessraStorageManager& store() { return TessraStorageManager::sharedInstance(); }
  Value mapsEntry() { return store().wholeStorageDictionary()[kMaps]; }
  // Puts `apps` in the domain as another program would, and loads it.
  void loadApps(Dictionary apps) {
    env.writeDomain(std::string(tessra::kCustomizedAppsKey), Value(std::move(apps)));
    store().loadDictionaryFromStorage();
  }

  StoreTestEnvironment env;
};

// --- Volume and brightness ---

TEST_F(CustomizationStoreTest, VolumeIsStoredAsAFractionAndRemovedWhenNegative) {
  store().setVolumeForCurrentBundleId(50);
  EXPECT_EQ(mapsEntry()["volume"], Value(0.5));
  EXPECT_EQ(store().getVolumeForBundleId(kMaps), 0.5);

  store().setVolumeForCurrentBundleId(-1);
  EXPECT_FALSE(mapsEntry().dictionary().contains("volume"));
  EXPECT_EQ(store().getVolumeForBundleId(kMaps), -1.0);
  EXPECT_FALSE(store().isVolumeCustomizedForBundleId(kMaps));

  store().setVolumeForCurrentBundleId(0);
  EXPECT_EQ(mapsEntry()["volume"], Value(0.0));
  EXPECT_TRUE(store().isVolumeCustomizedForBundleId(kMaps));
  EXPECT_EQ(env.reloadPosts, 3);
}

TEST_F(CustomizationStoreTest, BrightnessFollowsTheSameRules) {
  store().setBrightnessForCurrentBundleId(100);
  EXPECT_EQ(mapsEntry()["brightness"], Value(1.0));
  EXPECT_TRUE(store().isBrightnessCustomizedForBundleId(kMaps));
  store().setBrightnessForCurrentBundleId(-0.5);
  EXPECT_FALSE(mapsEntry().dictionary().contains("brightness"));
  EXPECT_FALSE(store().isBrightnessCustomizedForBundleId(kMaps));
}

TEST_F(CustomizationStoreTest, StoredFractionsReadBackInSinglePrecision) {
  loadApps(Dictionary{{kMaps, Value(Dictionary{{"volume", 0.555}, {"brightness", 0.1}})}});
  EXPECT_EQ(store().getVolumeForBundleId(kMaps), 0.55500000715255737);
  EXPECT_EQ(store().getBrightnessForBundleId(kMaps), static_cast<double>(0.1f));
  store().setCurrentBundleId(std::string(kMaps));
  EXPECT_EQ(store().getVolumeForCurrentBundleId(), 0.55500000715255737);
}

// --- Toggle states ---

TEST_F(CustomizationStoreTest, FirstToggleOfAnAppCreatesAnEntryWithOnlyToggles) {
  store().setState(ToggleStateOn, ToggleTypeWifi);
  Value entry = mapsEntry();
  ASSERT_TRUE(entry.isDictionary());
  EXPECT_EQ(entry.dictionary().size(), 1u);
  EXPECT_EQ(entry["toggles"], Value(Dictionary{{"wifi", 1}}));
  EXPECT_EQ(store().getStateForToggle(ToggleTypeWifi, kMaps), 1);
  EXPECT_EQ(store().getStateForToggleName("wifi", kMaps), 1);
  EXPECT_EQ(store().getStateForCurrentBundleIdForToggle(ToggleTypeWifi), 1);
}

TEST_F(CustomizationStoreTest, StateMinusOneRemovesTheNameAndOthersStay) {
  store().setState(ToggleStateOn, ToggleTypeWifi);
  store().setState(ToggleStateOff, ToggleTypeHideStockAlerts);
  store().setState(ToggleStateNotCustomized, ToggleTypeWifi);
  EXPECT_EQ(mapsEntry()["toggles"], Value(Dictionary{{"action_hideStockAlerts", 0}}));
  EXPECT_EQ(store().getStateForToggle(ToggleTypeWifi, kMaps), -1);
  EXPECT_EQ(store().getStateForToggle(ToggleTypeHideStockAlerts, kMaps), 0);
}

TEST_F(CustomizationStoreTest, ClearingAToggleThatIsNotStoredStillSavesAndNotifies) {
  store().setState(ToggleStateOn, ToggleTypeDnd);
  int postsBefore = env.reloadPosts;
  Value before = mapsEntry()["toggles"];
  store().setState(ToggleStateNotCustomized, ToggleTypeWifi);
  EXPECT_EQ(mapsEntry()["toggles"], before);
  EXPECT_EQ(env.reloadPosts, postsBefore + 1);
  EXPECT_EQ(env.storedApps()[kMaps]["toggles"], before);
}

TEST_F(CustomizationStoreTest, StateIsReadAsA32BitInteger) {
  loadApps(Dictionary{
      {kMaps, Value(Dictionary{
                  {"toggles", Value(Dictionary{{"wifi", int64_t{0x100000001}}, {"dnd", 2.9}, {"vpn", true}})}})}});
  EXPECT_EQ(store().getStateForToggle(ToggleTypeWifi, kMaps), 1);
  EXPECT_EQ(store().getStateForToggle(ToggleTypeDnd, kMaps), 2);
  EXPECT_EQ(store().getStateForToggle(ToggleTypeVpn, kMaps), 1);
}

TEST_F(CustomizationStoreTest, StoredMinusOneCountsAsNotCustomized) {
  loadApps(Dictionary{{kMaps, Value(Dictionary{{"toggles", Value(Dictionary{{"wifi", -1}, {"bluetooth", 0}})}})}});
  EXPECT_EQ(store().getStateForToggle(ToggleTypeWifi, kMaps), -1);
  EXPECT_EQ(store().getNbTogglesForBundleId(kMaps), 1);
  EXPECT_EQ(store().getNbCustomizedThingsForBundleId(kMaps), 1);
}

TEST_F(CustomizationStoreTest, NamesWithoutATypeAreNeitherStoredNorFound) {
  store().setState(ToggleStateOn, ToggleTypeNone);
  store().setState(ToggleStateOn, ToggleTypeUnknown);
  EXPECT_TRUE(mapsEntry().isNull());
  EXPECT_EQ(env.reloadPosts, 0);
  EXPECT_EQ(store().getStateForToggleName("Wifi", kMaps), -1);
  EXPECT_EQ(store().getStateForToggle(ToggleTypeNone, kMaps), -1);
}

// --- Counting ---

TEST_F(CustomizationStoreTest, CustomizedThingsAddTogglesVolumeAndBrightness) {
  store().setState(ToggleStateOn, ToggleTypeWifi);
  store().setState(ToggleStateOff, ToggleTypeBluetooth);
  store().setVolumeForCurrentBundleId(40);
  EXPECT_EQ(store().getNbTogglesForBundleId(kMaps), 2);
  EXPECT_EQ(store().getNbCustomizedThingsForBundleId(kMaps), 3);
  store().setBrightnessForCurrentBundleId(0);
  EXPECT_EQ(store().getNbCustomizedThingsForBundleId(kMaps), 4);
  EXPECT_EQ(store().getNbCustomizedThingsForBundleId(kNotes), 0);
}

TEST_F(CustomizationStoreTest, AnEntryCanEndUpEmptyButStays) {
  store().setState(ToggleStateOn, ToggleTypeWifi);
  store().setState(ToggleStateNotCustomized, ToggleTypeWifi);
  EXPECT_EQ(mapsEntry(), Value(Dictionary{{"toggles", Value(Dictionary{})}}));
  EXPECT_EQ(store().getNbCustomizedThingsForBundleId(kMaps), 0);
}

// --- Entries and bad values ---

TEST_F(CustomizationStoreTest, EntryReadsDistinguishNoEntryFromABadOne) {
  loadApps(Dictionary{{kNotes, "not an entry"}, {kMaps, Value(Dictionary{{"toggles", "nope"}, {"volume", "loud"}})}});
  EXPECT_EQ(store().getDictionaryForBundleId("com.apple.none"), Value(Dictionary{}));
  EXPECT_TRUE(store().getDictionaryForBundleId(kNotes).isNull());
  EXPECT_TRUE(store().getTogglesDictionaryForBundleId(kNotes).isNull());
  EXPECT_EQ(store().getVolumeForBundleId(kNotes), -1.0);
  EXPECT_EQ(store().getStateForToggle(ToggleTypeWifi, kNotes), -1);
  EXPECT_EQ(store().getNbCustomizedThingsForBundleId(kNotes), 0);

  EXPECT_TRUE(store().getTogglesDictionaryForBundleId(kMaps).isNull());
  EXPECT_EQ(store().getVolumeForBundleId(kMaps), -1.0);
  EXPECT_EQ(store().getNbCustomizedThingsForBundleId(kMaps), 0);
}

TEST_F(CustomizationStoreTest, NonNumberStatesAreNotCustomized) {
  loadApps(Dictionary{
      {kMaps,
       Value(Dictionary{{"toggles", Value(Dictionary{{"wifi", "1"}, {"dnd", Value(Dictionary{})}, {"vpn", 1}})}})}});
  EXPECT_EQ(store().getStateForToggle(ToggleTypeWifi, kMaps), -1);
  EXPECT_EQ(store().getStateForToggle(ToggleTypeDnd, kMaps), -1);
  EXPECT_EQ(store().getNbTogglesForBundleId(kMaps), 1);
}

TEST_F(CustomizationStoreTest, WritingToABadEntryReplacesIt) {
  loadApps(Dictionary{{kMaps, "broken"}});
  store().setState(ToggleStateOn, ToggleTypeWifi);
  EXPECT_EQ(mapsEntry(), Value(Dictionary{{"toggles", Value(Dictionary{{"wifi", 1}})}}));
}

TEST_F(CustomizationStoreTest, RemovingFromAnAppWithoutEntryCreatesNoneButSaves) {
  store().removeObjectForCurrentBundleIdForKey("brightness");
  EXPECT_TRUE(mapsEntry().isNull());
  EXPECT_EQ(store().wholeStorageDictionary(), Value(Dictionary{}));
  EXPECT_EQ(env.reloadPosts, 1);
  EXPECT_EQ(env.storedApps(), Value(Dictionary{}));
}

TEST_F(CustomizationStoreTest, GenericWritesSetAndRemoveOneKey) {
  store().setObjectForCurrentBundleId(Value(0.25), "volume");
  store().setObjectForCurrentBundleId(Value(Dictionary{{"dnd", 1}}), "toggles");
  EXPECT_EQ(mapsEntry(), Value(Dictionary{{"volume", 0.25}, {"toggles", Value(Dictionary{{"dnd", 1}})}}));
  store().setObjectForCurrentBundleId(Value(), "volume");
  EXPECT_EQ(mapsEntry(), Value(Dictionary{{"toggles", Value(Dictionary{{"dnd", 1}})}}));
}

// --- No current app ---

TEST_F(CustomizationStoreTest, WritesWithoutACurrentAppChangeNothingAndLog) {
  store().setState(ToggleStateOn, ToggleTypeWifi);
  Value before = store().wholeStorageDictionary();
  int postsBefore = env.reloadPosts;
  store().setCurrentBundleId(std::nullopt);

  store().setState(ToggleStateOn, ToggleTypeDnd);
  store().setVolumeForCurrentBundleId(30);
  store().removeObjectForCurrentBundleIdForKey("toggles");
  store().setObjectForCurrentBundleId(Value(1.0), "brightness");

  EXPECT_TRUE(store().wholeStorageDictionary().sameContent(before));
  EXPECT_EQ(env.reloadPosts, postsBefore);
  ASSERT_EQ(env.logLines.size(), 4u);
  for (const auto& line : env.logLines) EXPECT_EQ(line, "ERROR! CurrentBundleId must not be nil");
  EXPECT_EQ(store().getStateForCurrentBundleIdForToggle(ToggleTypeWifi), -1);
  EXPECT_EQ(store().getVolumeForCurrentBundleId(), -1.0);
  EXPECT_EQ(store().getDictionaryForCurrentBundleId(), Value(Dictionary{}));
}

// --- Snapshots ---

TEST_F(CustomizationStoreTest, HandedOutDictionariesNeverChange) {
  store().setState(ToggleStateOn, ToggleTypeWifi);
  Value whole = store().wholeStorageDictionary();
  Value entry = store().getDictionaryForBundleId(kMaps);
  Value toggles = store().getTogglesDictionaryForBundleId(kMaps);
  Value wholeCopy{Dictionary(whole.dictionary())};

  store().setState(ToggleStateOff, ToggleTypeWifi);
  store().setVolumeForCurrentBundleId(10);
  store().setCurrentBundleId(std::string(kNotes));
  store().setState(ToggleStateOn, ToggleTypeDnd);

  EXPECT_EQ(whole, wholeCopy);
  EXPECT_EQ(entry, Value(Dictionary{{"toggles", Value(Dictionary{{"wifi", 1}})}}));
  EXPECT_EQ(toggles, Value(Dictionary{{"wifi", 1}}));
  EXPECT_FALSE(store().wholeStorageDictionary().sameContent(whole));
}

// --- Persistence ---

TEST_F(CustomizationStoreTest, MissingOrBadStoredKeyLoadsAsAnEmptyStore) {
  EXPECT_EQ(store().wholeStorageDictionary(), Value(Dictionary{}));
  env.writeDomain(std::string(tessra::kCustomizedAppsKey), Value("garbage"));
  store().loadDictionaryFromStorage();
  EXPECT_EQ(store().wholeStorageDictionary(), Value(Dictionary{}));
  EXPECT_EQ(env.logLines.size(), 1u);
}

TEST_F(CustomizationStoreTest, EverySaveReachesTheDomainAndAFreshLoad) {
  store().setState(ToggleStateOn, ToggleTypeWifi);
  store().setVolumeForCurrentBundleId(40);
  Value expected = store().wholeStorageDictionary();
  EXPECT_EQ(env.storedApps(), expected);

  TessraStorageManagerTestApi::reset();
  store().loadDictionaryFromStorage();
  EXPECT_EQ(store().wholeStorageDictionary(), expected);
}

TEST_F(CustomizationStoreTest, ReloadPicksUpAResetMadeByTheSettingsBundle) {
  store().setState(ToggleStateOn, ToggleTypeWifi);
  env.writeDomain(std::string(tessra::kCustomizedAppsKey), Value(Dictionary{}));
  store().loadDictionaryFromStorage();
  EXPECT_EQ(store().wholeStorageDictionary(), Value(Dictionary{}));
  EXPECT_EQ(store().getStateForToggle(ToggleTypeWifi, kMaps), -1);
}

TEST_F(CustomizationStoreTest, AWriteBeforeAnyLoadKeepsTheStoredApps) {
  store().setState(ToggleStateOn, ToggleTypeWifi);
  TessraStorageManagerTestApi::reset();
  store().setCurrentBundleId(std::string(kNotes));
  store().setState(ToggleStateOn, ToggleTypeDnd);
  Value stored = env.storedApps();
  EXPECT_EQ(stored[kMaps]["toggles"], Value(Dictionary{{"wifi", 1}}));
  EXPECT_EQ(stored[kNotes]["toggles"], Value(Dictionary{{"dnd", 1}}));
}

TEST_F(CustomizationStoreTest, SavingWithNothingLoadedWritesNothing) {
  store().setState(ToggleStateOn, ToggleTypeWifi);
  TessraStorageManagerTestApi::reset();
  int postsBefore = env.reloadPosts;
  EXPECT_FALSE(store().saveDictionaryToStorage());
  EXPECT_EQ(env.reloadPosts, postsBefore);
  EXPECT_EQ(env.storedApps()[kMaps]["toggles"], Value(Dictionary{{"wifi", 1}}));
}

TEST_F(CustomizationStoreTest, AStoreThatIsNotADictionaryIsRefusedAndTheAppsStay) {
  store().setState(ToggleStateOn, ToggleTypeWifi);
  store().setCurrentBundleId(std::string(kNotes));
  env.logLines.clear();
  store().setWholeStorageDictionary(Value("not a store"));
  EXPECT_EQ(env.logLines.size(), 1u);
  store().setState(ToggleStateOn, ToggleTypeDnd);
  Value stored = env.storedApps();
  EXPECT_EQ(stored[kMaps]["toggles"], Value(Dictionary{{"wifi", 1}}));
  EXPECT_EQ(stored[kNotes]["toggles"], Value(Dictionary{{"dnd", 1}}));
}

TEST_F(CustomizationStoreTest, AFailedSaveIsNotAnnounced) {
  // A folder where the domain's file should be: the file cannot be replaced.
  std::filesystem::create_directories(platform::DevicePaths::preferencesFile(tessra::kPreferencesDomain));
  env.logLines.clear();
  store().setState(ToggleStateOn, ToggleTypeWifi);
  EXPECT_EQ(env.reloadPosts, 0);
  EXPECT_FALSE(env.logLines.empty());
  // The edit stays in memory: the panel and the engine keep seeing it.
  EXPECT_EQ(store().getStateForToggle(ToggleTypeWifi, kMaps), 1);
}

}  // namespace
