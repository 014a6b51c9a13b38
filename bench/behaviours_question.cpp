// One behaviour question inside a home screen that loads the real
// Tessra2.dylib, with 200 apps in the store: SpringBoard asks the app in
// front whether it suppresses Control Center, and the hook asks the store.
// Allocations are counted by replacing the global operator new.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>

#include "bench/support/AllocationCounter.h"
#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/prefs/HBPreferences.h"
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/DeviceModel.h"
#include "platform/springboard/SharedObjects.h"

namespace {

using platform::plist::Dictionary;
using platform::plist::Value;

struct Bench {
  platform::ManualTaskEnvironment env;
  std::filesystem::path root;
  platform::id frontApplication = nullptr;

  Bench() {
    root = std::filesystem::temp_directory_path() / ("tessra-bench-behaviours-" + std::to_string(getpid()));
    std::filesystem::create_directories(root);
    platform::DevicePaths::setRoot(root);
    platform::ProcessInfoTestApi::setProcessName("SpringBoard");
    platform::springboard::DeviceConfiguration config;
    config.installedApps.push_back({"com.example.application139", "Bench", platform::springboard::AppKind::User, ""});
    platform::springboard::DeviceModel::shared().configure(config);

    // 200 apps with a few switches and behaviours each; the one in front disables Control Center.
    const char* const names[] = {"wifi",
                                 "bluetooth",
                                 "dnd",
                                 "action_disableNC",
                                 "action_hideStockAlerts",
                                 "action_disableReachability",
                                 "action_disableCC"};
    Dictionary apps;
    for (int i = 0; i < 200; ++i) {
      Dictionary toggles;
      for (int k = 0; k <= i % 7; ++k) toggles.set(names[k], Value(1));
      apps.set("com.example.application" + std::to_string(i), Value(Dictionary{{"toggles", Value(toggles)}}));
    }
    platform::HBPreferences prefs("com.kelvane.tessra2");
    prefs.setObject(Value(apps), "customizedApps");

    void* handle = dlopen(TESSRA2_DYLIB, RTLD_NOW | RTLD_GLOBAL);
    if (!handle) std::abort();
    env.runUntilIdle();
    auto& device = platform::springboard::DeviceModel::shared();
    device.openApp("com.example.application139");
    env.fastForwardBy(platform::seconds(1));
    platform::id controller = platform::springboard::SharedObjects::shared().get("SBApplicationController");
    frontApplication = platform::msgSend<platform::id, std::string>(
        controller, SELECTOR("applicationWithBundleIdentifier:"), std::string("com.example.application139"));
    if (!platform::msgSend<bool>(frontApplication, SELECTOR("suppressesControlCenter"))) std::abort();
  }
  ~Bench() { std::filesystem::remove_all(root); }
};

Bench& bench() {
  static Bench* b = new Bench();
  return *b;
}

void BM_SuppressesControlCenterAsksTheStore(benchmark::State& state) {
  platform::id application = bench().frontApplication;
  const size_t before = bench::allocationCount();
  for (auto _ : state)
    benchmark::DoNotOptimize(platform::msgSend<bool>(application, SELECTOR("suppressesControlCenter")));
  state.counters["allocations_per_question"] = benchmark::Counter(
      static_cast<double>(bench::allocationCount() - before) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_SuppressesControlCenterAsksTheStore);

}  // namespace
