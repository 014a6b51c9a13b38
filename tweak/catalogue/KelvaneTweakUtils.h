#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class KelvaneTweakUtilsTestApi;

// Small utilities the plug-in shares: string trimming, emptiness and a
// random number in a range. Class-level operations only.
class KelvaneTweakUtils {
 public:
  // `text` without leading and trailing white space and line breaks (Unicode spaces included).
  static std::string trimmedString(std::string_view text);
  // Whether the trimmed text is the empty string.
  static bool stringIsEmpty(std::string_view text);
  // r mod (to - from + 1) + from in unsigned 32-bit arithmetic for a uniform 32-bit r; r + from when the range wraps to 0.
  static int32_t getRandomNumberBetween(int32_t from, int32_t to);

 private:
  friend class KelvaneTweakUtilsTestApi;
  using RandomSource = std::function<uint32_t()>;
  static RandomSource& randomSource();
};

// Lets tests choose the 32-bit values that getRandomNumberBetween draws.
class KelvaneTweakUtilsTestApi {
 public:
  // Draws from `source` instead of the system's generator (an empty function restores it).
  static void setRandomSource(std::function<uint32_t()> source) {
    KelvaneTweakUtils::randomSource() = std::move(source);
  }
};
