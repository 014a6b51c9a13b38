#include "platform/foundation/DevicePaths.h"

#include <cstdlib>
#include <mutex>

namespace platform {

namespace {

std::mutex g_mutex;
std::optional<std::filesystem::path> g_root;

}  // namespace

void DevicePaths::setRoot(std::filesystem::path root) {
  std::lock_guard lock(g_mutex);
  g_root = std::filesystem::absolute(root).lexically_normal();
}

std::filesystem::path DevicePaths::root() {
  std::lock_guard lock(g_mutex);
  if (g_root) return *g_root;
  if (const char* env = std::getenv("TESSRA_DEVICE_ROOT"); env && *env)
    return std::filesystem::absolute(env).lexically_normal();
  return std::filesystem::current_path();
}

std::optional<std::filesystem::path> DevicePaths::resolve(std::string_view devicePath) {
  if (devicePath.empty() || devicePath.front() != '/') return std::nullopt;
  std::filesystem::path relative = std::filesystem::path(devicePath.substr(1)).lexically_normal();
  // A path that climbs out of the root ("/../etc") is refused, not clamped.
  for (const auto& part : relative)
    if (part == "..") return std::nullopt;
  return root() / relative;
}

std::filesystem::path DevicePaths::preferencesFile(std::string_view domain) {
  return root() / "var/mobile/Library/Preferences" / (std::string(domain) + ".plist");
}

}  // namespace platform
