#include "tools/SpringBoard/host/PluginAdmission.h"

#include <cstring>

#include "platform/runtime/LibraryNotes.h"
#include "tweak/plugin/PluginAbi.h"

namespace tessra::device {

std::optional<std::string> PluginAdmission::refusal(const std::filesystem::path& file) {
  const std::string name = file.filename().string();
  auto note = platform::LibraryNotes::find(file, plugin_abi::kNoteName, plugin_abi::kNoteType);
  if (!note) {
    if (name == "Tessra2.dylib") return name + " names no version of the home-screen interface";
    return std::nullopt;
  }
  uint32_t version = 0;
  if (note->size() != sizeof version) return name + " names its home-screen interface version unreadably";
  std::memcpy(&version, note->data(), sizeof version);
  if (version != plugin_abi::kVersion)
    return name + " was built for version " + std::to_string(version) + " of the home-screen interface; this " +
           "SpringBoard runs version " + std::to_string(plugin_abi::kVersion);
  return std::nullopt;
}

}  // namespace tessra::device
