#include "tweak/catalogue/KelvaneTweakUtils.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <cstdlib>

namespace {

// White space and line breaks as the platform's trimming counts them: every
// space separator, tab, and the line and paragraph breaks.
bool isSpaceOrLineBreak(UChar32 c) {
  return c == 0x09 || (c >= 0x0A && c <= 0x0D) || c == 0x85 || c == 0x2028 || c == 0x2029 ||
         u_charType(c) == U_SPACE_SEPARATOR;
}

}  // namespace

std::string KelvaneTweakUtils::trimmedString(std::string_view text) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  const int32_t length = static_cast<int32_t>(text.size());
  // First character that is kept.
  int32_t start = 0;
  while (start < length) {
    int32_t next = start;
    UChar32 c;
    U8_NEXT(bytes, next, length, c);
    if (c < 0 || !isSpaceOrLineBreak(c)) break;
    start = next;
  }
  // One past the last character that is kept.
  int32_t end = length;
  while (end > start) {
    int32_t previous = end;
    UChar32 c;
    U8_PREV(bytes, start, previous, c);
    if (c < 0 || !isSpaceOrLineBreak(c)) break;
    end = previous;
  }
  return std::string(text.substr(static_cast<size_t>(start), static_cast<size_t>(end - start)));
}

bool KelvaneTweakUtils::stringIsEmpty(std::string_view text) { return trimmedString(text).empty(); }

KelvaneTweakUtils::RandomSource& KelvaneTweakUtils::randomSource() {
  static RandomSource source;
  return source;
}

int32_t KelvaneTweakUtils::getRandomNumberBetween(int32_t from, int32_t to) {
  const uint32_t r = randomSource() ? randomSource()() : arc4random();
  const uint32_t low = static_cast<uint32_t>(from);
  const uint32_t range = static_cast<uint32_t>(to) - low + 1u;
  const uint32_t result = range == 0 ? r + low : r % range + low;
  return static_cast<int32_t>(result);
}
