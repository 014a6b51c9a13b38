// From a key pressed in a window to the frame that shows its effect, through
// the whole pipeline of a started device: the window's bus message, the
// SpringBoard host's main loop, a new frame drawn and compared, the changed
// rectangles copied into the shared buffer and announced back. The key is
// the lock button (it goes the way a touch goes and changes the screen every
// time). Goal: under 2 frames (33 ms at 60 frames a second).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "platform/bus/BusConnection.h"
#include "platform/bus/BusDisplayClient.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

int tessra(const std::string& args) {
  return std::system((std::string(TESSRA_BIN_DIR) + "/tessra " + args + " > /dev/null 2>&1").c_str());
}

void BM_KeyToFrame(benchmark::State& state) {
  const fs::path root = fs::temp_directory_path() / ("tlat-" + std::to_string(getpid()));
  fs::remove_all(root);
  if (tessra("device create " + root.string()) != 0 || tessra("device start " + root.string()) != 0) {
    state.SkipWithError("cannot start a device");
    return;
  }
  std::mutex mutex;
  std::condition_variable changed;
  uint32_t frames = 0, lastSequence = 0;
  bool attached = false;
  {
    platform::BusConnection bus(root);
    platform::BusDisplayClient* clientPtr = nullptr;
    platform::BusDisplayClient client(bus, 1,
                                      {.attached =
                                           [&](std::shared_ptr<const platform::SharedFrame>) {
                                             std::lock_guard lock(mutex);
                                             attached = true;
                                             changed.notify_all();
                                           },
                                       .frame =
                                           [&](uint32_t sequence, std::vector<platform::FrameRect>) {
                                             {
                                               std::lock_guard lock(mutex);
                                               ++frames;
                                               lastSequence = sequence;
                                             }
                                             clientPtr->shown(sequence);
                                             changed.notify_all();
                                           },
                                       .lost = [](std::string) {}});
    clientPtr = &client;
    bus.start();
    {
      std::unique_lock lock(mutex);
      changed.wait_for(lock, std::chrono::seconds(10), [&] { return attached && frames > 0; });
    }
    // Waits until no frame came for a while (an animation has ended).
    auto settle = [&] {
      std::unique_lock lock(mutex);
      uint32_t seen = frames;
      while (changed.wait_for(lock, std::chrono::milliseconds(150), [&] { return frames != seen; })) seen = frames;
    };
    settle();
    for (auto _ : state) {
      uint32_t before;
      {
        std::lock_guard lock(mutex);
        before = frames;
      }
      const auto start = Clock::now();
      client.key(platform::DisplayKey::Lock, true);
      client.key(platform::DisplayKey::Lock, false);
      bool arrived;
      {
        std::unique_lock lock(mutex);
        arrived = changed.wait_for(lock, std::chrono::seconds(2), [&] { return frames != before; });
      }
      const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
      if (!arrived) {
        state.SkipWithError("no frame came");
        break;
      }
      state.SetIterationTime(seconds);
      settle();
    }
    (void)lastSequence;
  }
  tessra("device stop " + root.string());
  fs::remove_all(root);
}

BENCHMARK(BM_KeyToFrame)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace
