#include "platform/runtime/LibraryNotes.h"

#include <elf.h>

#include <algorithm>
#include <cstring>
#include <fstream>

namespace platform {
namespace {

// Note sections larger than this are not read.
constexpr uint64_t kMaxNoteSection = 1 << 20;

bool readAt(std::ifstream& in, uint64_t offset, uint64_t fileSize, void* out, uint64_t size) {
  if (offset > fileSize || size > fileSize - offset) return false;
  in.clear();
  in.seekg(static_cast<std::streamoff>(offset));
  in.read(static_cast<char*>(out), static_cast<std::streamsize>(size));
  return static_cast<uint64_t>(in.gcount()) == size;
}

uint64_t alignedTo4(uint64_t size) { return (size + 3) & ~uint64_t{3}; }

// The description of the wanted note among the notes of one section.
std::optional<std::string> findInSection(std::string_view notes, std::string_view owner, uint32_t type) {
  uint64_t at = 0;
  while (notes.size() - at >= 3 * sizeof(uint32_t)) {
    uint32_t header[3];
    std::memcpy(header, notes.data() + at, sizeof header);
    at += sizeof header;
    const uint64_t nameSize = header[0], descriptionSize = header[1];
    if (alignedTo4(nameSize) > notes.size() - at) return std::nullopt;
    std::string_view name = notes.substr(at, nameSize);
    if (!name.empty() && name.back() == '\0') name.remove_suffix(1);
    at += alignedTo4(nameSize);
    if (descriptionSize > notes.size() - at) return std::nullopt;
    if (name == owner && header[2] == type) return std::string(notes.substr(at, descriptionSize));
    at += std::min<uint64_t>(alignedTo4(descriptionSize), notes.size() - at);
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> LibraryNotes::find(const std::filesystem::path& file, std::string_view owner,
                                              uint32_t type) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return std::nullopt;
  const uint64_t fileSize = std::filesystem::file_size(file, error);
  if (error) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  Elf64_Ehdr header;
  if (!in || !readAt(in, 0, fileSize, &header, sizeof header)) return std::nullopt;
  if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64 ||
      header.e_ident[EI_DATA] != ELFDATA2LSB || header.e_shentsize != sizeof(Elf64_Shdr))
    return std::nullopt;
  if (header.e_shoff > fileSize) return std::nullopt;
  for (uint64_t i = 0; i < header.e_shnum; ++i) {
    Elf64_Shdr section;
    if (!readAt(in, header.e_shoff + i * sizeof section, fileSize, &section, sizeof section)) return std::nullopt;
    if (section.sh_type != SHT_NOTE || section.sh_size > kMaxNoteSection) continue;
    std::string notes(section.sh_size, '\0');
    if (!readAt(in, section.sh_offset, fileSize, notes.data(), notes.size())) continue;
    if (auto description = findInSection(notes, owner, type)) return description;
  }
  return std::nullopt;
}

}  // namespace platform
