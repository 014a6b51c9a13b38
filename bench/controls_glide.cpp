// Queueing a brightness glide of the longest kind (1001 steps and the exact
// target) from the main thread: how long setBrightness(target, animated)
// takes to hand its steps to the brightness queue, and that it leaves
// nothing on the main queue (every step waits on the brightness queue).
#include <benchmark/benchmark.h>

#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/foundation/OperationQueue.h"
#include "platform/springboard/DeviceModel.h"
#include "tweak/controls/BrightnessManager.h"
#include "tweak/testing/BrightnessManagerTestApi.h"

namespace {

void BM_QueueLongestGlide(benchmark::State& state) {
  platform::ManualTaskEnvironment tasks;
  platform::springboard::DeviceModel::shared().configure({});
  platform::springboard::DeviceState::shared().display().setBrightness(0.0, false);
  BrightnessManagerTestApi::resetQueue();
  auto& manager = BrightnessManager::sharedInstance();

  size_t queued = 0;
  size_t mainQueueTasks = 0;
  for (auto _ : state) {
    // A target far out of range makes the glide hit its step cap.
    manager.setBrightness(100.0, true);
    state.PauseTiming();
    queued = manager.brightnessQueue().operationCount();
    mainQueueTasks += tasks.mainLoop().pendingCount();
    BrightnessManagerTestApi::resetQueue();  // so that cancelled steps do not pile up
    state.ResumeTiming();
  }
  state.counters["steps_queued"] = static_cast<double>(queued);
  state.counters["main_queue_tasks"] = static_cast<double>(mainQueueTasks);
}
BENCHMARK(BM_QueueLongestGlide)->Unit(benchmark::kMicrosecond);

// The list of values alone, without the queue.
void BM_LongestGlideSteps(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(BrightnessManager::glideSteps(0.0, 100.0));
}
BENCHMARK(BM_LongestGlideSteps)->Unit(benchmark::kMicrosecond);

}  // namespace
