#include "platform/foundation/TaskEnvironment.h"

#include <atomic>
#include <mutex>

#include "platform/foundation/ThreadedTaskEnvironment.h"

namespace platform {

namespace {

std::atomic<TaskEnvironment*> g_current{nullptr};

}  // namespace

TaskEnvironment::~TaskEnvironment() = default;

TaskEnvironment& TaskEnvironment::current() {
  if (TaskEnvironment* env = g_current.load(std::memory_order_acquire)) return *env;
  // No host or test installed one: a threaded environment serves the process.
  static std::once_flag once;
  static ThreadedTaskEnvironment* fallback = nullptr;
  std::call_once(once, [] { fallback = new ThreadedTaskEnvironment(1); });
  TaskEnvironment* env = g_current.load(std::memory_order_acquire);
  return env ? *env : *fallback;
}

TaskEnvironment* TaskEnvironment::install(TaskEnvironment* env) {
  return g_current.exchange(env, std::memory_order_acq_rel);
}

}  // namespace platform
