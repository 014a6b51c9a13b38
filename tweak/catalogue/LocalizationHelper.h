#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class LocalizationHelperTestApi;

// Adapts numbers to the current locale's digits and knows which languages
// the product's texts have no plural forms for. Class-level operations only;
// nothing is kept between calls except the current-locale override.
//
// The current locale identifier ("de_DE", "ar_SA") stands in for the
// platform's current locale. It is the override a host or a test set through
// LocalizationHelperTestApi, else the process environment's locale (LC_ALL,
// then LC_MESSAGES, then LANG, with any ".codeset" and "@modifier" removed;
// "C", "POSIX" or nothing reads as "en_US").
class LocalizationHelper {
 public:
  // NO when the current locale's identifier contains "ar", "ko", "zh", "ms", "it" or "de".
  static bool languageSupportsPlural();
  // The integer in the digits of the "ar" locale when the current locale is Arabic, else in ASCII digits.
  static std::string getLocalizedNumberStringFrom(int64_t number);
  // For an Arabic current locale, every ASCII digit replaced by the "ar" locale's digit; else `text` unchanged.
  static std::string replaceNumbersWithLocalizedNumbersFromString(std::string_view text);

  // The current locale identifier, as described above.
  static std::string currentLocaleIdentifier();

 private:
  friend class LocalizationHelperTestApi;
  static std::optional<std::string>& localeOverride();
};

// Lets tests (and the device's hosts) choose the current locale.
class LocalizationHelperTestApi {
 public:
  // Makes `identifier` the current locale; nothing returns to the environment's locale.
  static void setCurrentLocaleIdentifier(std::optional<std::string> identifier) {
    LocalizationHelper::localeOverride() = std::move(identifier);
  }
};
