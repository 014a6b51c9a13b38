#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace platform::plist::binary {

// The frame of a binary property list: the "bplist00" header, the objects, the
// offset table, and the 32-byte trailer at the very end that says where the
// table is and how wide its entries and the objects' references are. Shared by
// the structural check and the reader, which each judge the values themselves.

inline constexpr std::string_view kMagic = "bplist00";
inline constexpr size_t kTrailerSize = 32;

// An unsigned big-endian integer of `width` bytes (1 to 8).
inline uint64_t readBigEndian(const unsigned char* p, size_t width) {
  uint64_t v = 0;
  for (size_t i = 0; i < width; ++i) v = (v << 8) | p[i];
  return v;
}

// The trailer's fields as the file states them, not yet checked.
struct Trailer {
  unsigned offsetSize = 0;  // bytes of each offset-table entry
  unsigned refSize = 0;     // bytes of each object reference
  uint64_t objectCount = 0;
  uint64_t topObject = 0;
  uint64_t tableOffset = 0;

  // Whether both widths are 1 to 8 bytes.
  bool widthsValid() const { return offsetSize >= 1 && offsetSize <= 8 && refSize >= 1 && refSize <= 8; }
  // Whether the offset table, with an entry for every object, lies between the header and the trailer of a
  // file of `size` bytes (valid widths assumed).
  bool tableFits(uint64_t size) const {
    const uint64_t trailerAt = size - kTrailerSize;
    return tableOffset >= kMagic.size() && tableOffset <= trailerAt &&
           objectCount <= (trailerAt - tableOffset) / offsetSize;
  }
};

// The trailer of the `size` bytes at `data`, which must hold at least the header and a trailer.
inline Trailer readTrailer(const unsigned char* data, uint64_t size) {
  const unsigned char* t = data + size - kTrailerSize;
  Trailer trailer;
  trailer.offsetSize = t[6];
  trailer.refSize = t[7];
  trailer.objectCount = readBigEndian(t + 8, 8);
  trailer.topObject = readBigEndian(t + 16, 8);
  trailer.tableOffset = readBigEndian(t + 24, 8);
  return trailer;
}

}  // namespace platform::plist::binary
