// Building the customization summary strip for an app with fourteen
// customized things (volume, brightness, twelve switches) and drawing it at
// 3x, as the settings page does for each customized app's row.
// Goal: under 1 ms median.
#include <benchmark/benchmark.h>

#include <memory>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/foundation/PropertyList.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/render/ViewRenderer.h"
#include "tweak/panel/TSCustomizedThingsView.h"
#include "tweak/store/TessraStorageManager.h"

namespace {

using namespace platform;
namespace plist = platform::plist;

// The device files and a store holding one app with fourteen things.
void setUpStore() {
#ifdef TESSRA_DEVICE_FILES
  DevicePaths::setRoot(TESSRA_DEVICE_FILES);
#endif
  UIScreen::mainScreen().setScale(3);
  plist::Dictionary toggles;
  for (const char* name : {"wifi", "bluetooth", "cellular", "airplane", "dnd", "location", "orientationLock",
                           "lowPower", "nightShift", "vpn", "ringer", "darkMode"})
    toggles.set(name, plist::Value(1));
  plist::Dictionary app{{"volume", 0.4}, {"brightness", 0.7}, {"toggles", plist::Value(std::move(toggles))}};
  TessraStorageManager::sharedInstance().setWholeStorageDictionary(
      plist::Value(plist::Dictionary{{"com.example.app", plist::Value(std::move(app))}}));
}

void BM_SummaryStripOfFourteenThings(benchmark::State& state) {
  ManualTaskEnvironment env;
  setUpStore();
  ViewRenderer renderer;
  for (auto _ : state) {
    auto strip =
        std::make_shared<TSCustomizedThingsView>(CGRectMake(0, 0, 275, 16), "com.example.app", UIColor::blackColor());
    auto image = renderer.renderView(*strip, 3);
    benchmark::DoNotOptimize(image);
  }
  state.counters["icons"] = 14;
}
BENCHMARK(BM_SummaryStripOfFourteenThings)->Unit(benchmark::kMicrosecond);

// The two halves apart: building (store read, icons, constraints, layout) and drawing.
void BM_SummaryStripBuildOnly(benchmark::State& state) {
  ManualTaskEnvironment env;
  setUpStore();
  for (auto _ : state) {
    auto strip =
        std::make_shared<TSCustomizedThingsView>(CGRectMake(0, 0, 275, 16), "com.example.app", UIColor::blackColor());
    benchmark::DoNotOptimize(strip);
  }
}
BENCHMARK(BM_SummaryStripBuildOnly)->Unit(benchmark::kMicrosecond);

void BM_SummaryStripDrawOnly(benchmark::State& state) {
  ManualTaskEnvironment env;
  setUpStore();
  auto strip =
      std::make_shared<TSCustomizedThingsView>(CGRectMake(0, 0, 275, 16), "com.example.app", UIColor::blackColor());
  for (auto _ : state) {
    ViewRenderer renderer;  // a new page row: nothing cached
    auto image = renderer.renderView(*strip, 3);
    benchmark::DoNotOptimize(image);
  }
}
BENCHMARK(BM_SummaryStripDrawOnly)->Unit(benchmark::kMicrosecond);

}  // namespace
