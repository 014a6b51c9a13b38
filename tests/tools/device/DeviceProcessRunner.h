#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace tessra::device::testing {

// What a program run by a test printed and how it ended.
struct ProcessResult {
  int status = -1;  // exit status; -1 when it did not end normally (killed, timed out)
  std::string out;
  std::string err;
};

// Runs the built `tessra` command (and other programs) as a child process for
// end-to-end tests, with its output captured. Every run is bounded: a program
// still running after `timeout` is killed and reported with status -1.
class DeviceProcessRunner {
 public:
  // Runs `program` with `args`; its output goes to files in `scratch`.
  static ProcessResult run(const std::filesystem::path& program, const std::vector<std::string>& args,
                           const std::filesystem::path& scratch,
                           std::chrono::milliseconds timeout = std::chrono::seconds(90));
};

}  // namespace tessra::device::testing
