// How long a user waits on the `tessra` command: `tessra device stop` on an
// idle started device (the command's own start-up, SpringBoard leaving, the
// bus ending, everything cleaned up), and `tessra --help`, which is the
// command's start-up alone. Wall time of the whole process, as a shell sees
// it; the median of the samples is reported.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/bus/BusDaemon.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Runs the built `tessra` with `args`, its output discarded; its exit status, or -1.
int tessra(const std::vector<std::string>& args) {
  const std::string program = std::string(TESSRA_BIN_DIR) + "/tessra";
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void reportMedian(benchmark::State& state, std::vector<double>& samples) {
  if (samples.empty()) return;
  std::sort(samples.begin(), samples.end());
  state.counters["median_ms"] = samples[samples.size() / 2];
}

void BM_DeviceStop(benchmark::State& state) {
  fs::path scratch = fs::temp_directory_path() / ("tstop-" + std::to_string(getpid()));
  fs::remove_all(scratch);
  fs::create_directories(scratch);
  const std::string root = (scratch / "device").string();
  if (tessra({"device", "create", root}) != 0) {
    state.SkipWithError("no device could be created");
    fs::remove_all(scratch);
    return;
  }
  std::vector<double> samples;
  for (auto _ : state) {
    if (tessra({"device", "start", root}) != 0) {
      state.SkipWithError("the device did not start");
      break;
    }
    const auto start = Clock::now();
    const int status = tessra({"device", "stop", root});
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (status != 0 || platform::BusDaemon::isRunning(root)) {
      state.SkipWithError("the device did not stop");
      break;
    }
    state.SetIterationTime(ms / 1000.0);
    samples.push_back(ms);
  }
  reportMedian(state, samples);
  tessra({"device", "stop", root});
  fs::remove_all(scratch);
}
BENCHMARK(BM_DeviceStop)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_TessraHelp(benchmark::State& state) {
  std::vector<double> samples;
  for (auto _ : state) {
    const auto start = Clock::now();
    const int status = tessra({"--help"});
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (status != 0) {
      state.SkipWithError("tessra --help failed");
      break;
    }
    state.SetIterationTime(ms / 1000.0);
    samples.push_back(ms);
  }
  reportMedian(state, samples);
}
BENCHMARK(BM_TessraHelp)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
