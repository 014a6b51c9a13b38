// On a started device: a switch flipped in the Settings app until another
// process on the device bus has been told and reads the new value from the
// domain, as the running plug-in is told and reloads its bound fields (the
// same notification reaches both at once). 100 flips; the median is reported.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "platform/bus/BusConnection.h"
#include "platform/bus/BusControlClient.h"
#include "platform/bus/BusNotificationTransport.h"
#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/Log.h"
#include "platform/prefs/HBPreferences.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

int tessra(const std::string& args) {
  return std::system((std::string(TESSRA_BIN_DIR) + "/tessra " + args + " >/dev/null 2>&1").c_str());
}

void BM_SwitchFlippedUntilReadElsewhere(benchmark::State& state) {
  fs::path scratch = fs::temp_directory_path() / ("tsbench-" + std::to_string(getpid()));
  fs::remove_all(scratch);
  fs::create_directories(scratch);
  fs::path root = scratch / "device";
  std::ofstream(scratch / "open.txt") << "settings\n";
  if (tessra("device create " + root.string()) != 0 || tessra("device start " + root.string()) != 0 ||
      tessra("device run " + (scratch / "open.txt").string() + " --root " + root.string()) != 0) {
    state.SkipWithError("no device could be started");
    tessra("device stop " + root.string());
    fs::remove_all(scratch);
    return;
  }
  platform::DevicePaths::setRoot(root);
  auto previous = platform::Log::setSink([](const std::string&) {});
  std::mutex mutex;
  std::condition_variable told;
  int reloads = 0;
  platform::BusConnection bus(root);
  platform::BusNotificationTransport transport(bus, {[&](const std::string& name) {
                                                       if (name != "com.kelvane.tessra2/ReloadPrefs") return;
                                                       platform::HBPreferences::reloadDomain("com.kelvane.tessra2");
                                                       std::lock_guard lock(mutex);
                                                       ++reloads;
                                                       told.notify_all();
                                                     },
                                                     [](const std::string&, const platform::plist::Value&) {}});
  bus.start();
  bus.waitFor(platform::BusConnection::State::Connected, platform::seconds(10));
  platform::HBPreferences prefs("com.kelvane.tessra2");

  std::vector<double> samples;
  bool on = false;
  for (auto _ : state) {
    int seen = 0;
    {
      std::lock_guard lock(mutex);
      seen = reloads;
    }
    auto start = Clock::now();
    auto reply = platform::BusControlClient::call(root, "switch", {"Show Volume Indicator", on ? "on" : "off"},
                                                  platform::seconds(10), "org.tessra.Preferences");
    {
      std::unique_lock lock(mutex);
      told.wait_for(lock, std::chrono::seconds(5), [&] { return reloads > seen; });
    }
    bool read = prefs.objectForKey("showVolumeHUD").boolValue() == on;
    double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (!reply.answered() || !read) {
      state.SkipWithError("the flip was not seen");
      break;
    }
    state.SetIterationTime(ms / 1000.0);
    samples.push_back(ms);
    on = !on;
  }
  if (!samples.empty()) {
    std::sort(samples.begin(), samples.end());
    state.counters["median_ms"] = samples[samples.size() / 2];
  }
  bus.stop();
  platform::Log::setSink(previous);
  tessra("device stop " + root.string());
  fs::remove_all(scratch);
}
BENCHMARK(BM_SwitchFlippedUntilReadElsewhere)->Iterations(100)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
