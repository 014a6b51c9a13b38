#pragma once

#include <filesystem>
#include <vector>

namespace tessra::preferences {

// The Settings app of a dry run (Preferences --dry): a process of its own,
// with its own preferences, stores and observers, on a manual clock that
// follows the home screen's. It reads messages of SettingsAppProtocol from
// `in`: notifications posted in the home screen are delivered here at once;
// a command first brings the clock up to the home screen's time (running what
// falls due), then runs, then runs everything it made due; what it posted
// meanwhile goes back on `out` before its reply. Ends at "quit" or when `in`
// closes. One per process.
class DryRunSession {
 public:
  DryRunSession(int in, int out) : in_(in), out_(out) {}
  // Serves until the end; the process's exit status.
  int run(const std::vector<std::filesystem::path>& bundles);

 private:
  int in_;
  int out_;
};

}  // namespace tessra::preferences
