#include "platform/foundation/PropertyListBinaryCheck.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/foundation/PropertyListBinaryLayout.h"

namespace platform::plist {

namespace {

using binary::kMagic;
using binary::kTrailerSize;
using binary::readBigEndian;

// What the check needs of one object: where its references are, how many,
// and how many bytes of text or data it adds to the expanded tree.
struct ObjectInfo {
  bool container = false;
  uint64_t refsAt = 0;         // file offset of the first reference
  uint64_t refCount = 0;       // number of references (keys and values for a dictionary)
  uint64_t valueRefsFrom = 0;  // index of the first reference that is a value, not a key
  uint64_t payload = 0;        // bytes of text or data this object expands to
};

class Walker {
 public:
  Walker(std::string_view bytes, const Limits& limits)
      : data_(reinterpret_cast<const unsigned char*>(bytes.data())), size_(bytes.size()), limits_(limits) {}

  CheckResult run();

 private:
  CheckResult readTrailer();
  CheckResult decode(uint64_t index, ObjectInfo& info) const;
  // Reads a length nibble, or the integer object that follows when the nibble is 0xF.
  bool readLength(uint64_t& pos, unsigned nibble, uint64_t& length) const;
  // Whether object `index` is ASCII or UTF-16 text (its offset is checked when it is decoded).
  bool isText(uint64_t index) const {
    const uint64_t at = readBigEndian(data_ + tableOffset_ + index * offsetSize_, offsetSize_);
    if (at < kMagic.size() || at >= tableOffset_) return false;
    const unsigned kind = data_[at] >> 4;
    return kind == 0x5 || kind == 0x6;
  }
  uint64_t reference(const ObjectInfo& info, uint64_t i) const {
    return readBigEndian(data_ + info.refsAt + i * refSize_, refSize_);
  }

  const unsigned char* data_;
  uint64_t size_;
  const Limits& limits_;
  unsigned offsetSize_ = 0;
  unsigned refSize_ = 0;
  uint64_t objectCount_ = 0;
  uint64_t topObject_ = 0;
  uint64_t tableOffset_ = 0;
};

CheckResult Walker::readTrailer() {
  if (size_ < kMagic.size() + kTrailerSize)
    return CheckResult::fail(ReadStatus::Malformed, "binary property list too short for its trailer");
  const binary::Trailer trailer = binary::readTrailer(data_, size_);
  offsetSize_ = trailer.offsetSize;
  refSize_ = trailer.refSize;
  objectCount_ = trailer.objectCount;
  topObject_ = trailer.topObject;
  tableOffset_ = trailer.tableOffset;
  if (!trailer.widthsValid())
    return CheckResult::fail(ReadStatus::Malformed, "binary property list with invalid offset or reference size");
  if (objectCount_ == 0 || topObject_ >= objectCount_)
    return CheckResult::fail(ReadStatus::Malformed, "binary property list with no valid top object");
  // Every object is a value or a dictionary key, and each key comes with a value.
  const uint64_t maxObjects = 2 * static_cast<uint64_t>(limits_.maxNodes);
  if (objectCount_ > maxObjects)
    return CheckResult::fail(ReadStatus::TooComplex, "binary property list with " + std::to_string(objectCount_) +
                                                         " objects (limit " + std::to_string(maxObjects) + ")");
  if (!trailer.tableFits(size_))
    return CheckResult::fail(ReadStatus::Malformed, "binary property list with its offset table outside the file");
  return {};
}

bool Walker::readLength(uint64_t& pos, unsigned nibble, uint64_t& length) const {
  if (nibble != 0xF) {
    length = nibble;
    return true;
  }
  if (pos >= tableOffset_) return false;
  unsigned marker = data_[pos];
  if ((marker >> 4) != 0x1 || (marker & 0xF) > 3) return false;
  uint64_t width = uint64_t{1} << (marker & 0xF);
  if (pos + 1 + width > tableOffset_) return false;
  length = readBigEndian(data_ + pos + 1, width);
  pos += 1 + width;
  return true;
}

CheckResult Walker::decode(uint64_t index, ObjectInfo& info) const {
  const uint64_t at = readBigEndian(data_ + tableOffset_ + index * offsetSize_, offsetSize_);
  if (at < kMagic.size() || at >= tableOffset_)
    return CheckResult::fail(ReadStatus::Malformed,
                             "binary property list object " + std::to_string(index) + " outside the object area");
  const unsigned marker = data_[at];
  const unsigned kind = marker >> 4, nibble = marker & 0xF;
  uint64_t pos = at + 1;
  uint64_t extent = 0;  // bytes after the marker (and length) that the object occupies
  uint64_t length = 0;
  auto malformed = [&](const char* what) {
    return CheckResult::fail(ReadStatus::Malformed,
                             "binary property list object " + std::to_string(index) + ": " + what);
  };
  switch (kind) {
    case 0x0:
      if (marker != 0x00 && marker != 0x08 && marker != 0x09 && marker != 0x0F) return malformed("unknown marker");
      break;
    case 0x1:
      if (nibble > 4) return malformed("integer too wide");
      extent = uint64_t{1} << nibble;
      break;
    case 0x2:
      if (nibble > 3) return malformed("real too wide");
      extent = uint64_t{1} << nibble;
      break;
    case 0x3:
      if (marker != 0x33) return malformed("unknown date marker");
      extent = 8;
      break;
    case 0x4:  // data
    case 0x5:  // ASCII text
    case 0x6:  // UTF-16 text
      if (!readLength(pos, nibble, length)) return malformed("bad length");
      if (kind == 0x6) {
        if (length > (tableOffset_ - pos) / 2) return malformed("text runs past the object area");
        extent = length * 2;
        info.payload = length * 3;  // a UTF-16 unit becomes at most three UTF-8 bytes
        for (uint64_t u = 0; u < length; ++u)
          if (data_[pos + 2 * u] == 0 && data_[pos + 2 * u + 1] == 0) return malformed("text with a NUL character");
      } else {
        if (length > tableOffset_ - pos) return malformed("runs past the object area");
        extent = length;
        info.payload = length;
        // A key with a NUL inside is no key at all, and XML cannot carry one.
        if (kind == 0x5 && std::memchr(data_ + pos, 0, length)) return malformed("text with a NUL character");
      }
      break;
    case 0x8: extent = nibble + 1; break;
    case 0xA:  // array
    case 0xC:  // set
    case 0xD:  // dictionary: keys, then values
      if (!readLength(pos, nibble, length)) return malformed("bad length");
      if (kind == 0xD && length > limits_.maxDictionaryEntries)
        return CheckResult::fail(ReadStatus::TooComplex, "binary property list with a dictionary of more than " +
                                                             std::to_string(limits_.maxDictionaryEntries) + " entries");
      info.container = true;
      info.refsAt = pos;
      info.refCount = kind == 0xD ? length * 2 : length;
      info.valueRefsFrom = kind == 0xD ? length : 0;
      if (length > (tableOffset_ - pos) / refSize_ / (kind == 0xD ? 2 : 1))
        return malformed("references run past the object area");
      extent = info.refCount * refSize_;
      break;
    default: return malformed("unknown marker");
  }
  if (pos > tableOffset_ || extent > tableOffset_ - pos) return malformed("runs past the object area");
  return {};
}

CheckResult Walker::run() {
  if (CheckResult trailer = readTrailer(); !trailer.ok()) return trailer;

  // Depth-first walk from the top object, each object decoded once. Results
  // saturate just above the limits so that sums cannot overflow.
  enum : uint8_t { kUnseen, kOnPath, kDone };
  const uint64_t nodeCap = limits_.maxNodes + 1;
  const uint64_t byteCap = limits_.maxExpandedBytes + 1;
  std::vector<uint8_t> state(objectCount_, kUnseen);
  std::vector<uint32_t> nodes(objectCount_, 0);
  std::vector<uint64_t> bytes(objectCount_, 0);
  std::vector<uint16_t> depth(objectCount_, 0);

  struct Frame {
    uint64_t index;
    ObjectInfo info;
    uint64_t next = 0;  // next reference to visit
    uint64_t nodes = 1;
    uint64_t bytes = 0;
    uint64_t depth = 1;
  };
  std::vector<Frame> path;
  auto enter = [&](uint64_t index) -> CheckResult {
    if (path.size() >= limits_.maxDepth)
      return CheckResult::fail(ReadStatus::TooComplex, "binary property list nested deeper than " +
                                                           std::to_string(limits_.maxDepth) + " levels");
    Frame frame{index, {}};
    if (CheckResult decoded = decode(index, frame.info); !decoded.ok()) return decoded;
    frame.bytes = frame.info.payload;
    state[index] = kOnPath;
    path.push_back(frame);
    return {};
  };
  if (CheckResult first = enter(topObject_); !first.ok()) return first;
  if (limits_.dictionaryRoot) {
    const uint64_t topAt = readBigEndian(data_ + tableOffset_ + topObject_ * offsetSize_, offsetSize_);  // checked
    if (data_[topAt] >> 4 != 0xD)
      return CheckResult::fail(ReadStatus::Malformed, "property list whose root is not a dictionary");
  }

  while (!path.empty()) {
    Frame& frame = path.back();
    if (frame.next < frame.info.refCount) {
      const uint64_t i = frame.next++;
      const uint64_t child = reference(frame.info, i);
      if (child >= objectCount_)
        return CheckResult::fail(ReadStatus::Malformed, "binary property list reference out of range");
      // A dictionary key must be text: refused here, before anything is built.
      if (i < frame.info.valueRefsFrom && !isText(child))
        return CheckResult::fail(ReadStatus::Malformed, "binary property list with a dictionary key that is not text");
      if (state[child] == kOnPath)
        return CheckResult::fail(ReadStatus::Malformed, "binary property list whose objects contain themselves");
      if (state[child] == kUnseen) {
        if (CheckResult entered = enter(child); !entered.ok()) return entered;
        // `frame` dangles after the push. Step the parent back so that it revisits
        // this reference, and sums the child in, once the child is done.
        path[path.size() - 2].next = i;
        continue;
      }
      // A finished child: add what it expands to. Keys add their text, not a node or a level.
      const bool isValue = i >= frame.info.valueRefsFrom;
      if (isValue) {
        frame.nodes = std::min(nodeCap, frame.nodes + nodes[child]);
        frame.depth = std::max<uint64_t>(frame.depth, uint64_t{depth[child]} + 1);
      }
      frame.bytes = std::min(byteCap, frame.bytes + bytes[child]);
      if (frame.nodes > limits_.maxNodes)
        return CheckResult::fail(ReadStatus::TooComplex, "binary property list expands to more than " +
                                                             std::to_string(limits_.maxNodes) + " values");
      if (frame.bytes > limits_.maxExpandedBytes)
        return CheckResult::fail(ReadStatus::TooComplex, "binary property list expands to more than " +
                                                             std::to_string(limits_.maxExpandedBytes) +
                                                             " bytes of text and data");
      continue;
    }
    state[frame.index] = kDone;
    nodes[frame.index] = static_cast<uint32_t>(frame.nodes);
    bytes[frame.index] = frame.bytes;
    depth[frame.index] = static_cast<uint16_t>(std::min<uint64_t>(frame.depth, 0xFFFF));
    path.pop_back();
  }
  if (depth[topObject_] > limits_.maxDepth)
    return CheckResult::fail(ReadStatus::TooComplex,
                             "binary property list nested deeper than " + std::to_string(limits_.maxDepth) + " levels");
  return {};
}

}  // namespace

bool PropertyListBinaryCheck::looksBinary(std::string_view bytes) {
  return bytes.size() >= 6 && bytes.substr(0, 6) == "bplist";
}

CheckResult PropertyListBinaryCheck::check(std::string_view bytes, const Limits& limits) {
  if (bytes.substr(0, kMagic.size()) != kMagic)
    return CheckResult::fail(ReadStatus::Malformed, "not a binary property list of version 00");
  return Walker(bytes, limits).run();
}

}  // namespace platform::plist
