#pragma once

#include <string_view>

#include "platform/foundation/PropertyListLimits.h"

namespace platform::plist {

// Inspects a binary property list ("bplist00") before it is built into
// values. Building copies every reference into its own value, so a file of a
// few hundred bytes whose objects reference each other repeatedly would expand
// to gigabytes; this check walks the file's own structure (trailer, offset
// table, object references) and bounds what building it would make: object
// count, nesting depth, expanded value count and expanded bytes of text and
// data, and refuses references that loop or point outside the file. Stateless.
class PropertyListBinaryCheck {
 public:
  // Whether `bytes` start like a binary property list.
  static bool looksBinary(std::string_view bytes);
  // Ok when `bytes` may be built (PropertyListBinaryReader); otherwise why not.
  static CheckResult check(std::string_view bytes, const Limits& limits);
};

}  // namespace platform::plist
