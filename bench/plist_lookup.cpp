// Reading one toggle of one app from a store of 200 apps, as the behaviour
// hooks do every time the home screen consults them. Goal: under 100 ns and no
// allocation. Allocations are counted by replacing the global operator new.

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "bench/support/AllocationCounter.h"
#include "bench/support/SampleToggles.h"
#include "platform/foundation/PropertyList.h"

namespace {

using platform::plist::Dictionary;
using platform::plist::Value;

// 200 apps with 1 to 18 toggles each, a volume on every other app and a brightness on every third.
Value makeStore() {
  Dictionary store;
  for (int i = 0; i < 200; ++i) {
    Dictionary toggles;
    for (int t = 0; t <= i % 18; ++t) toggles.set(bench::kSampleToggles[t], Value(t % 2));
    Dictionary entry{{"toggles", Value(toggles)}};
    if (i % 2 == 0) entry.set("volume", Value(0.5));
    if (i % 3 == 0) entry.set("brightness", Value(0.25));
    store.set("com.example.application" + std::to_string(i), Value(entry));
  }
  return Value(store);
}

// The store's read: entry, then its toggles, then the state (-1 when absent).
int64_t stateOf(const Value& store, std::string_view bundleId, std::string_view toggle) {
  const Value* entry = store.find(bundleId);
  if (!entry) return -1;
  const Value* toggles = entry->find("toggles");
  if (!toggles) return -1;
  const Value* state = toggles->find(toggle);
  return state ? state->integerValue() : -1;
}

void BM_ToggleStateOfOneApp(benchmark::State& state) {
  const Value store = makeStore();
  // Identifiers arrive as strings owned elsewhere (the engine's current app).
  std::vector<std::string> ids;
  for (int i = 0; i < 200; i += 7) ids.push_back("com.example.application" + std::to_string(i));
  size_t n = 0;
  const size_t before = bench::allocationCount();
  for (auto _ : state) {
    const std::string& id = ids[n++ % ids.size()];
    benchmark::DoNotOptimize(stateOf(store, id, "action_hideHomeBar"));
  }
  state.counters["allocations_per_lookup"] = benchmark::Counter(static_cast<double>(bench::allocationCount() - before) /
                                                                static_cast<double>(state.iterations()));
}
BENCHMARK(BM_ToggleStateOfOneApp);

void BM_ToggleStateOfAnAppWithoutEntry(benchmark::State& state) {
  const Value store = makeStore();
  const std::string id = "com.example.notcustomized";
  for (auto _ : state) benchmark::DoNotOptimize(stateOf(store, id, "wifi"));
}
BENCHMARK(BM_ToggleStateOfAnAppWithoutEntry);

// The same through the value-returning subscripts (shares content, no allocation).
void BM_ToggleStateBySubscripts(benchmark::State& state) {
  const Value store = makeStore();
  const std::string id = "com.example.application133";
  const size_t before = bench::allocationCount();
  for (auto _ : state) benchmark::DoNotOptimize(store[id]["toggles"]["dnd"].integerValue());
  state.counters["allocations_per_lookup"] = benchmark::Counter(static_cast<double>(bench::allocationCount() - before) /
                                                                static_cast<double>(state.iterations()));
}
BENCHMARK(BM_ToggleStateBySubscripts);

// A write as the store makes it: copy the top level, replace one entry, freeze.
void BM_ReplaceOneEntry(benchmark::State& state) {
  Value store = makeStore();
  const std::string id = "com.example.application42";
  int64_t v = 0;
  for (auto _ : state) {
    Dictionary copy = store.dictionary();
    Dictionary entry = copy.find(id)->dictionary();
    entry.set("volume", Value(static_cast<double>(++v % 100) / 100));
    copy.set(id, Value(std::move(entry)));
    store = Value(std::move(copy));
  }
}
BENCHMARK(BM_ReplaceOneEntry);

}  // namespace
