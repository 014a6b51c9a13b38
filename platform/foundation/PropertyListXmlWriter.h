#pragma once

#include <string>

#include "platform/foundation/PropertyList.h"

namespace platform::plist {

// Renders a value as an XML property list in the layout the phone's own files
// have: the XML declaration and DOCTYPE, one element a line, tab indentation,
// `<true/>`/`<false/>`, dates in UTC (with a fraction of a second only when
// they have one), data as base64 lines. Reals, and the fractions of dates, are
// written in their shortest form that reads back to the same number. Written
// for the save path: the output's size is bounded first, then it is written
// into one buffer. Stateless; safe from any thread.
class PropertyListXmlWriter {
 public:
  // The XML of `root`. `root` must have passed PropertyListFile::checkStorable (no nil, no NUL character, dates
  // within the years 1 to 9999, depth within the caps).
  static std::string write(const Value& root);
};

}  // namespace platform::plist
