#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

class NSLocaleTestApi;

// The direction a language is written in.
enum class NSLocaleLanguageDirection { LeftToRight, RightToLeft };

// A locale by its identifier ("de_DE", "ar_SA", "zh_Hans_CN@calendar=..."),
// and the device's current one. The device keeps its choice in the global
// preferences domain (".GlobalPreferences": "AppleLocale", and the preferred
// languages "AppleLanguages"); a device that names none reads as "en_US".
// Values are small and copied freely; the current locale is read afresh from
// the device on every call, so a change of language needs no restart.
class NSLocale {
 public:
  explicit NSLocale(std::string identifier) : identifier_(std::move(identifier)) {}

  // The device's current locale (a test override first, then the device's preferences, then "en_US").
  static NSLocale currentLocale();
  // The writing direction of language code `language` ("ar", "he", ... are right to left).
  static NSLocaleLanguageDirection characterDirectionForLanguage(std::string_view language);

  // The identifier as given.
  const std::string& localeIdentifier() const { return identifier_; }
  // The language code: the identifier up to the first "_", "-" or "@" ("de" for "de_DE").
  std::string languageCode() const;
  // The region code: the last two-letter or three-digit part before any "@" ("DE" for "de_DE"), or empty.
  std::string countryCode() const;
  // The writing direction of this locale's language.
  NSLocaleLanguageDirection characterDirection() const { return characterDirectionForLanguage(languageCode()); }

 private:
  friend class NSLocaleTestApi;
  static std::optional<std::string>& currentOverride();

  std::string identifier_;
};

// Lets tests choose the current locale without writing the device's preferences.
class NSLocaleTestApi {
 public:
  // Makes `identifier` the current locale; nothing returns to the device's choice.
  static void setCurrentLocaleIdentifier(std::optional<std::string> identifier) {
    NSLocale::currentOverride() = std::move(identifier);
  }
};

}  // namespace platform
