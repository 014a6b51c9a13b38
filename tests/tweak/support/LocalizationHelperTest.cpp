#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/NSLocale.h"
#include "platform/foundation/PropertyListFile.h"
#include "tweak/support/LocalizationHelper.h"

namespace {

class LocalizationHelperTest : public ::testing::Test {
 protected:
  void TearDown() override { platform::NSLocaleTestApi::setCurrentLocaleIdentifier(std::nullopt); }
  void useLocale(const char* identifier) { platform::NSLocaleTestApi::setCurrentLocaleIdentifier(identifier); }
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
  EXPECT_EQ(LocalizationHelper::replaceNumbersWithLocalizedNumbersFromString("Set Volume to 50%"), "Set Volume to 50%");
}

TEST_F(LocalizationHelperTest, LocaleComesFromTheDeviceWithoutAnOverride) {
  namespace fs = std::filesystem;
  const fs::path previousRoot = platform::DevicePaths::root();
  const fs::path root = fs::temp_directory_path() / ("tessra-locale-test-" + std::to_string(::getpid()));
  fs::remove_all(root);
  fs::create_directories(root);
  platform::DevicePaths::setRoot(root);
  EXPECT_EQ(LocalizationHelper::currentLocaleIdentifier(), "en_US");  // the device names none
  const fs::path global = platform::DevicePaths::preferencesFile(".GlobalPreferences");
  fs::create_directories(global.parent_path());
  ASSERT_TRUE(platform::plist::PropertyListFile::write(
      global, platform::plist::Value(platform::plist::Dictionary{{"AppleLocale", "de_DE"}})));
  EXPECT_EQ(LocalizationHelper::currentLocaleIdentifier(), "de_DE");
  EXPECT_FALSE(LocalizationHelper::languageSupportsPlural());
  platform::DevicePaths::setRoot(previousRoot);
  fs::remove_all(root);
}

}  // namespace
