#include "platform/foundation/PropertyListXmlCheck.h"

#include <string>
#include <vector>

namespace platform::plist {

namespace {

bool startsWith(std::string_view s, size_t at, std::string_view prefix) { return s.substr(at, prefix.size()) == prefix; }

// The position of the '>' closing a tag that starts at `at`, skipping quoted
// attribute values; npos when the tag never closes.
size_t tagEnd(std::string_view s, size_t at) {
  char quote = 0;
  for (size_t i = at + 1; i < s.size(); ++i) {
    char c = s[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '>') {
      return i;
    }
  }
  return std::string_view::npos;
}

// The end of a "<!DOCTYPE ...>" declaration, including an internal subset in brackets.
size_t declarationEnd(std::string_view s, size_t at) {
  int brackets = 0;
  char quote = 0;
  for (size_t i = at + 2; i < s.size(); ++i) {
    char c = s[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '[') {
      ++brackets;
    } else if (c == ']') {
      --brackets;
    } else if (c == '>' && brackets <= 0) {
      return i;
    }
  }
  return std::string_view::npos;
}

// Whether the text holds "&#0;", "&#x0;" or the same with more zeros.
bool hasNulReference(std::string_view s) {
  for (size_t at = s.find("&#"); at != std::string_view::npos; at = s.find("&#", at + 2)) {
    size_t i = at + 2;
    if (i < s.size() && (s[i] == 'x' || s[i] == 'X')) ++i;
    size_t zeros = 0;
    while (i < s.size() && s[i] == '0') ++i, ++zeros;
    if (zeros > 0 && i < s.size() && s[i] == ';') return true;
  }
  return false;
}

}  // namespace

CheckResult PropertyListXmlCheck::check(std::string_view s, const Limits& limits) {
  // Elements nest one level deeper than values: <plist> wraps the root.
  const size_t maxElementDepth = limits.maxDepth + 1;
  size_t depth = 0, values = 0;
  // Keys seen directly inside each open element, outermost first.
  std::vector<size_t> keys(1, 0);
  auto malformed = [](const char* what) { return CheckResult::fail(ReadStatus::Malformed, what); };
  // XML cannot carry a NUL character, and libplist aborts on a key holding one.
  if (s.find('\0') != std::string_view::npos) return malformed("XML with a NUL character");
  if (hasNulReference(s)) return malformed("XML with a reference to the NUL character");
  for (size_t at = s.find('<'); at != std::string_view::npos; at = s.find('<', at)) {
    const char next = at + 1 < s.size() ? s[at + 1] : '\0';
    size_t end;
    if (next == '!' || next == '?') {
      if (startsWith(s, at, "<!--")) {
        end = s.find("-->", at + 4);
        if (end == std::string_view::npos) return malformed("XML comment never closes");
        at = end + 3;
      } else if (startsWith(s, at, "<![CDATA[")) {
        end = s.find("]]>", at + 9);
        if (end == std::string_view::npos) return malformed("XML CDATA section never closes");
        at = end + 3;
      } else if (next == '?') {
        end = s.find("?>", at + 2);
        if (end == std::string_view::npos) return malformed("XML declaration never closes");
        at = end + 2;
      } else {
        end = declarationEnd(s, at);
        if (end == std::string_view::npos) return malformed("XML declaration never closes");
        at = end + 1;
      }
      continue;
    }
    end = tagEnd(s, at);
    if (end == std::string_view::npos) return malformed("XML tag never closes");
    if (next == '/') {
      if (depth > 0) --depth;
      if (keys.size() > 1) keys.pop_back();
      at = end + 1;
      continue;
    }
    const bool selfClosing = s[end - 1] == '/';
    size_t nameEnd = at + 1;
    while (nameEnd < end && s[nameEnd] != '/' && s[nameEnd] != ' ' && s[nameEnd] != '\t' && s[nameEnd] != '\n' &&
           s[nameEnd] != '\r')
      ++nameEnd;
    std::string_view name = s.substr(at + 1, nameEnd - at - 1);
    if (limits.dictionaryRoot && values == 0 && name != "plist" && name != "dict")
      return malformed("property list whose root is not a dictionary");
    if (name != "key" && name != "plist" && ++values > limits.maxNodes)
      return CheckResult::fail(ReadStatus::TooComplex,
                               "XML property list with more than " + std::to_string(limits.maxNodes) + " values");
    if (name == "key" && ++keys.back() > limits.maxDictionaryEntries)
      return CheckResult::fail(ReadStatus::TooComplex, "XML property list with a dictionary of more than " +
                                                           std::to_string(limits.maxDictionaryEntries) + " entries");
    if (!selfClosing) {
      if (++depth > maxElementDepth)
        return CheckResult::fail(ReadStatus::TooComplex, "XML property list nested deeper than " +
                                                             std::to_string(limits.maxDepth) + " levels");
      keys.push_back(0);
    }
    at = end + 1;
  }
  return {};
}

}  // namespace platform::plist
