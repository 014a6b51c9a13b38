// The pages as they are drawn: the root page with its header and rows, and a
// sub-page with the master switch off, checked at a few pixels. With
// TESSRA_SNAPSHOT_DIR set, the pictures are also written there for eyes.
#include <cairo.h>

#include <cstdlib>

#include "platform/prefs/HBPreferences.h"
#include "platform/runtime/Runtime.h"
#include "platform/ui/UIControl.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/render/ViewRenderer.h"
#include "prefs/TSPrefsListController.h"
#include "tests/prefs/SettingsPagesFixture.h"
#include "tweak/panel/TSCustomizedThingsView.h"

namespace tessra::prefs::testing {
namespace {

using namespace platform;

class PagesLookTest : public SettingsPagesTest {
 protected:
  void SetUp() override {
    SettingsPagesTest::SetUp();
    for (const char* picture : {"header.png", "icon@3x.png"}) {
      auto built =
          std::filesystem::path(TESSRA_DEVICE_FILES) / "Library/PreferenceBundles/Tessra2Prefs.bundle" / picture;
      if (std::filesystem::exists(built)) std::filesystem::copy_file(built, bundle_ / picture);
    }
    // The plug-in's pictures, for the summary strips of the apps page.
    auto images = std::filesystem::path(TESSRA_DEVICE_FILES) / "Library/Application Support";
    if (std::filesystem::exists(images))
      std::filesystem::copy(images, root_ / "Library/Application Support", std::filesystem::copy_options::recursive);
    Runtime::unregisterClass(TSCustomizedThingsView::kClassName);
    TSCustomizedThingsView::registerClass();
  }
  std::shared_ptr<UIImage> render(const std::string& name) {
    window_->layoutIfNeeded();
    auto image = renderer_.renderView(*window_, 1);
    if (const char* dir = std::getenv("TESSRA_SNAPSHOT_DIR"))
      ViewRenderer::writePng(*image, std::string(dir) + "/" + name + ".png", nullptr);
    return image;
  }
  // The colour of one pixel (premultiplied bytes as cairo keeps them: B, G, R, A).
  static uint32_t pixel(const UIImage& image, int x, int y) {
    cairo_surface_flush(image.surface());
    const unsigned char* data = cairo_image_surface_get_data(image.surface());
    int stride = cairo_image_surface_get_stride(image.surface());
    return *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
  }
  ViewRenderer renderer_;
};

TEST_F(PagesLookTest, TheRootPageShowsItsRowsWithTheAccentColourOnSwitches) {
  auto root = open<TSPrefsListController>("TSPrefsListController");
  auto image = render("settings-root");
  ASSERT_EQ(image->pixelWidth(), 375);
  // The "Enabled" switch is on: its track is drawn in the accent colour.
  auto* cell = cellTitled("Enabled");
  ASSERT_NE(cell, nullptr);
  CGRect track = dynamic_cast<PSControlTableCell*>(cell)->control()->convertRect(CGRectMake(8, 4, 1, 1), nullptr);
  uint32_t p = pixel(*image, static_cast<int>(track.origin.x), static_cast<int>(track.origin.y));
  EXPECT_EQ((p >> 16) & 0xff, 209u);  // red 0.82
  EXPECT_EQ((p >> 8) & 0xff, 89u);    // green 0.349
}

TEST_F(PagesLookTest, SubPagesAndTheAppsPageDraw) {
  open("TSPrefsListController");
  tap("Offered Toggles");
  render("settings-offered-toggles");
  nav_->popViewControllerAnimated(false);
  writeApps(plist::Array{plist::Dictionary{{"bundleIdentifier", "com.apple.Maps"},
                                           {"displayName", "Maps"},
                                           {"type", "system"},
                                           {"icon", "AppIcon60x60"}},
                         plist::Dictionary{{"bundleIdentifier", "com.waze.iphone"},
                                           {"displayName", "Waze"},
                                           {"type", "user"},
                                           {"icon", "AppIcon60x60"}}});
  HBPreferences(kDomain).setObject(
      plist::Dictionary{
          {"com.waze.iphone",
           plist::Dictionary{{"volume", 0.4},
                             {"toggles", plist::Dictionary{{"wifi", 0}, {"dnd", 1}, {"action_disableCC", 1}}}}}},
      "customizedApps");
  tap("Customize Apps");
  auto image = render("settings-apps");
  EXPECT_EQ(image->pixelHeight(), 667);
}

}  // namespace
}  // namespace tessra::prefs::testing
