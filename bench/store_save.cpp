// Saving the per-app store after one edit in the panel, with 200 customized
// apps: the new snapshot, the property-list rendering and the atomic replace
// of the domain file. Run with the device root on tmpfs (/dev/shm: the
// flushes cost nothing, so this is the save without the flush to disk) and
// on the disk under the temporary folder (with the flush).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/prefs/HBPreferences.h"
#include "tweak/store/TessraKeys.h"
#include "tweak/store/TessraStorageManager.h"
#include "tweak/vocabulary/ToggleType.h"

namespace {

using platform::plist::Dictionary;
using platform::plist::Value;

constexpr int kApps = 200;

Value storeOf200Apps() {
  Dictionary apps;
  for (int i = 0; i < kApps; ++i) {
    Dictionary toggles;
    for (size_t s : {1u, 3u, 5u, 6u, 10u, 11u, 12u})
      toggles.set(std::string(switchDescriptions()[s].name), Value(i % 2));
    for (size_t a : {0u, 5u, 9u}) toggles.set(std::string(actionDescriptions()[a].name), Value(1));
    apps.set("com.example.application" + std::to_string(i),
             Value(Dictionary{{"toggles", Value(std::move(toggles))}, {"volume", 0.4}, {"brightness", 0.8}}));
  }
  return Value(std::move(apps));
}

void BM_SaveAfterOneEdit(benchmark::State& state, const char* folder) {
  platform::ManualTaskEnvironment tasks;
  std::string pattern = std::string(folder) + "/tessra-bench-XXXXXX";
  std::filesystem::path root = mkdtemp(pattern.data());
  platform::DevicePaths::setRoot(root);
  platform::HBPreferences::reloadDomain(tessra::kPreferencesDomain);

  // As in the home screen, where the bound settings keep the domain loaded between saves.
  platform::HBPreferences boundSettings{std::string(tessra::kPreferencesDomain)};
  TessraStorageManager& store = TessraStorageManager::sharedInstance();
  store.setWholeStorageDictionary(storeOf200Apps());
  store.saveDictionaryToStorage();
  store.setCurrentBundleId(std::string("com.example.application100"));
  ToggleState next = 0;
  for (auto _ : state) {
    store.setState(next, ToggleTypeWifi);  // builds the new snapshot, then saves it
    next = 1 - next;
  }
  state.counters["file_bytes"] = static_cast<double>(
      std::filesystem::file_size(platform::DevicePaths::preferencesFile(tessra::kPreferencesDomain)));
  std::filesystem::remove_all(root);
}
BENCHMARK_CAPTURE(BM_SaveAfterOneEdit, tmpfs_no_flush, "/dev/shm")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SaveAfterOneEdit, disk_with_flush, "/tmp")->Unit(benchmark::kMicrosecond);

// The parts of one save, to see where its time goes.

// The store's own work: a new top-level dictionary with the edited entry, frozen into the new snapshot.
void BM_NewSnapshotOf200Apps(benchmark::State& state) {
  Value whole = storeOf200Apps();
  const std::string bundleId = "com.example.application100";
  for (auto _ : state) {
    Dictionary copy = whole.dictionary();
    Dictionary entry = whole[bundleId].dictionary();
    entry.set("volume", Value(0.5));
    copy.set(bundleId, Value(std::move(entry)));
    benchmark::DoNotOptimize(Value(std::move(copy)));
  }
}
BENCHMARK(BM_NewSnapshotOf200Apps)->Unit(benchmark::kMicrosecond);

// The preferences file's rendering of the domain that holds the store.
void BM_RenderDomainOf200Apps(benchmark::State& state) {
  Value domain{Dictionary{{std::string(tessra::kCustomizedAppsKey), storeOf200Apps()}}};
  for (auto _ : state) benchmark::DoNotOptimize(platform::plist::PropertyListFile::toXml(domain));
}
BENCHMARK(BM_RenderDomainOf200Apps)->Unit(benchmark::kMicrosecond);

}  // namespace
