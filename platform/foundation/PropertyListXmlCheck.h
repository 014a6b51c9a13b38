#pragma once

#include <string_view>

#include "platform/foundation/PropertyListLimits.h"

namespace platform::plist {

// Scans an XML property list before libplist parses it, counting elements and
// their nesting without building anything. libplist's parser is slow and
// memory-hungry on a large file of tiny elements, and its writer and its
// recursive free cannot survive deep nesting, so a file whose element count or
// depth already breaks the limits is refused here. The count is exact for
// well-formed files (comments, CDATA, declarations and "key" elements are not
// values); anything stranger is left to libplist and the check after parsing.
// Stateless.
class PropertyListXmlCheck {
 public:
  // Ok when libplist may parse `bytes`; otherwise why not.
  static CheckResult check(std::string_view bytes, const Limits& limits);
};

}  // namespace platform::plist
