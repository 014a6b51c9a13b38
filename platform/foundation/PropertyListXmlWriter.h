#pragma once

#include <string>

#include "platform/foundation/PropertyList.h"

namespace platform::plist {

// Renders a value as an XML property list in the layout the phone's own files
// have: the XML declaration and DOCTYPE, one element a line, tab indentation,
// `<true/>`/`<false/>`, dates in whole UTC seconds, data as base64 lines. Reals
// are written in their shortest form that reads back to the same number.
// Written for the save path: one pass, one growing string, no other
// allocation. Stateless; safe from any thread.
class PropertyListXmlWriter {
 public:
  // The XML of `root`. `root` must have passed PropertyListFile::checkStorable (no nil, no NUL character, dates
  // within the years 1 to 9999, depth within the caps).
  static std::string write(const Value& root);
};

}  // namespace platform::plist
