#pragma once

#include <string_view>

#include "platform/foundation/PropertyListLimits.h"

namespace platform::plist {

// Inspects a binary property list ("bplist00") before libplist is allowed to
// parse it. libplist copies every reference into its own node, so a file of a
// few hundred bytes whose objects reference each other repeatedly expands to
// gigabytes; this check walks the file's own structure (trailer, offset table,
// object references) and bounds what the parse would build: object count,
// nesting depth, expanded node count and expanded bytes of text and data, and
// refuses references that loop or point outside the file. Stateless.
class PropertyListBinaryCheck {
 public:
  // Whether `bytes` start like a binary property list.
  static bool looksBinary(std::string_view bytes);
  // Ok when libplist may parse `bytes`; otherwise why not.
  static CheckResult check(std::string_view bytes, const Limits& limits);
};

}  // namespace platform::plist
