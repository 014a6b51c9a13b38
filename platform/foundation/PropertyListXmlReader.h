#pragma once

#include <string_view>

#include "platform/foundation/PropertyList.h"
#include "platform/foundation/PropertyListLimits.h"

namespace platform::plist {

// Parses an XML property list in one pass, building the value as it goes and
// enforcing the caps while it reads: a file that nests too deep, holds too many
// values or too large a dictionary is refused at the element that breaks the
// cap, before anything more is built. Reads what the phone and libplist write
// (declaration, DOCTYPE, comments, CDATA, the five named entities and numeric
// character references, `<plist>` around the root or a bare root value) and
// refuses everything else with a reason: unknown elements, text between
// values, a key without a value, numbers that do not parse or do not fit,
// impossible dates, data that is not base64, anything after the root, and,
// as standard XML readers do, bytes that are not UTF-8 and characters XML 1.0
// forbids, written out or as character references (PropertyListText, the
// definition the writer checks against too). Text keeps its bytes as they are (no line-end folding), so what the
// writer wrote reads back the same. Stateless; safe from any thread.
class PropertyListXmlReader {
 public:
  // Parses `xml` under `limits` into `out`; on failure `out` is left null and the result says why.
  static CheckResult read(std::string_view xml, const Limits& limits, Value& out);
};

}  // namespace platform::plist
