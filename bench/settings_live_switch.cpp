// On a started device: a switch flipped in the Settings app until another
// process on the device bus has been told and reads the new value from the
// domain, as the running plug-in is told and reloads its bound fields (the
// same notification reaches both at once). The time is taken where the value
// is read, on the notification's own thread; the Settings app answers the
// flip only once the value is on disk, later ("done_ms"). "request_ms" is a
// request that changes nothing, for comparison. 100 flips; the medians are
// reported.
#include <benchmark/benchmark.h>
#include <sdbus-c++/sdbus-c++.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/bus/BusConnection.h"
#include "platform/bus/BusLocation.h"
#include "platform/bus/BusNames.h"
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
  bool wanted = false;       // the value the flip in progress stores
  bool flipping = false;     // a flip is in progress and its value was not yet read
  Clock::time_point readAt;  // when it was
  platform::HBPreferences prefs("com.kelvane.tessra2");
  platform::BusConnection bus(root);
  platform::BusNotificationTransport transport(bus, {[&](const std::string& name) {
                                                       if (name != "com.kelvane.tessra2/ReloadPrefs") return;
                                                       platform::HBPreferences::reloadDomain("com.kelvane.tessra2");
                                                       const bool value =
                                                           prefs.objectForKey("showVolumeHUD").boolValue();
                                                       const auto now = Clock::now();
                                                       std::lock_guard lock(mutex);
                                                       if (!flipping || value != wanted) return;
                                                       flipping = false;
                                                       readAt = now;
                                                       told.notify_all();
                                                     },
                                                     [](const std::string&, const platform::plist::Value&) {}});
  bus.start();
  bus.waitFor(platform::BusConnection::State::Connected, platform::seconds(10));
  // The flips go to the Settings app over one connection kept open, as a touch reaches an app already running:
  // a new connection per request (what `tessra device run` makes) would cost more than the flip itself.
  std::unique_ptr<sdbus::IConnection> control;
  std::unique_ptr<sdbus::IProxy> settingsApp;
  try {
    control = sdbus::createSessionBusConnectionWithAddress(platform::BusLocation::readAddress(root).value_or(""));
    settingsApp = sdbus::createProxy(*control, "org.tessra.Preferences", platform::bus::kControlPath);
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
  }
  auto request = [&](const std::string& command, const std::vector<std::string>& args) {
    if (!settingsApp) return false;
    int32_t status = -1;
    std::string output;
    try {
      settingsApp->callMethod(platform::bus::kRunMethod)
          .onInterface(platform::bus::kControlInterface)
          .withArguments(command, args)
          .storeResultsTo(status, output);
    } catch (const std::exception&) {
      return false;
    }
    return status == 0;
  };

  std::vector<double> samples, done;
  bool on = false;
  for (auto _ : state) {
    // At a person's pace: the Settings app has drawn the last flip (its screen goes to SpringBoard) before the next.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    {
      std::lock_guard lock(mutex);
      wanted = on;
      flipping = true;
    }
    auto start = Clock::now();
    const bool answered = request("switch", {"Show Volume Indicator", on ? "on" : "off"});
    const double doneMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    bool read = false;
    {
      std::unique_lock lock(mutex);
      read = told.wait_for(lock, std::chrono::seconds(5), [&] { return !flipping; });
      flipping = false;
    }
    if (!answered || !read) {
      state.SkipWithError("the flip was not seen");
      break;
    }
    const double ms = std::chrono::duration<double, std::milli>(readAt - start).count();
    state.SetIterationTime(ms / 1000.0);
    samples.push_back(ms);
    done.push_back(doneMs);
    on = !on;
  }
  // What the request alone costs: a command that changes nothing.
  std::vector<double> requests;
  for (int i = 0; i < 100 && !samples.empty(); ++i) {
    auto start = Clock::now();
    request("page", {});
    requests.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  if (!samples.empty()) {
    std::sort(requests.begin(), requests.end());
    state.counters["request_ms"] = requests[requests.size() / 2];
    std::sort(samples.begin(), samples.end());
    std::sort(done.begin(), done.end());
    state.counters["median_ms"] = samples[samples.size() / 2];
    state.counters["done_ms"] = done[done.size() / 2];
  }
  settingsApp.reset();
  control.reset();
  bus.stop();
  platform::Log::setSink(previous);
  tessra("device stop " + root.string());
  fs::remove_all(scratch);
}
BENCHMARK(BM_SwitchFlippedUntilReadElsewhere)->Iterations(100)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
