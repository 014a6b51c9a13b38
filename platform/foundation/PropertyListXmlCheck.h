#pragma once

#include <string_view>

#include "platform/foundation/PropertyListLimits.h"

namespace platform::plist {

// Scans an XML property list before libplist parses it, counting elements,
// their nesting and the keys of each dictionary without building anything.
// libplist's parser is slow and memory-hungry on large files (and slower
// still on large dictionaries), and its writer and its recursive free cannot
// survive deep nesting, so a file that already breaks the limits is refused
// here. The counts are exact for well-formed files (comments, CDATA,
// declarations and "key" elements are not values); anything stranger is left
// to libplist and the check after parsing. Stateless.
class PropertyListXmlCheck {
 public:
  // Ok when libplist may parse `bytes`; otherwise why not.
  static CheckResult check(std::string_view bytes, const Limits& limits);
};

}  // namespace platform::plist
