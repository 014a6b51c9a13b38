// Images: PNG loading, scale from the file name, rendering modes, resizing,
// and image views placing them by content mode.
#include <cairo.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UIImageView.h"

namespace platform {
namespace {

class ImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/ui-image-XXXXXX";
    dir = mkdtemp(tmpl);
  }
  void TearDown() override {
    for (auto& f : files) std::remove(f.c_str());
    rmdir(dir.c_str());
  }
  // Writes a w × h PNG: opaque red on the left half, transparent on the right.
  std::string writePng(const std::string& name, int w, int h) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgba(cr, 1, 0, 0, 1);
    cairo_rectangle(cr, 0, 0, w / 2.0, h);
    cairo_fill(cr);
    cairo_destroy(cr);
    std::string path = dir + "/" + name;
    cairo_surface_write_to_png(s, path.c_str());
    cairo_surface_destroy(s);
    files.push_back(path);
    return path;
  }

  ManualTaskEnvironment env;
  std::string dir;
  std::vector<std::string> files;
};

TEST_F(ImageTest, LoadsPixelsAndTakesTheScaleFromTheName) {
  auto one = UIImage::imageWithContentsOfFile(writePng("wifiIcon.png", 40, 20));
  auto three = UIImage::imageWithContentsOfFile(writePng("icon@3x.png", 90, 60));
  ASSERT_TRUE(one);
  ASSERT_TRUE(three);
  EXPECT_EQ(one->size(), CGSizeMake(40, 20));
  EXPECT_EQ(one->scale(), 1);
  EXPECT_EQ(three->size(), CGSizeMake(30, 20));
  EXPECT_EQ(three->scale(), 3);
  EXPECT_EQ(one->pixelAt(5, 5), 0xFFFF0000u);
  EXPECT_EQ(one->pixelAt(35, 5), 0u);
  EXPECT_EQ(one->pixelAt(-1, 0), 0u);
  EXPECT_EQ(one->renderingMode(), UIImageRenderingMode::Automatic);
}

TEST_F(ImageTest, MissingOrBrokenFilesGiveNoImage) {
  EXPECT_FALSE(UIImage::imageWithContentsOfFile(dir + "/none.png"));
  std::string bad = dir + "/bad.png";
  FILE* f = std::fopen(bad.c_str(), "w");
  std::fputs("not a png", f);
  std::fclose(f);
  files.push_back(bad);
  EXPECT_FALSE(UIImage::imageWithContentsOfFile(bad));
}

TEST_F(ImageTest, TemplateModeSharesPixelsAndResizingKeepsIt) {
  auto image = UIImage::imageWithContentsOfFile(writePng("a.png", 48, 48));
  auto tmpl = image->imageWithRenderingMode(UIImageRenderingMode::AlwaysTemplate);
  EXPECT_EQ(tmpl->surface(), image->surface());
  EXPECT_EQ(tmpl->renderingMode(), UIImageRenderingMode::AlwaysTemplate);
  auto small = tmpl->imageByResizingTo({24, 24});
  EXPECT_EQ(small->size(), CGSizeMake(24, 24));
  EXPECT_EQ(small->renderingMode(), UIImageRenderingMode::AlwaysTemplate);
  EXPECT_EQ(small->pixelAt(2, 12) >> 24, 0xFFu);
  EXPECT_EQ(small->pixelAt(22, 12), 0u);
}

TEST_F(ImageTest, ImageViewPlacesTheImageByContentMode) {
  auto image = UIImage::imageWithContentsOfFile(writePng("b.png", 40, 20));
  auto view = std::make_shared<UIImageView>(CGRectMake(0, 0, 100, 100));
  EXPECT_EQ(view->imageRect(), CGRectZero);
  view->setImage(image);
  EXPECT_EQ(view->imageRect(), CGRectMake(0, 0, 100, 100));  // scale to fill
  view->setContentMode(UIViewContentMode::ScaleAspectFit);
  EXPECT_EQ(view->imageRect(), CGRectMake(0, 25, 100, 50));
  view->setContentMode(UIViewContentMode::ScaleAspectFill);
  EXPECT_EQ(view->imageRect(), CGRectMake(-50, 0, 200, 100));
  view->setContentMode(UIViewContentMode::Center);
  EXPECT_EQ(view->imageRect(), CGRectMake(30, 40, 40, 20));
  EXPECT_FALSE(view->drawsAsTemplate());
  view->setImage(image->imageWithRenderingMode(UIImageRenderingMode::AlwaysTemplate));
  EXPECT_TRUE(view->drawsAsTemplate());
  EXPECT_EQ(view->intrinsicContentSize(), CGSizeMake(40, 20));
  auto sized = std::make_shared<UIImageView>(image);
  EXPECT_EQ(sized->frame(), CGRectMake(0, 0, 40, 20));
  EXPECT_FALSE(sized->isUserInteractionEnabled());
}

}  // namespace
}  // namespace platform
