#include "platform/foundation/Log.h"

#include <cstdio>
#include <mutex>

namespace platform {

namespace {

std::mutex& sinkMutex() {
  static std::mutex* mutex = new std::mutex();
  return *mutex;
}

Log::Sink& sink() {
  static Log::Sink* current = new Log::Sink();
  return *current;
}

}  // namespace

void Log::write(const std::string& line) {
  Sink target;
  {
    std::lock_guard lock(sinkMutex());
    target = sink();
  }
  if (target) {
    target(line);
    return;
  }
  std::fprintf(stderr, "%s\n", line.c_str());
}

Log::Sink Log::setSink(Sink newSink) {
  std::lock_guard lock(sinkMutex());
  Sink previous = std::move(sink());
  sink() = std::move(newSink);
  return previous;
}

}  // namespace platform
