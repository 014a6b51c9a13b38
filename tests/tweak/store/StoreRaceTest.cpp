// The store's saves racing whole-store writes of another process (an import,
// the settings bundle's reset): what the other process saved is never undone
// by a later save of the plug-in, whose own edit lands on top of it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "tests/tweak/store/StoreTestEnvironment.h"
#include "tweak/store/TessraStorageManager.h"

namespace {

using platform::plist::Dictionary;
using platform::plist::Value;

constexpr const char* kEdited = "com.apple.Maps";

class StoreRaceTest : public ::testing::Test {
 protected:
  TessraStorageManager& store() { return TessraStorageManager::sharedInstance(); }

  // What an import of round `round` writes: one app of its own, replacing the whole key.
  static Value importedApps(int round) {
    return Value(Dictionary{{"com.example.import" + std::to_string(round),
                             Value(Dictionary{{"toggles", Value(Dictionary{{"wifi", 0}})}, {"volume", 0.25}})}});
  }

  // Forks a process that says it is ready, waits for the gate to close, then writes `apps` under
  // "customizedApps" as `tessra import` does.
  pid_t spawnImport(Value apps, int gate[2]) {
    int ready[2];
    EXPECT_EQ(::pipe(gate), 0);
    EXPECT_EQ(::pipe(ready), 0);
    pid_t pid = ::fork();
    if (pid == 0) {
      ::close(gate[1]);
      ::close(ready[0]);
      char c = 'r';
      while (::write(ready[1], &c, 1) < 0) {
      }
      while (::read(gate[0], &c, 1) < 0) {
      }
      platform::HBPreferences preferences{std::string(tessra::kPreferencesDomain)};
      bool ok =
          preferences.setObject(std::move(apps), std::string(tessra::kCustomizedAppsKey)) && preferences.synchronize();
      ::_exit(ok ? 0 : 1);
    }
    ::close(gate[0]);
    ::close(ready[1]);
    char c;
    while (::read(ready[0], &c, 1) < 0) {
    }
    ::close(ready[0]);
    return pid;
  }

  static int exitCode(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  StoreTestEnvironment env;
};

TEST_F(StoreRaceTest, ASaveAfterAnotherProcessReplacedTheStoreKeepsItsAppsAndAddsTheEdit) {
  store().loadDictionaryFromStorage();
  store().setCurrentBundleId(std::string(kEdited));
  store().setState(ToggleStateOn, ToggleTypeDnd);
  // Another process replaces the whole store; this one has not reloaded it.
  env.writeDomain(std::string(tessra::kCustomizedAppsKey), importedApps(1));
  store().setVolumeForCurrentBundleId(30);

  Value stored = env.storedApps();
  EXPECT_EQ(stored["com.example.import1"], importedApps(1)["com.example.import1"]);
  // Only the one edit is re-applied: the entry's older toggles went with the replaced store.
  EXPECT_EQ(stored[kEdited], Value(Dictionary{{"volume", 0.3}}));
  EXPECT_EQ(store().wholeStorageDictionary(), stored);
}

TEST_F(StoreRaceTest, AToggleEditReappliesOnlyThatToggleOverTheNewerStore) {
  store().loadDictionaryFromStorage();
  store().setCurrentBundleId(std::string(kEdited));
  store().setState(ToggleStateOn, ToggleTypeDnd);
  env.writeDomain(std::string(tessra::kCustomizedAppsKey),
                  Value(Dictionary{{kEdited, Value(Dictionary{{"toggles", Value(Dictionary{{"wifi", 0}})}})}}));
  store().setState(ToggleStateOn, ToggleTypeBluetooth);
  EXPECT_EQ(env.storedApps()[kEdited]["toggles"], Value(Dictionary{{"wifi", 0}, {"bluetooth", 1}}));
}

TEST_F(StoreRaceTest, ResetByTheSettingsBundleIsNotUndoneByARemoval) {
  store().loadDictionaryFromStorage();
  store().setCurrentBundleId(std::string(kEdited));
  store().setState(ToggleStateOn, ToggleTypeDnd);
  store().setVolumeForCurrentBundleId(40);
  env.writeDomain(std::string(tessra::kCustomizedAppsKey), Value(Dictionary{}));
  // Removing a key of an entry the reset removed creates no entry.
  store().setVolumeForCurrentBundleId(-1);
  EXPECT_EQ(env.storedApps(), Value(Dictionary{}));
}

// Many imports, each racing one edit of the plug-in in another process. An import that reported success must
// still be on disk once both have finished, whichever saved first.
TEST_F(StoreRaceTest, RacingImportsAndEditsLoseNoImport) {
  constexpr int kPairs = 40;
  store().loadDictionaryFromStorage();
  store().setCurrentBundleId(std::string(kEdited));
  int lost = 0;
  int importsDone = 0;
  for (int round = 0; round < kPairs; ++round) {
    int gate[2];
    pid_t importer = spawnImport(importedApps(round), gate);
    ::close(gate[1]);  // the import and the edit start together, the edit a little later in some rounds
    std::atomic<int> spin{0};
    while (spin.fetch_add(1, std::memory_order_relaxed) < (round % 8) * 20000) {
    }
    store().setVolumeForCurrentBundleId(round % 100);
    if (exitCode(importer) != 0) continue;
    ++importsDone;
    Value stored = env.storedApps();
    if (stored.find("com.example.import" + std::to_string(round)) == nullptr) ++lost;
  }
  std::printf("racing import/edit pairs: %d, imports done: %d, imports lost: %d\n", kPairs, importsDone, lost);
  EXPECT_EQ(importsDone, kPairs);
  EXPECT_EQ(lost, 0);
}

}  // namespace
