// Reading one system switch through FlipswitchHelper's dispatch on a
// simulated 13.x device: a Flipswitch switch (class lookup, shared panel,
// state by full identifier), Bluetooth through its manager, and the ringer,
// whose dispatch also reads the system version.
#include <benchmark/benchmark.h>

#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/springboard/DeviceModel.h"
#include "tweak/controls/FlipswitchHelper.h"

namespace {

void readSwitch(benchmark::State& state, ToggleType type) {
  platform::ManualTaskEnvironment tasks;
  platform::springboard::DeviceModel::shared().configure({});
  for (auto _ : state) benchmark::DoNotOptimize(FlipswitchHelper::isToggleEnabled(type));
}

void BM_ReadWifi(benchmark::State& state) { readSwitch(state, ToggleTypeWifi); }
void BM_ReadBluetooth(benchmark::State& state) { readSwitch(state, ToggleTypeBluetooth); }
void BM_ReadRinger(benchmark::State& state) { readSwitch(state, ToggleTypeRinger); }
BENCHMARK(BM_ReadWifi);
BENCHMARK(BM_ReadBluetooth);
BENCHMARK(BM_ReadRinger);

}  // namespace
