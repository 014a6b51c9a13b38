#include "platform/foundation/PropertyListBinaryReader.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "platform/foundation/PropertyListBinaryLayout.h"
#include "platform/foundation/PropertyListText.h"
#include "platform/foundation/Utf8.h"

namespace platform::plist {

namespace {

using binary::kMagic;
using binary::kTrailerSize;
using binary::readBigEndian;
// Nesting the reader follows at most; the structural check holds files to far less.
constexpr size_t kMaxNesting = 512;

class Reader {
 public:
  explicit Reader(std::string_view bytes)
      : data_(reinterpret_cast<const unsigned char*>(bytes.data())), size_(bytes.size()) {}

  CheckResult run(Value& out) {
    if (size_ < kMagic.size() + kTrailerSize) return malformed("too short for its trailer");
    const binary::Trailer trailer = binary::readTrailer(data_, size_);
    offsetSize_ = trailer.offsetSize;
    refSize_ = trailer.refSize;
    objectCount_ = trailer.objectCount;
    tableOffset_ = trailer.tableOffset;
    const uint64_t top = trailer.topObject;
    if (!trailer.widthsValid() || top >= objectCount_ || !trailer.tableFits(size_))
      return malformed("with an invalid trailer");
    if (!object(top, nullptr, 1, out)) {
      out = Value();
      return std::move(error_);
    }
    return {};
  }

 private:
  CheckResult malformed(const std::string& why) {
    return CheckResult::fail(ReadStatus::Malformed, "binary property list " + why);
  }
  bool fail(ReadStatus status, std::string why) {
    if (error_.ok()) error_ = CheckResult::fail(status, std::move(why));
    return false;
  }
  // A value that is well formed but has no faithful form here: the message names where it sits.
  bool cannotKeep(const std::string* key, const std::string& what) {
    const std::string where =
        key ? "the value under the key \"" + PropertyListText::printable(*key) + "\"" : std::string("the root value");
    return fail(ReadStatus::Unrepresentable, where + " is " + what);
  }

  // File offset of object `index`, within the object area.
  bool offsetOf(uint64_t index, uint64_t& at) {
    if (index >= objectCount_) return fail(ReadStatus::Malformed, "binary property list reference out of range");
    at = readBigEndian(data_ + tableOffset_ + index * offsetSize_, offsetSize_);
    if (at < kMagic.size() || at >= tableOffset_)
      return fail(ReadStatus::Malformed, "binary property list object outside the object area");
    return true;
  }

  // The length in the marker's low nibble, or the integer object after the marker when the nibble is 0xF.
  bool length(uint64_t& pos, unsigned nibble, uint64_t& n) {
    if (nibble != 0xF) {
      n = nibble;
      return true;
    }
    if (pos >= tableOffset_ || (data_[pos] >> 4) != 0x1 || (data_[pos] & 0xF) > 3)
      return fail(ReadStatus::Malformed, "binary property list with a bad length");
    const uint64_t width = uint64_t{1} << (data_[pos] & 0xF);
    if (width > tableOffset_ - pos - 1) return fail(ReadStatus::Malformed, "binary property list with a bad length");
    n = readBigEndian(data_ + pos + 1, width);
    pos += 1 + width;
    return true;
  }

  // Whether `count` units of `unit` bytes from `pos` lie within the object area.
  bool fits(uint64_t pos, uint64_t count, uint64_t unit) {
    if (pos > tableOffset_ || count > (tableOffset_ - pos) / unit)
      return fail(ReadStatus::Malformed, "binary property list object runs past the object area");
    return true;
  }

  // The text object at `at` (ASCII or UTF-16) into `out`; `key` names where it sits for a message, and `isKey`
  // says that the text is itself a key of the dictionary under `key`.
  bool text(uint64_t at, const std::string* key, bool isKey, std::string& out) {
    const unsigned kind = data_[at] >> 4;
    uint64_t pos = at + 1, n = 0;
    if (!length(pos, data_[at] & 0xF, n)) return false;
    if (kind == 0x5) {
      if (!fits(pos, n, 1)) return false;
      out.assign(reinterpret_cast<const char*>(data_ + pos), static_cast<size_t>(n));
      return true;
    }
    if (!fits(pos, n, 2)) return false;
    out.clear();
    out.reserve(static_cast<size_t>(n));
    for (uint64_t i = 0; i < n; ++i) {
      uint32_t unit = static_cast<uint32_t>(readBigEndian(data_ + pos + 2 * i, 2));
      if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < n) {
        const uint32_t low = static_cast<uint32_t>(readBigEndian(data_ + pos + 2 * (i + 1), 2));
        if (low >= 0xDC00 && low <= 0xDFFF) {
          platform::appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
          ++i;
          continue;
        }
      }
      if (unit >= 0xD800 && unit <= 0xDFFF) {
        const std::string what = "UTF-16 text with a lone surrogate (" + PropertyListText::codePointName(unit) + ")";
        if (!isKey) return cannotKeep(key, what);
        const std::string where =
            key ? "a key inside the value under the key \"" + PropertyListText::printable(*key) + "\""
                : std::string("a key of the root dictionary");
        return fail(ReadStatus::Unrepresentable, where + " is " + what);
      }
      platform::appendUtf8(out, unit);
    }
    return true;
  }

  bool object(uint64_t index, const std::string* key, size_t depth, Value& out) {
    if (depth > kMaxNesting) return fail(ReadStatus::TooComplex, "binary property list nested too deeply");
    uint64_t at = 0;
    if (!offsetOf(index, at)) return false;
    const unsigned marker = data_[at];
    const unsigned kind = marker >> 4, nibble = marker & 0xF;
    switch (kind) {
      case 0x0:
        if (marker == 0x08 || marker == 0x09) {
          out = Value(marker == 0x09);
          return true;
        }
        if (marker == 0x00) return cannotKeep(key, "a null");
        return fail(ReadStatus::Malformed, "binary property list with an unknown marker");
      case 0x1: return integer(at, nibble, key, out);
      case 0x2: {
        if (nibble != 2 && nibble != 3) return fail(ReadStatus::Malformed, "binary property list with a bad real");
        if (!fits(at + 1, uint64_t{1} << nibble, 1)) return false;
        if (nibble == 2) {
          const uint32_t bits = static_cast<uint32_t>(readBigEndian(data_ + at + 1, 4));
          float f;
          std::memcpy(&f, &bits, sizeof f);
          out = Value(static_cast<double>(f));
        } else {
          const uint64_t bits = readBigEndian(data_ + at + 1, 8);
          double d;
          std::memcpy(&d, &bits, sizeof d);
          out = Value(d);
        }
        return true;
      }
      case 0x3: {
        if (marker != 0x33) return fail(ReadStatus::Malformed, "binary property list with a bad date");
        if (!fits(at + 1, 8, 1)) return false;
        const uint64_t bits = readBigEndian(data_ + at + 1, 8);
        double seconds;
        std::memcpy(&seconds, &bits, sizeof seconds);
        out = Value(Date{seconds});
        return true;
      }
      case 0x4: {
        uint64_t pos = at + 1, n = 0;
        if (!length(pos, nibble, n) || !fits(pos, n, 1)) return false;
        out = Value(Data(data_ + pos, data_ + pos + n));
        return true;
      }
      case 0x5:
      case 0x6: {
        std::string s;
        if (!text(at, key, false, s)) return false;
        out = Value(std::move(s));
        return true;
      }
      case 0x8: return cannotKeep(key, "a UID");
      case 0xA:
      case 0xC: {
        uint64_t pos = at + 1, n = 0;
        if (!length(pos, nibble, n) || !fits(pos, n, refSize_)) return false;
        Array items;
        items.reserve(static_cast<size_t>(n));
        for (uint64_t i = 0; i < n; ++i) {
          Value item;
          if (!object(readBigEndian(data_ + pos + i * refSize_, refSize_), key, depth + 1, item)) return false;
          items.push_back(std::move(item));
        }
        out = Value(std::move(items));
        return true;
      }
      case 0xD: {
        uint64_t pos = at + 1, n = 0;
        if (!length(pos, nibble, n) || !fits(pos, n, 2 * uint64_t{refSize_})) return false;
        Dictionary dict;
        for (uint64_t i = 0; i < n; ++i) {
          uint64_t keyAt = 0;
          if (!offsetOf(readBigEndian(data_ + pos + i * refSize_, refSize_), keyAt)) return false;
          if ((data_[keyAt] >> 4) != 0x5 && (data_[keyAt] >> 4) != 0x6)
            return fail(ReadStatus::Malformed, "binary property list with a dictionary key that is not text");
          std::string name;
          if (!text(keyAt, key, true, name)) return false;
          Value value;
          if (!object(readBigEndian(data_ + pos + (n + i) * refSize_, refSize_), &name, depth + 1, value)) return false;
          dict.set(std::move(name), std::move(value));
        }
        out = Value(std::move(dict));
        return true;
      }
      default: return fail(ReadStatus::Malformed, "binary property list with an unknown marker");
    }
  }

  // Integers of 1, 2 and 4 bytes are unsigned, of 8 bytes signed, of 16 bytes a signed 128-bit number.
  bool integer(uint64_t at, unsigned nibble, const std::string* key, Value& out) {
    if (nibble > 4) return fail(ReadStatus::Malformed, "binary property list with an integer too wide");
    const uint64_t width = uint64_t{1} << nibble;
    if (!fits(at + 1, width, 1)) return false;
    if (width < 8) {
      out = Value(static_cast<int64_t>(readBigEndian(data_ + at + 1, width)));
      return true;
    }
    if (width == 8) {
      out = Value(static_cast<int64_t>(readBigEndian(data_ + at + 1, 8)));
      return true;
    }
    const uint64_t high = readBigEndian(data_ + at + 1, 8);
    const uint64_t low = readBigEndian(data_ + at + 9, 8);
    if (high == 0) {
      out = Value(low);  // 0 to 2^64-1: how unsigned 64-bit numbers are written
      return true;
    }
    if (high == UINT64_MAX && (low >> 63) == 1) {
      out = Value(static_cast<int64_t>(low));  // -2^63 to -1
      return true;
    }
    return cannotKeep(key, "a 128-bit integer beyond 64 bits");
  }

  const unsigned char* data_;
  uint64_t size_;
  unsigned offsetSize_ = 0;
  unsigned refSize_ = 0;
  uint64_t objectCount_ = 0;
  uint64_t tableOffset_ = 0;
  CheckResult error_;
};

}  // namespace

CheckResult PropertyListBinaryReader::read(std::string_view bytes, Value& out) { return Reader(bytes).run(out); }

}  // namespace platform::plist
