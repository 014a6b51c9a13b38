#include "tweak/support/LocalizationHelper.h"

#include <unicode/locid.h>
#include <unicode/numfmt.h>
#include <unicode/unistr.h>

#include <memory>

#include "platform/foundation/NSLocale.h"

namespace {

// The part of an identifier that names language, script and region: keywords
// such as "@calendar=..." are left out, so their letters are never taken for
// a language ("calendar" contains "ar").
std::string_view languagePart(std::string_view identifier) { return identifier.substr(0, identifier.find('@')); }

bool isArabic(std::string_view identifier) { return languagePart(identifier).find("ar") != std::string_view::npos; }

// A number formatter for the "ar" locale, or null when ICU cannot make one.
std::unique_ptr<icu::NumberFormat> arabicFormatter() {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::NumberFormat> formatter(icu::NumberFormat::createInstance(icu::Locale("ar"), status));
  if (U_FAILURE(status)) return nullptr;
  return formatter;
}

std::string format(const icu::NumberFormat& formatter, int64_t number) {
  icu::UnicodeString text;
  formatter.format(static_cast<int64_t>(number), text);
  std::string out;
  text.toUTF8String(out);
  return out;
}

}  // namespace

std::string LocalizationHelper::currentLocaleIdentifier() {
  return platform::NSLocale::currentLocale().localeIdentifier();
}

bool LocalizationHelper::languageSupportsPlural() {
  std::string identifier = currentLocaleIdentifier();
  std::string_view language = languagePart(identifier);
  for (std::string_view code : {"ar", "ko", "zh", "ms", "it", "de"}) {
    if (language.find(code) != std::string_view::npos) return false;
  }
  return true;
}

std::string LocalizationHelper::getLocalizedNumberStringFrom(int64_t number) {
  if (isArabic(currentLocaleIdentifier())) {
    if (auto formatter = arabicFormatter()) return format(*formatter, number);
  }
  return std::to_string(number);
}

std::string LocalizationHelper::replaceNumbersWithLocalizedNumbersFromString(std::string_view text) {
  std::string result(text);
  if (!isArabic(currentLocaleIdentifier())) return result;
  auto formatter = arabicFormatter();
  if (!formatter) return result;
  for (int digit = 0; digit <= 9; ++digit) {
    const char ascii = static_cast<char>('0' + digit);
    const std::string localized = format(*formatter, digit);
    std::string replaced;
    replaced.reserve(result.size());
    for (char c : result) {
      if (c == ascii)
        replaced += localized;
      else
        replaced += c;
    }
    result = std::move(replaced);
  }
  return result;
}
