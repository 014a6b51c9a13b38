#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSLocale.h"
#include "platform/foundation/PropertyListFile.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

// A fresh device root holding one bundle folder, and the global preferences to write.
class DeviceBundleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previousRoot_ = DevicePaths::root();
    root_ = fs::temp_directory_path() / ("tessra-nsbundle-test-" + std::to_string(::getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "Library/Bundles/Test.bundle");
    DevicePaths::setRoot(root_);
  }
  void TearDown() override {
    NSLocaleTestApi::setCurrentLocaleIdentifier(std::nullopt);
    DevicePaths::setRoot(previousRoot_);
    fs::remove_all(root_);
    fs::remove_all(outside());
  }
  fs::path folder() const { return root_ / "Library/Bundles/Test.bundle"; }
  fs::path outside() const { return root_.string() + "-outside"; }
  void write(const fs::path& path, plist::Dictionary entries) {
    fs::create_directories(path.parent_path());
    ASSERT_TRUE(plist::PropertyListFile::write(path, plist::Value(std::move(entries))));
  }
  void setGlobalPreferences(plist::Dictionary entries) {
    write(DevicePaths::preferencesFile(".GlobalPreferences"), std::move(entries));
  }

  fs::path previousRoot_, root_;
};

TEST_F(DeviceBundleTest, ABundleIsAFolderInsideTheDevice) {
  auto bundle = NSBundle::bundleWithPath("/Library/Bundles/Test.bundle");
  ASSERT_TRUE(bundle);
  EXPECT_EQ(bundle->bundlePath(), folder());
  EXPECT_FALSE(NSBundle::bundleWithPath("/Library/Bundles/Missing.bundle"));
  EXPECT_FALSE(NSBundle::bundleWithPath("/../Test.bundle"));
  std::ofstream(root_ / "Library/Bundles/File.bundle") << "a file";
  EXPECT_FALSE(NSBundle::bundleWithPath("/Library/Bundles/File.bundle"));
}

TEST_F(DeviceBundleTest, ResourcesArePlainFilesOfTheBundle) {
  std::ofstream(folder() / "icon.png") << "png";
  std::ofstream(folder() / "README") << "text";
  fs::create_directories(folder() / "sub");
  std::ofstream(folder() / "sub/inner.png") << "png";
  auto bundle = NSBundle::bundleWithPath("/Library/Bundles/Test.bundle");
  ASSERT_TRUE(bundle);
  EXPECT_EQ(bundle->pathForResource("icon", "png"), folder() / "icon.png");
  EXPECT_EQ(bundle->pathForResource("README", ""), folder() / "README");
  EXPECT_FALSE(bundle->pathForResource("missing", "png"));
  EXPECT_FALSE(bundle->pathForResource("sub/inner", "png"));
  EXPECT_FALSE(bundle->pathForResource("..", ""));
  EXPECT_FALSE(bundle->pathForResource("sub", ""));  // a folder is no resource
}

TEST_F(DeviceBundleTest, LinksLeavingTheDeviceAreNotFollowed) {
  fs::create_directories(outside());
  std::ofstream(outside() / "secret.png") << "png";
  fs::create_symlink(outside() / "secret.png", folder() / "secret.png");
  fs::create_directory_symlink(outside(), root_ / "Library/Bundles/Away.bundle");
  // A link that stays inside the device is fine.
  std::ofstream(root_ / "Library/shared.png") << "png";
  fs::create_symlink(root_ / "Library/shared.png", folder() / "shared.png");
  auto bundle = NSBundle::bundleWithPath("/Library/Bundles/Test.bundle");
  ASSERT_TRUE(bundle);
  EXPECT_FALSE(bundle->pathForResource("secret", "png"));
  EXPECT_TRUE(bundle->pathForResource("shared", "png"));
  EXPECT_FALSE(NSBundle::bundleWithPath("/Library/Bundles/Away.bundle"));
}

TEST_F(DeviceBundleTest, InfoDictionaryIsEmptyUnlessReadable) {
  auto bundle = NSBundle::bundleWithPath("/Library/Bundles/Test.bundle");
  ASSERT_TRUE(bundle);
  EXPECT_TRUE(bundle->infoDictionary().empty());
  std::ofstream(folder() / "Info.plist") << "<plist><dict><key>a</key>";  // cut short
  EXPECT_TRUE(bundle->infoDictionary().empty());
  write(folder() / "Info.plist", {{"CFBundleIdentifier", "com.test.bundle"}});
  EXPECT_EQ(bundle->objectForInfoDictionaryKey("CFBundleIdentifier"), plist::Value("com.test.bundle"));
  EXPECT_TRUE(bundle->objectForInfoDictionaryKey("CFBundleName").isNull());
}

TEST_F(DeviceBundleTest, StringsComeFromTheBestLocalizationThatHasTheTable) {
  write(folder() / "en.lproj/Localizable.strings", {{"Hello", "Hello"}, {"Bye", "Bye"}});
  write(folder() / "de.lproj/Localizable.strings", {{"Hello", "Hallo"}});
  write(folder() / "Other.strings", {{"Hello", "Top"}});
  auto bundle = NSBundle::bundleWithPath("/Library/Bundles/Test.bundle");
  ASSERT_TRUE(bundle);
  setGlobalPreferences({{"AppleLocale", "de_AT"}});
  EXPECT_EQ(bundle->localizedStringForKey("Hello", "?"), "Hallo");
  EXPECT_EQ(bundle->localizedStringForKey("Bye", "?"), "?");  // one table is chosen
  EXPECT_EQ(bundle->localizedStringForKey("Hello", "?", "Other"), "Top");
  EXPECT_EQ(bundle->localizedStringForKey("Hello", "?", "../Other"), "?");
  setGlobalPreferences({{"AppleLocale", "fr_FR"}});
  EXPECT_EQ(bundle->localizedStringForKey("Hello", "?"), "Hello");
}

TEST_F(DeviceBundleTest, CurrentLocaleIsTheDevicesChoice) {
  EXPECT_EQ(NSLocale::currentLocale().localeIdentifier(), "en_US");
  setGlobalPreferences({{"AppleLanguages", plist::Value(plist::Array{plist::Value("pt-BR"), plist::Value("en")})}});
  EXPECT_EQ(NSLocale::currentLocale().localeIdentifier(), "pt_BR");
  setGlobalPreferences({{"AppleLocale", "ar_SA"}, {"AppleLanguages", plist::Value(plist::Array{plist::Value("en")})}});
  EXPECT_EQ(NSLocale::currentLocale().localeIdentifier(), "ar_SA");
  EXPECT_EQ(NSLocale::currentLocale().characterDirection(), NSLocaleLanguageDirection::RightToLeft);
  // Unusable preferences read as the default.
  setGlobalPreferences({{"AppleLocale", plist::Value(int64_t{3})}});
  EXPECT_EQ(NSLocale::currentLocale().localeIdentifier(), "en_US");
  std::ofstream(DevicePaths::preferencesFile(".GlobalPreferences")) << "garbage";
  EXPECT_EQ(NSLocale::currentLocale().localeIdentifier(), "en_US");
  NSLocaleTestApi::setCurrentLocaleIdentifier("ko_KR");
  EXPECT_EQ(NSLocale::currentLocale().localeIdentifier(), "ko_KR");
}

TEST(NSLocaleTest, PartsOfAnIdentifier) {
  EXPECT_EQ(NSLocale("de_DE").languageCode(), "de");
  EXPECT_EQ(NSLocale("de_DE").countryCode(), "DE");
  EXPECT_EQ(NSLocale("zh_Hans_CN@calendar=chinese").languageCode(), "zh");
  EXPECT_EQ(NSLocale("zh_Hans_CN@calendar=chinese").countryCode(), "CN");
  EXPECT_EQ(NSLocale("es_419").countryCode(), "419");
  EXPECT_EQ(NSLocale("fr").countryCode(), "");
  EXPECT_EQ(NSLocale("en_US").characterDirection(), NSLocaleLanguageDirection::LeftToRight);
  EXPECT_EQ(NSLocale::characterDirectionForLanguage("he"), NSLocaleLanguageDirection::RightToLeft);
  // "ar" inside a longer code is another language.
  EXPECT_EQ(NSLocale::characterDirectionForLanguage("arn"), NSLocaleLanguageDirection::LeftToRight);
}

}  // namespace
}  // namespace platform
