#pragma once

#include <string_view>

#include "platform/foundation/PropertyList.h"
#include "platform/foundation/PropertyListLimits.h"

namespace platform::plist {

// Builds the value of a binary property list ("bplist00") that
// PropertyListBinaryCheck has accepted, so that its size and shape are already
// bounded. Every value keeps its exact meaning: integers of 1, 2 and 4 bytes
// are unsigned and of 8 bytes signed, a 16-byte integer is read as the 128-bit
// number it is, dates keep their full double (any year), UTF-16 text is
// converted to UTF-8 code point by code point. What has no faithful form here
// is refused, naming the key it sits under (ReadStatus::Unrepresentable): a
// 128-bit integer outside -2^63 to 2^64-1, UTF-16 text with a lone surrogate,
// a null or a UID. Stateless.
class PropertyListBinaryReader {
 public:
  // The root value of `bytes` into `out`; on failure `out` is null and the result says why.
  static CheckResult read(std::string_view bytes, Value& out);
};

}  // namespace platform::plist
