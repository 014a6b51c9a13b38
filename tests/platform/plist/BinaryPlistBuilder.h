#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/foundation/PropertyList.h"

namespace platform::plist::testing {

// Writes binary property lists ("bplist00") object by object, so tests can
// build the files the phone writes (shared keys, UTF-16 text) as well as
// hostile ones (references that repeat, loop or point nowhere). Objects are
// numbered in the order they are added.
class BinaryPlistBuilder {
 public:
  size_t addBool(bool b) { return addObject({static_cast<uint8_t>(b ? 0x09 : 0x08)}); }
  size_t addInteger(int64_t v) {
    std::vector<uint8_t> o{0x13};
    appendBigEndian(o, static_cast<uint64_t>(v), 8);
    return addObject(std::move(o));
  }
  // An integer of 16 bytes, `high` then `low`: how unsigned numbers of 2^63 and above are written.
  size_t addInteger128(uint64_t high, uint64_t low) {
    std::vector<uint8_t> o{0x14};
    appendBigEndian(o, high, 8);
    appendBigEndian(o, low, 8);
    return addObject(std::move(o));
  }
  // An integer of 1, 2 or 4 bytes (which the format reads as unsigned).
  size_t addNarrowInteger(uint64_t v, unsigned width) {
    std::vector<uint8_t> o{static_cast<uint8_t>(0x10 | (width == 1 ? 0 : width == 2 ? 1 : 2))};
    appendBigEndian(o, v, width);
    return addObject(std::move(o));
  }
  size_t addReal(double v) {
    uint64_t bits;
    static_assert(sizeof bits == sizeof v);
    __builtin_memcpy(&bits, &v, sizeof bits);
    std::vector<uint8_t> o{0x23};
    appendBigEndian(o, bits, 8);
    return addObject(std::move(o));
  }
  size_t addDate(double secondsSince2001) {
    uint64_t bits;
    __builtin_memcpy(&bits, &secondsSince2001, sizeof bits);
    std::vector<uint8_t> o{0x33};
    appendBigEndian(o, bits, 8);
    return addObject(std::move(o));
  }
  size_t addString(const std::string& ascii) {
    std::vector<uint8_t> o = header(0x5, ascii.size());
    o.insert(o.end(), ascii.begin(), ascii.end());
    return addObject(std::move(o));
  }
  size_t addUtf16(const std::u16string& text) {
    std::vector<uint8_t> o = header(0x6, text.size());
    for (char16_t c : text) appendBigEndian(o, c, 2);
    return addObject(std::move(o));
  }
  size_t addData(const std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> o = header(0x4, bytes.size());
    o.insert(o.end(), bytes.begin(), bytes.end());
    return addObject(std::move(o));
  }
  // References are written with the width given to build().
  size_t addArray(std::vector<size_t> refs) { return addContainer(0xA, std::move(refs)); }
  size_t addDictionary(const std::vector<std::pair<size_t, size_t>>& entries) {
    std::vector<size_t> refs;
    for (const auto& e : entries) refs.push_back(e.first);
    for (const auto& e : entries) refs.push_back(e.second);
    return addContainer(0xD, std::move(refs), entries.size());
  }
  // An object given byte by byte (for malformed markers and lengths).
  size_t addRaw(std::vector<uint8_t> bytes) { return addObject(std::move(bytes)); }

  // Adds `v` and everything in it, nothing shared; returns its number.
  size_t add(const Value& v) {
    switch (v.type()) {
      case Type::Null: return addRaw({0x00});
      case Type::Boolean: return addBool(v.boolValue());
      case Type::Integer:
        return v.isLargeUnsigned() ? addInteger128(0, v.unsignedIntegerValue()) : addInteger(v.integerValue());
      case Type::Real: return addReal(v.doubleValue());
      case Type::String: return addString(v.string());
      case Type::Data: return addData(v.data());
      case Type::Date: return addDate(v.date().secondsSince2001);
      case Type::Array: {
        std::vector<size_t> refs;
        for (const Value& item : v.array()) refs.push_back(add(item));
        return addArray(std::move(refs));
      }
      case Type::Dictionary: {
        std::vector<std::pair<size_t, size_t>> entries;
        for (const auto& [key, item] : v.dictionary()) {
          size_t k = addString(key);
          entries.emplace_back(k, add(item));
        }
        return addDictionary(entries);
      }
    }
    return 0;
  }

  // The file with `top` as its root. Widths of 0 pick the smallest that fits.
  std::string build(size_t top, unsigned refSize = 0, unsigned offsetSize = 0) const {
    if (refSize == 0) refSize = widthFor(objects_.size());
    std::string out = "bplist00";
    std::vector<uint64_t> offsets;
    for (const Object& o : objects_) {
      offsets.push_back(out.size());
      std::vector<uint8_t> bytes = o.bytes;
      for (size_t r : o.refs) appendBigEndian(bytes, r, refSize);
      out.append(bytes.begin(), bytes.end());
    }
    const uint64_t tableAt = out.size();
    if (offsetSize == 0) offsetSize = widthFor(tableAt);
    std::vector<uint8_t> tail;
    for (uint64_t off : offsets) appendBigEndian(tail, off, offsetSize);
    for (int i = 0; i < 6; ++i) tail.push_back(0);
    tail.push_back(static_cast<uint8_t>(offsetSize));
    tail.push_back(static_cast<uint8_t>(refSize));
    appendBigEndian(tail, objects_.size(), 8);
    appendBigEndian(tail, top, 8);
    appendBigEndian(tail, tableAt, 8);
    out.append(tail.begin(), tail.end());
    return out;
  }

  // A whole value as a file.
  static std::string encode(const Value& v) {
    BinaryPlistBuilder b;
    size_t top = b.add(v);
    return b.build(top);
  }

 private:
  struct Object {
    std::vector<uint8_t> bytes;
    std::vector<size_t> refs;
  };
  static void appendBigEndian(std::vector<uint8_t>& out, uint64_t v, unsigned width) {
    for (unsigned i = width; i-- > 0;) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  static unsigned widthFor(uint64_t n) { return n < 0x100 ? 1 : n < 0x10000 ? 2 : n < 0x100000000ull ? 4 : 8; }
  static std::vector<uint8_t> header(unsigned kind, size_t length) {
    if (length < 15) return {static_cast<uint8_t>(kind << 4 | length)};
    std::vector<uint8_t> h{static_cast<uint8_t>(kind << 4 | 0xF), 0x13};
    appendBigEndian(h, length, 8);
    return h;
  }
  size_t addObject(std::vector<uint8_t> bytes) {
    objects_.push_back({std::move(bytes), {}});
    return objects_.size() - 1;
  }
  size_t addContainer(unsigned kind, std::vector<size_t> refs, size_t length = SIZE_MAX) {
    if (length == SIZE_MAX) length = refs.size();
    objects_.push_back({header(kind, length), std::move(refs)});
    return objects_.size() - 1;
  }

  std::vector<Object> objects_;
};

}  // namespace platform::plist::testing
