#pragma once

#include <compare>

namespace platform {

// A row's place in a table (NSIndexPath with section and row). A plain value.
struct NSIndexPath {
  long section = 0;
  long row = 0;

  static NSIndexPath indexPathForRow(long row, long section) { return {section, row}; }
  auto operator<=>(const NSIndexPath&) const = default;
};

}  // namespace platform
