#pragma once

#include <functional>
#include <string>

namespace platform {

// The system log (NSLog / os_log). Lines go to standard error unless a host
// sets another sink (a file in the device, a test's capture).
class Log {
 public:
  using Sink = std::function<void(const std::string& line)>;
  // Writes one line.
  static void write(const std::string& line);
  // Replaces where lines go; an empty sink restores standard error. Returns the previous sink.
  static Sink setSink(Sink sink);
};

}  // namespace platform
