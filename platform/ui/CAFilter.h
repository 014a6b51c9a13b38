#pragma once

#include <string>

namespace platform {

// A Core Animation filter on a layer, known by its name (for example
// "colorInvert" or "gaussianBlur"); the renderer applies the names it knows.
struct CAFilter {
  std::string name;
  bool operator==(const CAFilter&) const = default;
};

}  // namespace platform
