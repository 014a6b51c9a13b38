#pragma once

#include <chrono>

namespace platform {

// Time for the whole device comes in through one interface, so that tests can
// drive it by hand and the host programs can use the machine's steady clock.
using Duration = std::chrono::nanoseconds;
using TimePoint = std::chrono::time_point<std::chrono::steady_clock, Duration>;

// Converts seconds, as the system writes its delays (0.3, 1/60), to a Duration.
constexpr Duration seconds(double s) { return Duration(static_cast<Duration::rep>(s * 1e9 + (s >= 0 ? 0.5 : -0.5))); }

// Converts a Duration back to seconds.
constexpr double toSeconds(Duration d) { return static_cast<double>(d.count()) / 1e9; }

// Reads the current time. Implementations must be safe to call from any thread.
class Clock {
 public:
  virtual ~Clock() = default;
  // The current time; never goes backwards.
  virtual TimePoint now() const = 0;
};

// The machine's monotonic clock, used by the host programs.
class SteadyClock final : public Clock {
 public:
  TimePoint now() const override { return std::chrono::time_point_cast<Duration>(std::chrono::steady_clock::now()); }
};

}  // namespace platform
