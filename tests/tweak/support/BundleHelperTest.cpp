#include <cairo.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/NSLocale.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UIScreen.h"
#include "tweak/support/BundleHelper.h"
#include "tweak/vocabulary/ToggleType.h"

namespace {

namespace fs = std::filesystem;

// Writes a w x h PNG whose first pixel has the given opaque grey.
void writePng(const fs::path& path, int w, int h) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_destroy(cr);
  ASSERT_EQ(cairo_surface_write_to_png(surface, path.c_str()), CAIRO_STATUS_SUCCESS);
  cairo_surface_destroy(surface);
}

class BundleHelperTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previousRoot_ = platform::DevicePaths::root();
    previousScale_ = platform::UIScreen::mainScreen().scale();
    root_ = fs::temp_directory_path() / ("tessra-bundle-test-" + std::to_string(::getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_);
    platform::DevicePaths::setRoot(root_);
    bundle_ = root_ / "Library/Application Support/Tessra2Bundle.bundle";
  }
  void TearDown() override {
    platform::DevicePaths::setRoot(previousRoot_);
    platform::UIScreen::mainScreen().setScale(previousScale_);
    platform::NSLocaleTestApi::setCurrentLocaleIdentifier(std::nullopt);
    fs::remove_all(root_);
  }
  void makeBundle() { fs::create_directories(bundle_); }
  void writeTable(const std::string& localization, platform::plist::Dictionary entries) {
    fs::path folder = localization.empty() ? bundle_ : bundle_ / (localization + ".lproj");
    fs::create_directories(folder);
    ASSERT_TRUE(platform::plist::PropertyListFile::write(folder / "Localizable.strings",
                                                         platform::plist::Value(std::move(entries))));
  }

  fs::path previousRoot_, root_, bundle_;
  double previousScale_ = 3;
};

TEST_F(BundleHelperTest, BundleExistsOnlyWhenItsFolderDoes) {
  EXPECT_FALSE(BundleHelper::getBundle());
  makeBundle();
  auto bundle = BundleHelper::getBundle();
  ASSERT_TRUE(bundle);
  EXPECT_EQ(bundle->bundlePath(), bundle_);
}

TEST_F(BundleHelperTest, ImagesComeBackAsTemplates) {
  makeBundle();
  writePng(bundle_ / "wifiIcon.png", 30, 30);
  auto image = BundleHelper::getImageWithName("wifiIcon");
  ASSERT_TRUE(image);
  EXPECT_EQ(image->renderingMode(), platform::UIImageRenderingMode::AlwaysTemplate);
  EXPECT_EQ(image->size(), (platform::CGSize{30, 30}));
}

TEST_F(BundleHelperTest, MissingImageOrBundleGivesNull) {
  EXPECT_FALSE(BundleHelper::getImageWithName("wifiIcon"));
  makeBundle();
  EXPECT_FALSE(BundleHelper::getImageWithName("wifiIcon"));
  EXPECT_FALSE(BundleHelper::getImageWithName(""));
  // A file that is not a PNG is no image either.
  std::ofstream(bundle_ / "broken.png") << "not a png";
  EXPECT_FALSE(BundleHelper::getImageWithName("broken"));
}

TEST_F(BundleHelperTest, NamesCannotReachOutsideTheBundle) {
  makeBundle();
  writePng(bundle_.parent_path() / "outside.png", 4, 4);
  fs::create_directories(bundle_ / "sub");
  writePng(bundle_ / "sub" / "inner.png", 4, 4);
  EXPECT_FALSE(BundleHelper::getImageWithName("../outside"));
  EXPECT_FALSE(BundleHelper::getImageWithName("sub/inner"));
  EXPECT_FALSE(BundleHelper::getImageWithName(".."));
}

TEST_F(BundleHelperTest, TheScreensScaleVariantIsPreferred) {
  makeBundle();
  writePng(bundle_ / "volumeIcon.png", 30, 30);
  writePng(bundle_ / "volumeIcon@2x.png", 60, 60);
  writePng(bundle_ / "volumeIcon@3x.png", 90, 90);
  platform::UIScreen::mainScreen().setScale(3);
  auto image = BundleHelper::getImageWithName("volumeIcon");
  ASSERT_TRUE(image);
  EXPECT_EQ(image->pixelWidth(), 90);
  EXPECT_EQ(image->size(), (platform::CGSize{30, 30}));

  platform::UIScreen::mainScreen().setScale(2);
  EXPECT_EQ(BundleHelper::getImageWithName("volumeIcon")->pixelWidth(), 60);

  // Without the variants the plain file is used; a variant alone is not enough.
  fs::remove(bundle_ / "volumeIcon@2x.png");
  EXPECT_EQ(BundleHelper::getImageWithName("volumeIcon")->pixelWidth(), 30);
  fs::remove(bundle_ / "volumeIcon.png");
  platform::UIScreen::mainScreen().setScale(3);
  EXPECT_FALSE(BundleHelper::getImageWithName("volumeIcon"));
}

TEST_F(BundleHelperTest, LocalizedStringsComeFromTheBestLocalization) {
  makeBundle();
  writeTable("en", {{"Toggles", "Toggles"}, {"Behaviors", "Behaviors"}});
  writeTable("de", {{"Toggles", "Schalter"}});
  platform::NSLocaleTestApi::setCurrentLocaleIdentifier("de_DE");
  EXPECT_EQ(BundleHelper::getLocalizedStringFor("Toggles"), "Schalter");
  // One table is chosen: a key it lacks falls back to the key, not to English.
  EXPECT_EQ(BundleHelper::getLocalizedStringFor("Behaviors"), "Behaviors");
  platform::NSLocaleTestApi::setCurrentLocaleIdentifier("fr_FR");
  EXPECT_EQ(BundleHelper::getLocalizedStringFor("Toggles"), "Toggles");
}

TEST_F(BundleHelperTest, LocalizedStringFallsBackToTheKey) {
  EXPECT_EQ(BundleHelper::getLocalizedStringFor("Respring"), "Respring");  // no bundle
  makeBundle();
  EXPECT_EQ(BundleHelper::getLocalizedStringFor("Respring"), "Respring");  // no table
  writeTable("", {{"Respring", platform::plist::Value(int64_t{3})}});
  EXPECT_EQ(BundleHelper::getLocalizedStringFor("Respring"), "Respring");  // not a string
  fs::create_directories(bundle_ / "en.lproj");
  std::ofstream(bundle_ / "en.lproj" / "Localizable.strings") << "\"Respring\" = garbage";
  EXPECT_EQ(BundleHelper::getLocalizedStringFor("Respring"), "Respring");  // unreadable table
}

#ifdef TESSRA_DEVICE_FILES
// The images the build draws: every name the panel, the summary strip and the icon menu ask for.
TEST_F(BundleHelperTest, BuiltBundleHoldsAnImageForEveryName) {
  fs::path built = fs::path(TESSRA_DEVICE_FILES) / "Library/Application Support/Tessra2Bundle.bundle";
  fs::create_directories(bundle_.parent_path());
  fs::copy(built, bundle_, fs::copy_options::recursive);
  std::vector<std::string> names = {"volumeIcon", "brightnessIcon", "removeIcon", "tessraIcon"};
  for (const auto& d : switchDescriptions()) names.push_back(std::string(d.name) + "Icon");
  for (const auto& d : actionDescriptions()) names.push_back(std::string(d.name) + "Icon");
  EXPECT_EQ(names.size(), 33u);
  for (const auto& name : names) {
    auto image = BundleHelper::getImageWithName(name);
    ASSERT_TRUE(image) << name;
    EXPECT_EQ(image->size(), (platform::CGSize{30, 30})) << name;
    // White on transparent: the middle row has opaque white ink and the corner is clear.
    bool inked = false;
    for (int x = 0; x < image->pixelWidth(); ++x) inked |= image->pixelAt(x, image->pixelHeight() / 2) == 0xFFFFFFFFu;
    EXPECT_TRUE(inked) << name;
    EXPECT_EQ(image->pixelAt(0, 0) >> 24, 0u) << name;
  }
  fs::path prefs = fs::path(TESSRA_DEVICE_FILES) / "Library/PreferenceBundles/Tessra2Prefs.bundle";
  auto header = platform::UIImage::imageWithContentsOfFile((prefs / "header.png").string());
  auto icon = platform::UIImage::imageWithContentsOfFile((prefs / "icon@3x.png").string());
  ASSERT_TRUE(header);
  ASSERT_TRUE(icon);
  EXPECT_GT(header->size().width, header->size().height * 2);
  EXPECT_EQ(icon->size(), (platform::CGSize{29, 29}));
}
#endif

}  // namespace
