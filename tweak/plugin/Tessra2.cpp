// The plug-in's load-time entry. The loader runs the two routines in this
// order when the home screen loads Tessra2.dylib; both do nothing in any other
// process (the settings bundle loads the library only to reach its classes).
// The library exports nothing but its interface version (PluginAbi.h).
#include "tweak/engine/BehavioursStartup.h"
#include "tweak/engine/TessraStartup.h"
#include "tweak/plugin/PluginAbi.h"

namespace {

// The interface version as an ELF note, which a host reads from the file
// before loading it: owner name and version, each padded to four bytes.
struct AbiNote {
  uint32_t nameSize = 7;
  uint32_t descriptionSize = 4;
  uint32_t type = tessra::plugin_abi::kNoteType;
  char name[8] = "Tessra";
  uint32_t version = tessra::plugin_abi::kVersion;
};

[[gnu::used, gnu::section(".note.tessra.abi"), gnu::aligned(4)]] const AbiNote kAbiNote{};

}  // namespace

extern "C" {

__attribute__((constructor(101))) void Tessra2MainStartUp() { TessraStartup::mainStartUp(); }

__attribute__((constructor(102))) void Tessra2BehavioursStartUp() { BehavioursStartup::startUp(); }

__attribute__((visibility("default"))) uint32_t tessra_plugin_abi_version() { return tessra::plugin_abi::kVersion; }
}
