#include "platform/foundation/NSLocale.h"

#include <algorithm>
#include <cctype>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/PropertyListFile.h"

namespace platform {
namespace {

constexpr std::string_view kGlobalDomain = ".GlobalPreferences";
constexpr std::string_view kLocaleKey = "AppleLocale";
constexpr std::string_view kLanguagesKey = "AppleLanguages";
constexpr std::string_view kDefaultIdentifier = "en_US";

// The identifier the device's global preferences name: "AppleLocale", else
// the first preferred language ("pt-BR" reads "pt_BR"); nothing when the
// domain is missing, unreadable or names neither.
std::optional<std::string> deviceLocaleIdentifier() {
  auto result = plist::PropertyListFile::read(DevicePaths::preferencesFile(kGlobalDomain));
  if (!result.ok() || !result.value.isDictionary()) return std::nullopt;
  const plist::Value* locale = result.value.find(kLocaleKey);
  if (locale && locale->isString() && !locale->string().empty()) return locale->string();
  const plist::Value* languages = result.value.find(kLanguagesKey);
  if (!languages || !languages->isArray() || languages->array().empty()) return std::nullopt;
  const plist::Value& first = languages->array().front();
  if (!first.isString() || first.string().empty()) return std::nullopt;
  std::string identifier = first.string();
  std::replace(identifier.begin(), identifier.end(), '-', '_');
  return identifier;
}

// A region part: two capital letters ("DE") or three digits ("419").
bool isRegion(std::string_view part) {
  auto all = [part](int (*test)(int)) {
    return std::all_of(part.begin(), part.end(), [test](char c) { return test(static_cast<unsigned char>(c)) != 0; });
  };
  return (part.size() == 2 && all(std::isupper)) || (part.size() == 3 && all(std::isdigit));
}

}  // namespace

std::optional<std::string>& NSLocale::currentOverride() {
  static std::optional<std::string> identifier;
  return identifier;
}

NSLocale NSLocale::currentLocale() {
  if (currentOverride()) return NSLocale(*currentOverride());
  if (auto identifier = deviceLocaleIdentifier()) return NSLocale(std::move(*identifier));
  return NSLocale(std::string(kDefaultIdentifier));
}

NSLocaleLanguageDirection NSLocale::characterDirectionForLanguage(std::string_view language) {
  for (std::string_view rightToLeft : {"ar", "he", "iw", "fa", "ur", "yi", "ps", "dv", "ug", "sd", "ckb"})
    if (language == rightToLeft) return NSLocaleLanguageDirection::RightToLeft;
  return NSLocaleLanguageDirection::LeftToRight;
}

std::string NSLocale::languageCode() const { return identifier_.substr(0, identifier_.find_first_of("_-@")); }

std::string NSLocale::countryCode() const {
  std::string_view rest = std::string_view(identifier_).substr(0, identifier_.find('@'));
  std::string region;
  size_t start = rest.find_first_of("_-");
  while (start != std::string_view::npos) {
    size_t end = rest.find_first_of("_-", start + 1);
    std::string_view part = rest.substr(start + 1, end == std::string_view::npos ? end : end - start - 1);
    if (isRegion(part)) region = std::string(part);
    start = end;
  }
  return region;
}

}  // namespace platform
