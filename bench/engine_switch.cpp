// The engine inside a home screen that loads the real Tessra2.dylib: the
// frontmost check SpringBoard runs all the time, and a whole apply + restore.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <filesystem>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/prefs/HBPreferences.h"
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/DeviceModel.h"

namespace {

using platform::plist::Dictionary;
using platform::plist::Value;

struct Bench {
  platform::ManualTaskEnvironment env;
  std::filesystem::path root;

  Bench() {
    root = std::filesystem::temp_directory_path() / ("tessra-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(root);
    platform::DevicePaths::setRoot(root);
    platform::ProcessInfoTestApi::setProcessName("SpringBoard");
    platform::springboard::DeviceConfiguration config;
    config.installedApps.push_back({"com.bench.app", "Bench", platform::springboard::AppKind::User, ""});
    platform::springboard::DeviceModel::shared().configure(config);

    Dictionary toggles;
    for (const char* name : {"orientationLock", "bluetooth", "cellular", "wifi", "airplane", "dnd", "location",
                             "autoLock", "lowPower", "vpn"})
      toggles.set(name, Value(1));
    Dictionary entry{{"toggles", Value(toggles)}, {"volume", Value(0.4)}, {"brightness", Value(0.6)}};
    platform::HBPreferences prefs("com.kelvane.tessra2");
    prefs.setObject(Value(Dictionary{{"com.bench.app", Value(entry)}}), "customizedApps");
    prefs.setObject(Value(false), "brightnessAnimated");

    void* handle = dlopen(TESSRA2_DYLIB, RTLD_NOW | RTLD_GLOBAL);
    if (!handle) std::abort();
    env.runUntilIdle();
  }
  ~Bench() { std::filesystem::remove_all(root); }
};

Bench& bench() {
  static Bench* b = new Bench();
  return *b;
}

void BM_FrontmostCheckWhenNothingChanged(benchmark::State& state) {
  bench();
  auto& device = platform::springboard::DeviceModel::shared();
  device.openApp("com.bench.app");
  bench().env.fastForwardBy(platform::seconds(1));
  platform::Class* cls = platform::objc_getClass("UIApplication");
  platform::id app = platform::msgSend<platform::id>(cls, SELECTOR("sharedApplication"));
  for (auto _ : state) {
    benchmark::DoNotOptimize(platform::msgSend<platform::id>(app, SELECTOR("_accessibilityFrontMostApplication")));
  }
  device.goHome();
  bench().env.fastForwardBy(platform::seconds(1));
}
BENCHMARK(BM_FrontmostCheckWhenNothingChanged);

// Opening the app applies a volume, a brightness and ten switches; going home
// restores them. The delayed volume change is drained outside the timing.
void BM_ApplyAndRestoreVolumeBrightnessTenSwitches(benchmark::State& state) {
  bench();
  auto& device = platform::springboard::DeviceModel::shared();
  for (auto _ : state) {
    device.openApp("com.bench.app");
    device.goHome();
    state.PauseTiming();
    bench().env.fastForwardBy(platform::seconds(1));
    device.state().eventLog().clear();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ApplyAndRestoreVolumeBrightnessTenSwitches);

}  // namespace
