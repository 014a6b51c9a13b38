#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Adapts numbers to the current locale's digits and knows which languages
// the product's texts have no plural forms for. Class-level operations only;
// the current locale is the platform's (NSLocale), read on every call.
class LocalizationHelper {
 public:
  // NO when the current locale's identifier contains "ar", "ko", "zh", "ms", "it" or "de".
  static bool languageSupportsPlural();
  // The integer in the digits of the "ar" locale when the current locale is Arabic, else in ASCII digits.
  static std::string getLocalizedNumberStringFrom(int64_t number);
  // For an Arabic current locale, every ASCII digit replaced by the "ar" locale's digit; else `text` unchanged.
  static std::string replaceNumbersWithLocalizedNumbersFromString(std::string_view text);

  // The current locale's identifier ("de_DE", "ar_SA").
  static std::string currentLocaleIdentifier();
};
