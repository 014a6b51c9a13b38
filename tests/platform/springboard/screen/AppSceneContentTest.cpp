// An app that draws its own screen in a process of its own (the Settings app): its picture is the app's scene
// while it is in front, and the touches on its scene go to it.
#include <cairo.h>

#include "platform/springboard/screen/AppSceneView.h"
#include "platform/ui/UIImage.h"
#include "tests/platform/springboard/screen/ScreenFixture.h"

namespace platform::test {
namespace {

constexpr const char* kDrawingApp = "com.apple.Preferences";

// A picture of the whole phone screen in one colour (0xRRGGBB), at 3 pixels per point.
std::shared_ptr<UIImage> solid(uint32_t rgb) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 375 * 3, 812 * 3);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, ((rgb >> 16) & 0xff) / 255.0, ((rgb >> 8) & 0xff) / 255.0, (rgb & 0xff) / 255.0);
  cairo_paint(cr);
  cairo_destroy(cr);
  auto image = UIImage::imageWithSurface(surface, 3);
  cairo_surface_destroy(surface);
  return image;
}

class AppSceneContentTest : public ScreenFixture {
 protected:
  void SetUp() override {
    springboard::DeviceConfiguration config;
    model().configure(config);
    springboard::DeviceScreen::Options options;
    options.language = "en_US";
    options.sceneContent = [this](const std::string& bundleIdentifier) {
      return bundleIdentifier == kDrawingApp ? picture_ : nullptr;
    };
    // The app takes touches while it has a process, whatever it drew so far.
    options.sceneTouch = [this](UITouchPhase phase, CGPoint point) {
      if (model().state().apps().frontApp() != kDrawingApp || !running_) return false;
      touches_.push_back({phase, point});
      return true;
    };
    screen_ = std::make_unique<springboard::DeviceScreen>(model(), std::move(options));
    env_.runUntilIdle();
  }
  // The colour at a point of the screen drawn now, as 0xRRGGBB.
  uint32_t colourAt(CGPoint point) {
    auto image = screen().render(1);
    return image->pixelAt(static_cast<int>(point.x), static_cast<int>(point.y)) & 0xffffff;
  }

  std::shared_ptr<UIImage> picture_;
  bool running_ = true;
  std::vector<std::pair<UITouchPhase, CGPoint>> touches_;
};

TEST_F(AppSceneContentTest, ThePictureIsTheAppsSceneWhileItIsInFrontAndEachNewOneIsDrawn) {
  picture_ = solid(0xff0000);
  const CGPoint middle{187, 400};
  EXPECT_NE(colourAt(middle), 0xff0000u);  // the home screen
  model().openApp(kDrawingApp);
  EXPECT_EQ(colourAt(middle), 0xff0000u);
  EXPECT_EQ(home().appScene().content(), picture_);
  EXPECT_FALSE(screen().needsDisplay());
  picture_ = solid(0x0000ff);  // the app drew again
  EXPECT_TRUE(screen().needsDisplay());
  EXPECT_EQ(colourAt(middle), 0x0000ffu);
  // An app without a picture of its own has the plain scene; so has this one when it has none.
  model().openApp("com.apple.Maps");
  EXPECT_NE(colourAt(middle), 0x0000ffu);
  EXPECT_EQ(home().appScene().content(), nullptr);
  picture_ = nullptr;
  model().openApp(kDrawingApp);
  EXPECT_NE(colourAt(middle), 0x0000ffu);
  EXPECT_EQ(home().appScene().content(), nullptr);
  model().goHome();
  picture_ = solid(0x00ff00);
  EXPECT_NE(colourAt(middle), 0x00ff00u);
}

TEST_F(AppSceneContentTest, TouchesOnThePictureGoToTheAppAndTheSystemGesturesStayWithTheHomeScreen) {
  picture_ = solid(0xff0000);
  model().openApp(kDrawingApp);
  screen().update();
  tap({100, 400});
  ASSERT_EQ(touches_.size(), 2u);
  EXPECT_EQ(touches_[0].first, UITouchPhase::Began);
  EXPECT_EQ(touches_[1].first, UITouchPhase::Ended);
  EXPECT_DOUBLE_EQ(touches_[1].second.x, 100);
  EXPECT_DOUBLE_EQ(touches_[1].second.y, 400);
  touches_.clear();
  // The home gesture from the bottom edge is the home screen's.
  drag({187, 805}, {187, 400});
  EXPECT_EQ(model().state().apps().frontApp(), "");
  EXPECT_TRUE(touches_.empty());
  // Before its first picture the app takes touches too; an app without a process of its own takes none, and
  // neither does this one once its process is gone: the plain scene has them.
  picture_ = nullptr;
  model().openApp(kDrawingApp);
  tap({100, 400});
  EXPECT_EQ(touches_.size(), 2u);
  touches_.clear();
  running_ = false;
  tap({100, 400});
  model().openApp("com.apple.Maps");
  tap({100, 400});
  EXPECT_TRUE(touches_.empty());
  EXPECT_TRUE(logged("tap SBAppSceneView"));
}

}  // namespace
}  // namespace platform::test
