#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Reads the ELF notes of a library file without loading it, so that a host
// can look at what a library says about itself before any of its load-time
// routines run. Stateless; a file that is no 64-bit little-endian ELF file,
// or whose tables are cut short or out of bounds, simply has no notes.
class LibraryNotes {
 public:
  // The description of the first note of owner `owner` and type `type` in `file`, or nothing.
  static std::optional<std::string> find(const std::filesystem::path& file, std::string_view owner, uint32_t type);
};

}  // namespace platform
