#include <cairo.h>
#include <gtest/gtest.h>

#include "platform/ui/render/BackdropBlur.h"
#include "platform/ui/render/BlurKernel.h"

namespace platform {
namespace {

uint32_t argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) { return (a << 24) | (r << 16) | (g << 8) | b; }

PixelBuffer filled(int w, int h, uint32_t pixel) {
  PixelBuffer buffer;
  buffer.width = w;
  buffer.height = h;
  buffer.pixels.assign(static_cast<size_t>(w) * h, pixel);
  return buffer;
}

class BlurKernelTest : public ::testing::Test {
 protected:
  std::vector<uint32_t> scratch_;
};

TEST_F(BlurKernelTest, DownsampleAveragesWholeAndPartialBlocks) {
  // 3 x 2 source, factor 2: one full 2 x 2 block and one 1 x 2 edge block.
  const uint32_t src[6] = {argb(255, 0, 0, 0),   argb(255, 100, 0, 0), argb(255, 10, 20, 30),
                           argb(255, 200, 0, 0), argb(255, 100, 0, 0), argb(255, 30, 40, 50)};
  PixelBuffer out;
  BlurKernel::downsample(src, 3, 2, 3, 2, out);
  ASSERT_EQ(out.width, 2);
  ASSERT_EQ(out.height, 1);
  EXPECT_EQ(out.at(0, 0), argb(255, 100, 0, 0));
  EXPECT_EQ(out.at(1, 0), argb(255, 20, 30, 40));
}

TEST_F(BlurKernelTest, DownsampleHonoursTheRowStride) {
  // Two rows of 2 pixels stored with a stride of 3 (the third column is padding).
  const uint32_t src[6] = {argb(255, 40, 0, 0), argb(255, 40, 0, 0), 0xDEADBEEF,
                           argb(255, 80, 0, 0), argb(255, 80, 0, 0), 0xDEADBEEF};
  PixelBuffer out;
  BlurKernel::downsample(src, 2, 2, 3, 2, out);
  ASSERT_EQ(out.pixels.size(), 1u);
  EXPECT_EQ(out.at(0, 0), argb(255, 60, 0, 0));
}

TEST_F(BlurKernelTest, BlurKeepsAUniformImageUniformUpToTheEdges) {
  for (uint32_t value : {argb(255, 255, 255, 255), argb(128, 64, 32, 1), argb(255, 7, 200, 13)}) {
    PixelBuffer buffer = filled(9, 5, value);
    BlurKernel::gaussianApproximation(buffer, 3.0, scratch_);
    for (uint32_t p : buffer.pixels) ASSERT_EQ(p, value);
  }
}

TEST_F(BlurKernelTest, BlurSpreadsAPointSymmetricallyAndKeepsItsWeight) {
  PixelBuffer buffer = filled(21, 21, 0);
  buffer.pixels[10 * 21 + 10] = argb(255, 255, 255, 255);
  BlurKernel::boxBlur(buffer, 2, scratch_);
  // A box of 5 x 5 around the point, each holding 255 / 25 ~ 10.
  EXPECT_EQ(buffer.at(10, 10) >> 24, 10u);
  EXPECT_EQ(buffer.at(8, 12) >> 24, 10u);
  EXPECT_EQ(buffer.at(7, 10) >> 24, 0u);
  EXPECT_EQ(buffer.at(12, 8), buffer.at(8, 12));
  // Premultiplied colour never exceeds alpha.
  for (uint32_t p : buffer.pixels) ASSERT_LE((p >> 16) & 0xFF, p >> 24);
}

TEST_F(BlurKernelTest, BoxRadiusFollowsTheGaussianSpread) {
  EXPECT_EQ(BlurKernel::boxRadiusForSigma(0), 0);
  EXPECT_EQ(BlurKernel::boxRadiusForSigma(1), 1);
  EXPECT_EQ(BlurKernel::boxRadiusForSigma(5), 5);
  EXPECT_EQ(BlurKernel::boxRadiusForSigma(10), 10);
}

TEST_F(BlurKernelTest, UpscaleSpansBlocksOfAnyWidthBetweenPixelCentres) {
  // Two pixels, black and white, each spanning 7.5 output pixels: a ramp between their centres (3.75
  // and 11.25 output pixels), flat beyond them.
  PixelBuffer small = filled(2, 1, argb(255, 0, 0, 0));
  small.pixels[1] = argb(255, 255, 255, 255);
  std::vector<uint32_t> out(15 * 2, 0);
  BlurKernel::upscale(small, 7.5, 2, out.data(), 15, 2, 15, scratch_);
  EXPECT_EQ(out[0], argb(255, 0, 0, 0));
  EXPECT_EQ(out[3], argb(255, 0, 0, 0));
  EXPECT_EQ(out[7], argb(255, 128, 128, 128));  // the middle
  EXPECT_EQ(out[11], argb(255, 255, 255, 255));
  EXPECT_EQ(out[14], argb(255, 255, 255, 255));
  for (int x = 4; x < 11; ++x) EXPECT_LT(out[x] & 0xFF, out[x + 1] & 0xFF) << x;
  for (int x = 0; x < 15; ++x) EXPECT_EQ(out[15 + x], out[x]);  // both rows alike
}

TEST_F(BlurKernelTest, SaturationZeroGivesGreyAndOneKeepsColour) {
  PixelBuffer buffer = filled(1, 1, argb(255, 200, 100, 0));
  BlurKernel::saturate(buffer, 1.0);
  EXPECT_EQ(buffer.at(0, 0), argb(255, 200, 100, 0));
  BlurKernel::saturate(buffer, 0.0);
  // Luminance (54 r + 183 g + 19 b) / 256 = 113.
  EXPECT_EQ(buffer.at(0, 0), argb(255, 113, 113, 113));
}

TEST_F(BlurKernelTest, SaturationStaysWithinPremultipliedRange) {
  PixelBuffer buffer = filled(1, 1, argb(100, 100, 10, 0));
  BlurKernel::saturate(buffer, 3.0);
  const uint32_t p = buffer.at(0, 0);
  EXPECT_EQ(p >> 24, 100u);
  EXPECT_LE((p >> 16) & 0xFF, 100u);
  EXPECT_EQ((p >> 8) & 0xFF, 0u);
}

// A surface filled with one opaque colour, with one pixel that can be changed.
class BackdropBlurTest : public ::testing::Test {
 protected:
  void SetUp() override {
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 16, 16);
    cairo_t* cr = cairo_create(surface_);
    cairo_set_source_rgb(cr, 1, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
  }
  void TearDown() override { cairo_surface_destroy(surface_); }
  uint32_t resultPixel(cairo_surface_t* result, int x, int y) {
    cairo_surface_flush(result);
    auto* row =
        reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(result) + y * cairo_image_surface_get_stride(result));
    return row[x];
  }
  void setPixel(int x, int y, uint32_t value) {
    cairo_surface_flush(surface_);
    auto* row = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface_) +
                                            y * cairo_image_surface_get_stride(surface_));
    row[x] = value;
    cairo_surface_mark_dirty(surface_);
  }
  cairo_surface_t* surface_ = nullptr;
  BackdropBlur blur_;
  BlurLook look_{2.0, 1.0, UIColor(0, 0, 0, 0)};
};

TEST_F(BackdropBlurTest, UniformBackdropBlursToItself) {
  cairo_surface_t* result = blur_.blur(surface_, {2, 2, 12, 12}, 1.0, look_);
  ASSERT_EQ(cairo_image_surface_get_width(result), 12);
  ASSERT_EQ(cairo_image_surface_get_height(result), 12);
  EXPECT_EQ(resultPixel(result, 0, 0), argb(255, 255, 0, 0));
  EXPECT_EQ(resultPixel(result, 11, 11), argb(255, 255, 0, 0));
}

TEST_F(BackdropBlurTest, TintIsLaidOverTheBlur) {
  look_.tint = UIColor(0, 0, 1, 1);
  cairo_surface_t* result = blur_.blur(surface_, {0, 0, 16, 16}, 1.0, look_);
  EXPECT_EQ(resultPixel(result, 5, 5), argb(255, 0, 0, 255));
}

TEST_F(BackdropBlurTest, SameBackdropReusesTheResultAndAChangeRecomputesIt) {
  blur_.blur(surface_, {0, 0, 16, 16}, 2.0, look_);
  EXPECT_FALSE(blur_.lastWasCacheHit());
  blur_.blur(surface_, {0, 0, 16, 16}, 2.0, look_);
  EXPECT_TRUE(blur_.lastWasCacheHit());

  setPixel(7, 7, argb(255, 0, 0, 255));
  cairo_surface_t* result = blur_.blur(surface_, {0, 0, 16, 16}, 2.0, look_);
  EXPECT_FALSE(blur_.lastWasCacheHit());
  // The blue pixel is spread out: the middle is no longer pure red.
  EXPECT_NE(resultPixel(result, 7, 7), argb(255, 255, 0, 0));

  // A different look or region is another result too.
  look_.sigmaPoints = 3;
  blur_.blur(surface_, {0, 0, 16, 16}, 2.0, look_);
  EXPECT_FALSE(blur_.lastWasCacheHit());
  blur_.blur(surface_, {0, 0, 8, 16}, 2.0, look_);
  EXPECT_FALSE(blur_.lastWasCacheHit());
}

TEST_F(BackdropBlurTest, ReductionKeepsBlocksOfAboutFourPoints) {
  EXPECT_EQ(BackdropBlur::reductionFactor(1), 4);
  EXPECT_EQ(BackdropBlur::reductionFactor(2), 8);
  EXPECT_EQ(BackdropBlur::reductionFactor(3), 12);
  EXPECT_EQ(BackdropBlur::reductionFactor(0.25), 1);
}

}  // namespace
}  // namespace platform
