#include "tweak/catalogue/LocalizationHelper.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class LocalizationHelperTest : public ::testing::Test {
 protected:
  void TearDown() override { LocalizationHelperTestApi::setCurrentLocaleIdentifier(std::nullopt); }
  void useLocale(const char* identifier) { LocalizationHelperTestApi::setCurrentLocaleIdentifier(identifier); }
};

// The "ar" locale writes digits as Arabic-Indic digits (U+0660 ... U+0669).
const char* const kArabicDigits[] = {"٠", "١", "٢", "٣", "٤", "٥", "٦", "٧", "٨", "٩"};

TEST_F(LocalizationHelperTest, PluralSupportFollowsTheLanguageCodes) {
  for (const char* identifier : {"de_DE", "it_IT", "ar_SA", "ko_KR", "zh_Hans_CN", "ms_MY", "ar"}) {
    useLocale(identifier);
    EXPECT_FALSE(LocalizationHelper::languageSupportsPlural()) << identifier;
  }
  for (const char* identifier : {"fr_FR", "en_US", "es_AR", "ja_JP"}) {
    useLocale(identifier);
    EXPECT_TRUE(LocalizationHelper::languageSupportsPlural()) << identifier;
  }
}

TEST_F(LocalizationHelperTest, LocaleKeywordsAreNotTakenForALanguage) {
  // "calendar" contains "ar" and "collation" nothing; only the language part counts.
  useLocale("en_US@calendar=gregorian");
  EXPECT_TRUE(LocalizationHelper::languageSupportsPlural());
  EXPECT_EQ(LocalizationHelper::getLocalizedNumberStringFrom(42), "42");
  EXPECT_EQ(LocalizationHelper::replaceNumbersWithLocalizedNumbersFromString("50%"), "50%");
}

TEST_F(LocalizationHelperTest, ArabicLocaleFormatsNumbersInArabicIndicDigits) {
  useLocale("ar_SA");
  EXPECT_EQ(LocalizationHelper::getLocalizedNumberStringFrom(50), std::string(kArabicDigits[5]) + kArabicDigits[0]);
  EXPECT_EQ(LocalizationHelper::getLocalizedNumberStringFrom(7), kArabicDigits[7]);
}

TEST_F(LocalizationHelperTest, OtherLocalesKeepThePlainDecimalText) {
  useLocale("en_US");
  EXPECT_EQ(LocalizationHelper::getLocalizedNumberStringFrom(1234567), "1234567");
  EXPECT_EQ(LocalizationHelper::getLocalizedNumberStringFrom(-3), "-3");
  useLocale("fr_FR");
  EXPECT_EQ(LocalizationHelper::getLocalizedNumberStringFrom(INT64_MIN), "-9223372036854775808");
}

TEST_F(LocalizationHelperTest, ArabicLocaleReplacesEveryDigitInText) {
  useLocale("ar");
  EXPECT_EQ(LocalizationHelper::replaceNumbersWithLocalizedNumbersFromString("Set Volume to 50%"),
            std::string("Set Volume to ") + kArabicDigits[5] + kArabicDigits[0] + "%");
  std::string all;
  for (const char* d : kArabicDigits) all += d;
  EXPECT_EQ(LocalizationHelper::replaceNumbersWithLocalizedNumbersFromString("0123456789"), all);
  EXPECT_EQ(LocalizationHelper::replaceNumbersWithLocalizedNumbersFromString("no digits"), "no digits");
}

TEST_F(LocalizationHelperTest, EnglishLocaleLeavesTextUnchanged) {
  useLocale("en_GB");
  EXPECT_EQ(LocalizationHelper::replaceNumbersWithLocalizedNumbersFromString("Set Volume to 50%"),
            "Set Volume to 50%");
}

TEST_F(LocalizationHelperTest, LocaleComesFromTheEnvironmentWithoutAnOverride) {
  const char* saved[3];
  const char* names[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  for (int i = 0; i < 3; ++i) {
    const char* v = std::getenv(names[i]);
    saved[i] = v ? strdup(v) : nullptr;
    unsetenv(names[i]);
  }
  setenv("LANG", "de_DE.UTF-8", 1);
  EXPECT_EQ(LocalizationHelper::currentLocaleIdentifier(), "de_DE");
  EXPECT_FALSE(LocalizationHelper::languageSupportsPlural());
  setenv("LC_ALL", "ar_EG.UTF-8@latin", 1);
  EXPECT_EQ(LocalizationHelper::currentLocaleIdentifier(), "ar_EG");
  setenv("LC_ALL", "C", 1);
  EXPECT_EQ(LocalizationHelper::currentLocaleIdentifier(), "en_US");
  for (int i = 0; i < 3; ++i) {
    if (saved[i]) {
      setenv(names[i], saved[i], 1);
      free(const_cast<char*>(saved[i]));
    } else {
      unsetenv(names[i]);
    }
  }
}

}  // namespace
