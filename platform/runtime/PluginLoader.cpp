#include "platform/runtime/PluginLoader.h"

#include <dlfcn.h>

#include <algorithm>
#include <system_error>

#include "platform/foundation/Log.h"

namespace platform {

std::vector<PluginLoader::Plugin> PluginLoader::loadFolder(const std::filesystem::path& folder,
                                                           const Admission& admit) {
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::filesystem::path& p = it->path();
    if (p.extension() != ".dylib") continue;
    std::error_code typeError;
    if (!std::filesystem::is_regular_file(p, typeError)) continue;
    files.push_back(p);
  }
  if (ec && ec != std::errc::no_such_file_or_directory) {
    Log::write("PluginLoader: cannot list " + folder.string() + ": " + ec.message());
  }
  std::sort(files.begin(), files.end(),
            [](const std::filesystem::path& a, const std::filesystem::path& b) { return a.filename() < b.filename(); });
  std::vector<Plugin> loaded;
  for (const auto& file : files) {
    if (admit && !admit(file)) continue;
    if (void* handle = load(file)) loaded.push_back(Plugin{file, handle});
  }
  return loaded;
}

void* PluginLoader::load(const std::filesystem::path& file) {
  dlerror();
  void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_GLOBAL);
  if (!handle) {
    const char* why = dlerror();
    Log::write("PluginLoader: cannot load " + file.string() + ": " + (why ? why : "unknown error"));
  }
  return handle;
}

void* PluginLoader::symbol(void* handle, const std::string& name) {
  if (!handle) return nullptr;
  return dlsym(handle, name.c_str());
}

}  // namespace platform
