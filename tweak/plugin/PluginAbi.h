#pragma once

#include <cstdint>

// The interface between the home screen and the plug-in: which version of it
// a plug-in was built for. The SpringBoard host refuses a plug-in built for
// another version before loading it, reading the version from an ELF note of
// the library file (a library's load-time routines run as soon as it is
// loaded, so asking the loaded library would be too late); the loaded
// plug-in answers the same version through tessra_plugin_abi_version().
namespace tessra::plugin_abi {

// Raised whenever the plug-in's expectations of its host change incompatibly.
inline constexpr uint32_t kVersion = 1;
// The ELF note carrying the version: owner name "Tessra", this type, a 32-bit version.
inline constexpr const char* kNoteName = "Tessra";
inline constexpr uint32_t kNoteType = 1;
// The exported entry.
inline constexpr const char* kEntrySymbol = "tessra_plugin_abi_version";

}  // namespace tessra::plugin_abi

extern "C" {
// The version of the home-screen interface the loaded plug-in was built for.
uint32_t tessra_plugin_abi_version();
}
