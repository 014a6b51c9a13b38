// `tessra gallery` writes a picture of every state it promises, none of them
// blank, and a page that shows them all; bad command lines change nothing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/foundation/DevicePaths.h"
#include "platform/ui/UIImage.h"
#include "tools/tessra/Command.h"
#include "tools/tessra/ComponentGallery.h"

namespace {

namespace fs = std::filesystem;

class GalleryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previousRoot_ = platform::DevicePaths::root();
#ifdef TESSRA_DEVICE_FILES
    platform::DevicePaths::setRoot(TESSRA_DEVICE_FILES);
#endif
    folder_ = fs::temp_directory_path() / ("tessra-gallery-test-" + std::to_string(::getpid()));
    fs::remove_all(folder_);
  }
  void TearDown() override {
    platform::DevicePaths::setRoot(previousRoot_);
    fs::remove_all(folder_);
  }
  int run(std::vector<std::string> args, std::string* err) {
    for (const auto& command : tessra::cli::commands()) {
      if (command.name != "gallery") continue;
      std::ostringstream out, errors;
      tessra::cli::Invocation invocation;
      invocation.args = std::move(args);
      invocation.out = &out;
      invocation.err = &errors;
      const int status = command.run(invocation);
      *err = errors.str();
      return status;
    }
    ADD_FAILURE() << "no gallery command";
    return -1;
  }
  // How many pixels differ from the top-left one (the backdrop).
  static int pixelsUnlikeTheBackdrop(const platform::UIImage& image) {
    const uint32_t backdrop = image.pixelAt(0, 0);
    int count = 0;
    for (int y = 0; y < image.pixelHeight(); ++y)
      for (int x = 0; x < image.pixelWidth(); ++x) count += image.pixelAt(x, y) != backdrop;
    return count;
  }

  fs::path folder_;

 private:
  fs::path previousRoot_;
};

TEST_F(GalleryTest, EveryPictureIsWrittenAndShowsSomething) {
  tessra::cli::ComponentGallery gallery(2);
  std::ostringstream err;
  ASSERT_TRUE(gallery.write(folder_, err)) << err.str();
  const auto& pictures = gallery.pictures();
  ASSERT_EQ(pictures.size(), 59u);
  std::set<std::string> sections;
  for (const auto& picture : pictures) {
    sections.insert(picture.section);
    auto image = platform::UIImage::imageWithContentsOfFile((folder_ / picture.file).string());
    ASSERT_NE(image, nullptr) << picture.file;
    EXPECT_EQ(image->pixelWidth(), picture.pixelWidth);
    const int area = image->pixelWidth() * image->pixelHeight();
    const int shown = pixelsUnlikeTheBackdrop(*image);
    if (picture.file.starts_with("strip-nothing"))
      EXPECT_EQ(shown, 0) << picture.file;
    else
      EXPECT_GT(shown, area / 50) << picture.file;
  }
  EXPECT_EQ(sections.size(), 13u);
}

TEST_F(GalleryTest, HalfWayDiffersFromRestAndStylesDifferFromEachOther) {
  tessra::cli::ComponentGallery gallery(1);
  std::ostringstream err;
  ASSERT_TRUE(gallery.write(folder_, err));
  auto load = [&](const std::string& file) {
    return platform::UIImage::imageWithContentsOfFile((folder_ / file).string());
  };
  auto differ = [](const platform::UIImage& a, const platform::UIImage& b) {
    int n = 0;
    for (int y = 0; y < a.pixelHeight(); ++y)
      for (int x = 0; x < a.pixelWidth(); ++x) n += a.pixelAt(x, y) != b.pixelAt(x, y);
    return n;
  };
  EXPECT_GT(differ(*load("panel-light-rest0.png"), *load("panel-light-half.png")), 100);
  EXPECT_GT(differ(*load("transition1-half.png"), *load("transition2-half.png")), 100);
  EXPECT_GT(differ(*load("shape0-half.png"), *load("shape1-half.png")), 100);
  EXPECT_GT(differ(*load("gradient-v1-past-first.png"), *load("gradient-v2-past-first.png")), 50);
  EXPECT_GT(differ(*load("shadow-on-rest.png"), *load("shadow-off-rest.png")), 100);
  EXPECT_EQ(differ(*load("shadow-on-moving.png"), *load("shadow-off-moving.png")), 0);  // faded out
}

TEST_F(GalleryTest, ThePageShowsEveryPictureWithItsCaption) {
  std::string err;
  ASSERT_EQ(run({folder_.string(), "--scale", "1"}, &err), 0) << err;
  std::ifstream in(folder_ / "index.html");
  std::stringstream page;
  page << in.rdbuf();
  size_t images = 0;
  for (const auto& entry : fs::directory_iterator(folder_)) {
    if (entry.path().extension() != ".png") continue;
    ++images;
    EXPECT_NE(page.str().find("src=\"" + entry.path().filename().string() + "\""), std::string::npos);
  }
  EXPECT_EQ(images, 59u);
  EXPECT_NE(page.str().find("<figcaption>half-way</figcaption>"), std::string::npos);
  EXPECT_NE(page.str().find("Transition style 1 (mask)"), std::string::npos);
}

TEST_F(GalleryTest, BadCommandLinesAreRefused) {
  std::string err;
  EXPECT_EQ(run({}, &err), 2);
  EXPECT_EQ(err, "tessra gallery: name the folder to write the pictures into\n");
  EXPECT_EQ(run({folder_.string(), "--scale", "5"}, &err), 2);
  EXPECT_EQ(err, "tessra gallery: --scale must be 1, 2 or 3, not '5'\n");
  EXPECT_EQ(run({folder_.string(), "--scale"}, &err), 2);
  EXPECT_EQ(run({folder_.string(), "extra"}, &err), 2);
  EXPECT_FALSE(fs::exists(folder_));
  std::ofstream(folder_.string()) << "a file";
  EXPECT_EQ(run({folder_.string()}, &err), 1);
  EXPECT_EQ(err, "tessra gallery: cannot create the folder " + folder_.string() + "\n");
}

}  // namespace
