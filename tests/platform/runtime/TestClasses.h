#pragma once

#include <string>
#include <vector>

#include "platform/foundation/Log.h"
#include "platform/runtime/Runtime.h"

namespace platform::test {

// A class name no other test of this program uses (the registry is process-wide).
inline std::string uniqueClassName(const std::string& base) {
  static int counter = 0;
  return base + "_" + std::to_string(++counter);
}

// Collects the lines written to the system log while alive.
class LogCapture {
 public:
  LogCapture() {
    previous_ = Log::setSink([this](const std::string& line) { lines.push_back(line); });
  }
  ~LogCapture() { Log::setSink(previous_); }
  std::vector<std::string> lines;

 private:
  Log::Sink previous_;
};

}  // namespace platform::test
