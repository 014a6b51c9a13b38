#include "platform/foundation/ProcessInfo.h"

#include <cerrno>
#include <mutex>
#include <optional>

namespace platform {

namespace {

std::mutex g_mutex;
std::optional<std::string> g_name;

}  // namespace

std::string ProcessInfo::processName() {
  std::lock_guard lock(g_mutex);
  if (g_name) return *g_name;
  return program_invocation_short_name ? std::string(program_invocation_short_name) : std::string();
}

void ProcessInfo::setProcessName(std::string name) {
  std::lock_guard lock(g_mutex);
  g_name = std::move(name);
}

}  // namespace platform
