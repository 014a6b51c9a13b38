#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace platform {

// Loads plug-in libraries the way the substrate loader does at the start of a
// host: every "*.dylib" of a folder, in file-name order, with RTLD_NOW |
// RTLD_GLOBAL, so each library's load-time routines run one library after
// the other in that order. A library that fails to load is reported through
// platform::Log and skipped. Libraries stay loaded for the life of the
// process (plug-ins are never unloaded).
class PluginLoader {
 public:
  struct Plugin {
    std::filesystem::path path;
    void* handle = nullptr;  // dlopen handle
  };

  // Decides before a library is loaded whether it may be; a refusal is the decider's to report.
  using Admission = std::function<bool(const std::filesystem::path& file)>;

  // Loads every "*.dylib" directly inside `folder` (sorted by name) that `admit` (when set) lets in;
  // answers those that loaded. A missing folder loads nothing.
  static std::vector<Plugin> loadFolder(const std::filesystem::path& folder, const Admission& admit = {});
  // Loads one library; null (and a log line) on failure.
  static void* load(const std::filesystem::path& file);
  // The symbol `name` of a loaded library, or null.
  static void* symbol(void* handle, const std::string& name);
};

}  // namespace platform
