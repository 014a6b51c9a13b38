#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "platform/ui/UIImage.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/render/ViewRenderer.h"
#include "tests/tweak/toast/ToastFixture.h"
#include "tweak/toast/TessraToast.h"
#include "tweak/toast/ToastHelper.h"

namespace tessra::testing {
namespace {

using platform::CGRect;
using platform::UILabel;
using platform::UIView;

std::shared_ptr<platform::UIImage> squareImage(int pixels) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixels, pixels);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgba(cr, 1, 1, 1, 1);
  cairo_arc(cr, pixels / 2.0, pixels / 2.0, pixels / 2.5, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_destroy(cr);
  auto image = platform::UIImage::imageWithSurface(surface, 3);
  cairo_surface_destroy(surface);
  return image;
}

UILabel* labelSaying(UIView& toast, const std::string& text) {
  for (const auto& subview : toast.subviews())
    if (auto* label = dynamic_cast<UILabel*>(subview.get()); label && label->text() == text) return label;
  return nullptr;
}

platform::UIImageView* imageViewOf(UIView& toast) {
  for (const auto& subview : toast.subviews())
    if (auto* imageView = dynamic_cast<platform::UIImageView*>(subview.get())) return imageView;
  return nullptr;
}

class ToastLayoutTest : public ToastFixture {};

TEST_F(ToastLayoutTest, NothingToSayBuildsNoToastAndShowsNothing) {
  EXPECT_EQ(TessraToast::ts_toastViewForMessage(*host, std::nullopt, std::nullopt, nullptr, nullptr), nullptr);
  TSToastManager::ts_setQueueEnabled(true);
  TessraToast::ts_makeToast(*host, std::nullopt);
  TessraToast::ts_makeToast(*host, "shown");
  TessraToast::ts_makeToast(*host, std::nullopt, 3.0, ToastPositionTop, std::nullopt, nullptr, nullptr, nullptr);
  EXPECT_EQ(toastsOnScreen(), 1u);
  forward(3.5);
  EXPECT_EQ(toastsOnScreen(), 0u);  // nothing was queued behind the first
}

TEST_F(ToastLayoutTest, ProductStyleToastPlacesImageTitleAndMessageWithItsPaddings) {
  auto toast =
      TessraToast::ts_toastViewForMessage(*host, "Message", "Title", squareImage(75), ToastHelper::getTessraStyle());
  ASSERT_NE(toast, nullptr);
  UILabel* title = labelSaying(*toast, "Title");
  UILabel* message = labelSaying(*toast, "Message");
  platform::UIImageView* image = imageViewOf(*toast);
  ASSERT_TRUE(title && message && image);

  // Image 25 × 25 at the left padding; labels after it with a padding; the message half a padding below.
  EXPECT_EQ(title->frame().origin.x, 45);
  EXPECT_EQ(title->frame().origin.y, 10);
  EXPECT_EQ(message->frame().origin.x, 45);
  EXPECT_DOUBLE_EQ(message->frame().origin.y, 10 + title->frame().size.height + 5);
  EXPECT_EQ(title->frame().size.width, message->frame().size.width);  // both as wide as the wider
  const CGRect box = toast->frame();
  EXPECT_DOUBLE_EQ(box.size.width, 45 + message->frame().size.width + 10);
  EXPECT_DOUBLE_EQ(box.size.height, message->frame().origin.y + message->frame().size.height + 10);
  EXPECT_EQ(image->frame().origin.x, 10);
  EXPECT_EQ(image->frame().size.width, 25);
  EXPECT_DOUBLE_EQ(image->frame().origin.y, box.size.height / 2 - 12.5);
  EXPECT_EQ(toast->layer().cornerRadius(), 10);
  EXPECT_EQ(static_cast<unsigned>(toast->autoresizingMask()), 45u);
  EXPECT_EQ(title->textAlignment(), platform::NSTextAlignment::Center);
  EXPECT_EQ(title->font().pointSize(), 17);
  EXPECT_EQ(message->font().pointSize(), 16);
}

TEST_F(ToastLayoutTest, ATitleOfThreeLinesShowsTwoTruncatedAtTheTail) {
  auto style = ToastHelper::getTessraStyle();
  const std::string longLine(40, 'w');
  auto threeLines =
      TessraToast::ts_toastViewForMessage(*host, "m", longLine + " " + longLine + " " + longLine, nullptr, style);
  auto twoLines = TessraToast::ts_toastViewForMessage(*host, "m", longLine + " " + longLine, nullptr, style);
  UILabel* title = dynamic_cast<UILabel*>(threeLines->subviews().front().get());
  UILabel* twoLineTitle = dynamic_cast<UILabel*>(twoLines->subviews().front().get());
  ASSERT_TRUE(title && twoLineTitle);
  EXPECT_EQ(title->numberOfLines(), 2);
  EXPECT_EQ(title->lineBreakMode(), platform::NSLineBreakMode::ByTruncatingTail);
  EXPECT_EQ(title->textLayout().lineCount(), 2);
  EXPECT_DOUBLE_EQ(title->frame().size.height, twoLineTitle->frame().size.height);
  // No wider than 80 % of the host.
  EXPECT_LE(title->frame().size.width, 375 * 0.8);
}

TEST_F(ToastLayoutTest, WithoutAnImageAToastIsAsWideAsItsTextAndPaddings) {
  auto toast = TessraToast::ts_toastViewForMessage(*host, "Hello", std::nullopt, nullptr, nullptr);
  UILabel* message = labelSaying(*toast, "Hello");
  ASSERT_NE(message, nullptr);
  EXPECT_EQ(message->frame().origin.x, 10);
  EXPECT_EQ(message->frame().origin.y, 10);
  EXPECT_DOUBLE_EQ(toast->frame().size.width, message->frame().size.width + 20);
  EXPECT_DOUBLE_EQ(toast->frame().size.height, message->frame().size.height + 20);
  EXPECT_EQ(message->font().pointSize(), 16);  // the default style
}

TEST_F(ToastLayoutTest, PercentagesAreClampedWheneverTheyAreSet) {
  auto style = TSToastStyle::createWithDefaultStyle();
  style->setMaxWidthPercentage(1.5);
  style->setMaxHeightPercentage(-0.2);
  EXPECT_EQ(style->maxWidthPercentage(), 1.0);
  EXPECT_EQ(style->maxHeightPercentage(), 0.0);
  style->setMaxWidthPercentage(std::nan(""));
  EXPECT_EQ(style->maxWidthPercentage(), 0.0);
}

TEST_F(ToastLayoutTest, SnapshotOfAProductStyleToastAtThreeTimes) {
  auto toast = TessraToast::ts_toastViewForMessage(
      *host, "A new message from Alice: are we still on for lunch today at the usual place?",
      "Messages - Alice Appleseed", squareImage(75), ToastHelper::getTessraStyle());
  platform::ViewRenderer renderer;
  auto image = renderer.renderView(*toast, 3);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(cairo_image_surface_get_width(image->surface()),
            static_cast<int>(std::ceil(toast->bounds().size.width * 3)));
  // The box's colour (0.11, 0.11, 0.118 at 0.85) just inside its top edge, between the corners.
  cairo_surface_flush(image->surface());
  const unsigned char* pixels = cairo_image_surface_get_data(image->surface());
  const int stride = cairo_image_surface_get_stride(image->surface());
  const uint32_t pixel = *reinterpret_cast<const uint32_t*>(pixels + 3 * stride + 60 * 4);
  EXPECT_EQ(pixel >> 24, static_cast<uint32_t>(std::lround(0.85 * 255)));
  std::filesystem::create_directories(TOAST_SNAPSHOT_DIR);
  cairo_surface_write_to_png(image->surface(), TOAST_SNAPSHOT_DIR "/toast_product_style@3x.png");
}

}  // namespace
}  // namespace tessra::testing
