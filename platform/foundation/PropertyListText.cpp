#include "platform/foundation/PropertyListText.h"

#include <array>
#include <cstdio>

namespace platform::plist {

namespace {

// Decodes the UTF-8 sequence at `at`: its code point and length, or a length of 0 when it is not UTF-8
// (overlong forms, surrogates and code points past U+10FFFF included).
size_t decodeUtf8(const unsigned char* bytes, size_t size, size_t at, uint32_t& code) {
  const unsigned char lead = bytes[at];
  size_t length = 0;
  if (lead < 0x80) {
    code = lead;
    return 1;
  }
  if (lead >= 0xC2 && lead <= 0xDF) {
    code = lead & 0x1F;
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    code = lead & 0x0F;
    length = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    code = lead & 0x07;
    length = 4;
  } else {
    return 0;
  }
  if (at + length > size) return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((bytes[at + k] & 0xC0) != 0x80) return 0;
    code = (code << 6) | (bytes[at + k] & 0x3F);
  }
  if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
      (code >= 0xD800 && code <= 0xDFFF))
    return 0;
  return length;
}

// Bytes that are a whole character XML allows by themselves: printable ASCII, DEL, tab, line feed, carriage return.
constexpr std::array<bool, 256> kPlainAscii = [] {
  std::array<bool, 256> plain{};
  for (int c = 0x20; c < 0x80; ++c) plain[c] = true;
  plain['\t'] = plain['\n'] = plain['\r'] = true;
  return plain;
}();

}  // namespace

bool PropertyListText::isXmlCharacter(uint32_t code) {
  if (code < 0x20) return code == 0x09 || code == 0x0A || code == 0x0D;
  if (code >= 0xD800 && code <= 0xDFFF) return false;
  if (code == 0xFFFE || code == 0xFFFF) return false;
  return code <= 0x10FFFF;
}

std::optional<PropertyListText::Fault> PropertyListText::findFault(std::string_view text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const size_t size = text.size();
  for (size_t i = 0; i < size;) {
    // Plain ASCII, the bulk of every file (indentation and line ends included), by one table look-up each.
    while (i < size && kPlainAscii[bytes[i]]) ++i;
    if (i == size) break;
    uint32_t code = 0;
    const size_t length = decodeUtf8(bytes, size, i, code);
    if (length == 0) return Fault{i, "bytes that are not UTF-8"};
    if (!isXmlCharacter(code)) return Fault{i, "the character " + codePointName(code) + ", which XML cannot carry"};
    i += length;
  }
  return std::nullopt;
}

std::string PropertyListText::printable(std::string_view text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    uint32_t code = 0;
    const size_t length = decodeUtf8(bytes, text.size(), i, code);
    // C1 controls (U+0080 to U+009F) move a terminal's cursor as C0 ones do.
    if (length == 0 || code < 0x20 || code == 0x7F || (code >= 0x80 && code <= 0x9F)) {
      const size_t n = length == 0 ? 1 : length;
      for (size_t k = 0; k < n; ++k) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", bytes[i + k]);
        out += escaped;
      }
      i += n;
      continue;
    }
    out.append(text.substr(i, length));
    i += length;
  }
  return out;
}

std::string PropertyListText::codePointName(uint32_t code) {
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(code));
  return name;
}

}  // namespace platform::plist
