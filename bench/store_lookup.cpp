// Reads of the per-app store on a store of 200 apps: the stored state of one
// toggle (asked by the behaviour hooks many times a second, so it must not
// allocate) and the count of an app's customized things (asked for every row
// of the settings bundle's list of apps and every quick-action menu).
#include <benchmark/benchmark.h>

#include <string>

#include "bench/support/AllocationCounter.h"
#include "platform/foundation/PropertyList.h"
#include "tweak/store/TessraStorageManager.h"
#include "tweak/vocabulary/ToggleType.h"

namespace {

using platform::plist::Dictionary;
using platform::plist::Value;

constexpr int kApps = 200;

std::string bundleIdOf(int i) { return "com.example.application" + std::to_string(i); }

// 200 apps, each with a volume, a brightness, seven switches and three behaviours.
void fillStore() {
  Dictionary apps;
  for (int i = 0; i < kApps; ++i) {
    Dictionary toggles;
    for (ToggleType type : {ToggleTypeBluetooth, ToggleTypeWifi, ToggleTypeDnd, ToggleTypeLocation,
                            ToggleTypeNightShift, ToggleTypeVpn, ToggleTypeRinger})
      toggles.set(std::string(switchDescriptions()[static_cast<size_t>(type)].name), Value((i + type) % 2));
    for (size_t a : {0u, 5u, 9u}) toggles.set(std::string(actionDescriptions()[a].name), Value(1));
    apps.set(bundleIdOf(i),
             Value(Dictionary{{"toggles", Value(std::move(toggles))}, {"volume", 0.4}, {"brightness", 0.8}}));
  }
  TessraStorageManager::sharedInstance().setWholeStorageDictionary(Value(std::move(apps)));
}

void BM_StateOfOneToggle(benchmark::State& state) {
  fillStore();
  const TessraStorageManager& store = TessraStorageManager::sharedInstance();
  std::string bundleId = bundleIdOf(137);
  std::string_view id = bundleId;
  size_t before = bench::allocationCount();
  for (auto _ : state) benchmark::DoNotOptimize(store.getStateForToggle(ToggleTypeHideStockAlerts, id));
  size_t allocated = bench::allocationCount() - before;
  state.counters["allocations"] = static_cast<double>(allocated);
  if (allocated != 0) state.SkipWithError("getStateForToggle allocated");
}
BENCHMARK(BM_StateOfOneToggle);

void BM_StateOfAMissingApp(benchmark::State& state) {
  fillStore();
  const TessraStorageManager& store = TessraStorageManager::sharedInstance();
  size_t before = bench::allocationCount();
  for (auto _ : state) benchmark::DoNotOptimize(store.getStateForToggle(ToggleTypeWifi, "com.not.customized"));
  size_t allocated = bench::allocationCount() - before;
  state.counters["allocations"] = static_cast<double>(allocated);
  if (allocated != 0) state.SkipWithError("getStateForToggle allocated");
}
BENCHMARK(BM_StateOfAMissingApp);

void BM_CountCustomizedThings(benchmark::State& state) {
  fillStore();
  const TessraStorageManager& store = TessraStorageManager::sharedInstance();
  std::string bundleId = bundleIdOf(137);
  size_t before = bench::allocationCount();
  for (auto _ : state) benchmark::DoNotOptimize(store.getNbCustomizedThingsForBundleId(bundleId));
  state.counters["allocations"] = static_cast<double>(bench::allocationCount() - before);
}
BENCHMARK(BM_CountCustomizedThings);

}  // namespace
