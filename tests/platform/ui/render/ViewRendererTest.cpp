#include <cairo.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/ui/CAGradientLayer.h"
#include "platform/ui/CAShapeLayer.h"
#include "platform/ui/UIActivityIndicatorView.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIView.h"
#include "platform/ui/UIVisualEffectView.h"
#include "platform/ui/UIWindow.h"
#include "platform/ui/render/ViewRenderer.h"

namespace platform {
namespace {

constexpr uint32_t kClear = 0x00000000;
constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kBlue = 0xFF0000FF;
constexpr uint32_t kWhite = 0xFFFFFFFF;

uint32_t alphaOf(uint32_t p) { return p >> 24; }
uint32_t redOf(uint32_t p) { return (p >> 16) & 0xFF; }
uint32_t greenOf(uint32_t p) { return (p >> 8) & 0xFF; }
uint32_t blueOf(uint32_t p) { return p & 0xFF; }

std::shared_ptr<UIView> box(CGRect frame, std::optional<UIColor> color) {
  auto view = std::make_shared<UIView>(frame);
  view->setBackgroundColor(color);
  return view;
}

// A view backed by a gradient layer.
class GradientView : public UIView {
 public:
  explicit GradientView(const CGRect& frame) : UIView(frame, std::make_shared<CAGradientLayer>()) {}
  CAGradientLayer& gradient() { return static_cast<CAGradientLayer&>(layer()); }
};

// An image of w x h pixels, white where `opaque(x, y)` and clear elsewhere.
std::shared_ptr<UIImage> whiteImage(int w, int h, const std::function<bool(int, int)>& opaque, double scale = 1) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_surface_flush(surface);
  for (int y = 0; y < h; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface) +
                                            y * cairo_image_surface_get_stride(surface));
    for (int x = 0; x < w; ++x) row[x] = opaque(x, y) ? kWhite : kClear;
  }
  cairo_surface_mark_dirty(surface);
  auto image = UIImage::imageWithSurface(surface, scale);
  cairo_surface_destroy(surface);
  return image;
}

class ViewRendererTest : public ::testing::Test {
 protected:
  ManualTaskEnvironment env_;
  ViewRenderer renderer_;
};

// --- Geometry ---

TEST_F(ViewRendererTest, ImageHasTheViewSizeTimesTheScale) {
  auto view = box(CGRectMake(0, 0, 3, 2), UIColor::redColor());
  for (int scale : {1, 2, 3}) {
    auto image = renderer_.renderView(*view, scale);
    EXPECT_EQ(image->pixelWidth(), 3 * scale);
    EXPECT_EQ(image->pixelHeight(), 2 * scale);
    EXPECT_EQ(image->scale(), scale);
    EXPECT_EQ(image->pixelAt(3 * scale - 1, 2 * scale - 1), kRed);
  }
}

TEST_F(ViewRendererTest, SubviewsArePlacedByFrameAndTheSuperviewsBoundsOrigin) {
  auto root = box(CGRectMake(0, 0, 8, 8), std::nullopt);
  root->addSubview(box(CGRectMake(2, 3, 2, 2), UIColor::blueColor()));
  auto image = renderer_.renderView(*root, 1);
  EXPECT_EQ(image->pixelAt(2, 3), kBlue);
  EXPECT_EQ(image->pixelAt(3, 4), kBlue);
  EXPECT_EQ(image->pixelAt(1, 3), kClear);
  EXPECT_EQ(image->pixelAt(4, 3), kClear);

  // Scrolling the superview's bounds by one point moves the content left.
  root->setBounds(CGRectMake(1, 0, 8, 8));
  image = renderer_.renderView(*root, 1);
  EXPECT_EQ(image->pixelAt(1, 3), kBlue);
  EXPECT_EQ(image->pixelAt(3, 3), kClear);
}

TEST_F(ViewRendererTest, TransformScalesAboutTheCentre) {
  auto root = box(CGRectMake(0, 0, 8, 8), std::nullopt);
  auto child = box(CGRectMake(3, 3, 2, 2), UIColor::greenColor());
  child->setTransform(CGAffineTransformMakeScale(2, 2));
  root->addSubview(child);
  auto image = renderer_.renderView(*root, 1);
  EXPECT_EQ(image->pixelAt(2, 2), kGreen);
  EXPECT_EQ(image->pixelAt(5, 5), kGreen);
  EXPECT_EQ(image->pixelAt(1, 1), kClear);
  EXPECT_EQ(image->pixelAt(6, 6), kClear);
}

TEST_F(ViewRendererTest, HiddenAndFullyTransparentViewsAreNotDrawn) {
  auto root = box(CGRectMake(0, 0, 4, 1), std::nullopt);
  auto hidden = box(CGRectMake(0, 0, 2, 1), UIColor::redColor());
  hidden->setHidden(true);
  auto transparent = box(CGRectMake(2, 0, 2, 1), UIColor::redColor());
  transparent->setAlpha(0);
  root->addSubview(hidden);
  root->addSubview(transparent);
  auto image = renderer_.renderView(*root, 1);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(image->pixelAt(x, 0), kClear);
}

// --- Clipping and corners ---

TEST_F(ViewRendererTest, RoundedClipCutsTheSubviewsCorners) {
  auto root = box(CGRectMake(0, 0, 10, 10), std::nullopt);
  root->layer().setCornerRadius(5);
  root->addSubview(box(CGRectMake(0, 0, 10, 10), UIColor::greenColor()));
  auto unclipped = renderer_.renderView(*root, 1);
  EXPECT_EQ(unclipped->pixelAt(0, 0), kGreen);

  root->setClipsToBounds(true);
  auto clipped = renderer_.renderView(*root, 1);
  EXPECT_EQ(clipped->pixelAt(0, 0), kClear);
  EXPECT_EQ(clipped->pixelAt(9, 9), kClear);
  EXPECT_EQ(clipped->pixelAt(5, 5), kGreen);
  EXPECT_EQ(clipped->pixelAt(5, 1), kGreen);  // near the middle of an edge, inside the circle
}

TEST_F(ViewRendererTest, CornerRadiusRoundsTheBackgroundWithoutClipping) {
  auto root = box(CGRectMake(0, 0, 10, 10), std::nullopt);
  auto card = box(CGRectMake(0, 0, 10, 10), UIColor::redColor());
  card->layer().setCornerRadius(4);
  root->addSubview(card);
  auto image = renderer_.renderView(*root, 2);
  EXPECT_EQ(image->pixelAt(0, 0), kClear);
  EXPECT_EQ(image->pixelAt(10, 10), kRed);
  EXPECT_EQ(image->pixelAt(19, 10), kRed);
}

// --- Opacity ---

TEST_F(ViewRendererTest, BackgroundAlphaIsKept) {
  auto root = box(CGRectMake(0, 0, 2, 2), std::nullopt);
  root->addSubview(box(CGRectMake(0, 0, 2, 2), UIColor(1, 0, 0, 0.5)));
  auto image = renderer_.renderView(*root, 1);
  EXPECT_EQ(alphaOf(image->pixelAt(1, 1)), 128u);
  EXPECT_EQ(redOf(image->pixelAt(1, 1)), 255u);
}

TEST_F(ViewRendererTest, AlphaAppliesToTheGroupNotToEachSubview) {
  auto root = box(CGRectMake(0, 0, 4, 1), std::nullopt);
  auto group = box(CGRectMake(0, 0, 4, 1), std::nullopt);
  group->setAlpha(0.5);
  group->addSubview(box(CGRectMake(0, 0, 3, 1), UIColor::whiteColor()));
  group->addSubview(box(CGRectMake(1, 0, 3, 1), UIColor::whiteColor()));
  root->addSubview(group);
  auto image = renderer_.renderView(*root, 1);
  // Overlapping children do not add up: one layer at half opacity.
  EXPECT_EQ(alphaOf(image->pixelAt(0, 0)), 128u);
  EXPECT_EQ(alphaOf(image->pixelAt(2, 0)), 128u);
}

TEST_F(ViewRendererTest, PresentedValuesOfARunningAnimationAreDrawn) {
  auto root = box(CGRectMake(0, 0, 4, 4), std::nullopt);
  auto fading = box(CGRectMake(0, 0, 4, 4), UIColor::whiteColor());
  root->addSubview(fading);
  UIView::animateWithDuration(1.0, 0, UIViewAnimationOptions::CurveLinear, [&] { fading->setAlpha(0); });
  env_.advance(seconds(0.25));
  auto image = renderer_.renderView(*root, 1);
  EXPECT_NEAR(alphaOf(image->pixelAt(2, 2)), 191, 1);  // 0.75 of the way back from 0
  env_.fastForwardBy(seconds(1));
  image = renderer_.renderView(*root, 1);
  EXPECT_EQ(image->pixelAt(2, 2), kClear);
}

// --- Gradients and masks ---

TEST_F(ViewRendererTest, MaskedGradientShowsOnlyInsideTheShape) {
  auto root = box(CGRectMake(0, 0, 4, 1), std::nullopt);
  auto gradient = std::make_shared<GradientView>(CGRectMake(0, 0, 4, 1));
  gradient->gradient().setColors({UIColor::redColor(), UIColor::blueColor()});
  gradient->gradient().setLocations({0, 1});
  gradient->gradient().setStartPoint({0, 0.5});
  gradient->gradient().setEndPoint({1, 0.5});
  auto mask = std::make_shared<CAShapeLayer>();
  mask->setFrame(CGRectMake(0, 0, 4, 1));
  mask->setPath(UIBezierPath::bezierPathWithRect(CGRectMake(0, 0, 2, 1)));
  gradient->layer().setMask(mask);
  root->addSubview(gradient);

  auto image = renderer_.renderView(*root, 1);
  // Pixel centres at 1/8 and 3/8 of the way from red to blue.
  EXPECT_EQ(alphaOf(image->pixelAt(0, 0)), 255u);
  EXPECT_NEAR(redOf(image->pixelAt(0, 0)), 223, 1);
  EXPECT_NEAR(blueOf(image->pixelAt(0, 0)), 32, 1);
  EXPECT_NEAR(redOf(image->pixelAt(1, 0)), 159, 1);
  EXPECT_NEAR(blueOf(image->pixelAt(1, 0)), 96, 1);
  EXPECT_EQ(image->pixelAt(2, 0), kClear);
  EXPECT_EQ(image->pixelAt(3, 0), kClear);
}

TEST_F(ViewRendererTest, TranslucentMaskScalesTheAlpha) {
  auto root = box(CGRectMake(0, 0, 2, 1), std::nullopt);
  auto view = box(CGRectMake(0, 0, 2, 1), UIColor::whiteColor());
  auto mask = std::make_shared<CAShapeLayer>();
  mask->setFrame(CGRectMake(0, 0, 2, 1));
  mask->setPath(UIBezierPath::bezierPathWithRect(CGRectMake(0, 0, 1, 1)));
  mask->setFillColor(UIColor(0, 0, 0, 0.5));
  view->layer().setMask(mask);
  root->addSubview(view);
  auto image = renderer_.renderView(*root, 1);
  EXPECT_EQ(alphaOf(image->pixelAt(0, 0)), 128u);
  EXPECT_EQ(image->pixelAt(1, 0), kClear);
}

TEST_F(ViewRendererTest, GradientWithoutMatchingLocationsSpreadsColoursEvenly) {
  auto root = box(CGRectMake(0, 0, 1, 2), std::nullopt);
  auto gradient = std::make_shared<GradientView>(CGRectMake(0, 0, 1, 2));
  // Default direction is top to bottom; three locations for two colours are ignored.
  gradient->gradient().setColors({UIColor::whiteColor(), UIColor::blackColor()});
  gradient->gradient().setLocations({0, 0, 0});
  root->addSubview(gradient);
  auto image = renderer_.renderView(*root, 1);
  EXPECT_NEAR(redOf(image->pixelAt(0, 0)), 191, 1);
  EXPECT_NEAR(redOf(image->pixelAt(0, 1)), 64, 1);
}

// --- Images ---

TEST_F(ViewRendererTest, TemplateImageIsFilledWithTheInheritedTint) {
  auto root = box(CGRectMake(0, 0, 2, 2), std::nullopt);
  root->setTintColor(UIColor::greenColor());
  auto image = whiteImage(2, 2, [](int x, int y) {
                 return x == y;
               })->imageWithRenderingMode(UIImageRenderingMode::AlwaysTemplate);
  auto imageView = std::make_shared<UIImageView>(CGRectMake(0, 0, 2, 2));
  imageView->setImage(image);
  root->addSubview(imageView);

  auto out = renderer_.renderView(*root, 1);
  EXPECT_EQ(out->pixelAt(0, 0), kGreen);
  EXPECT_EQ(out->pixelAt(1, 1), kGreen);
  EXPECT_EQ(out->pixelAt(1, 0), kClear);

  imageView->setTintColor(UIColor::redColor());
  out = renderer_.renderView(*root, 1);
  EXPECT_EQ(out->pixelAt(0, 0), kRed);

  imageView->setImage(image->imageWithRenderingMode(UIImageRenderingMode::AlwaysOriginal));
  out = renderer_.renderView(*root, 1);
  EXPECT_EQ(out->pixelAt(0, 0), kWhite);
}

TEST_F(ViewRendererTest, AspectFitCentresTheImage) {
  auto root = box(CGRectMake(0, 0, 4, 4), std::nullopt);
  auto imageView = std::make_shared<UIImageView>(CGRectMake(0, 0, 4, 4));
  imageView->setImage(whiteImage(2, 1, [](int, int) { return true; }));
  imageView->setContentMode(UIViewContentMode::ScaleAspectFit);
  root->addSubview(imageView);
  auto out = renderer_.renderView(*root, 1);
  EXPECT_EQ(out->pixelAt(0, 0), kClear);
  EXPECT_EQ(out->pixelAt(0, 1), kWhite);
  EXPECT_EQ(out->pixelAt(3, 2), kWhite);
  EXPECT_EQ(out->pixelAt(3, 3), kClear);
}

// --- Shadows ---

TEST_F(ViewRendererTest, ShadowPathCastsAnOffsetShadowBelowTheView) {
  auto root = box(CGRectMake(0, 0, 40, 40), std::nullopt);
  auto card = box(CGRectMake(10, 10, 10, 10), UIColor::whiteColor());
  card->layer().setShadowColor(UIColor::blackColor());
  card->layer().setShadowOpacity(0.5);
  card->layer().setShadowRadius(0);
  card->layer().setShadowOffset({0, 5});
  card->layer().setShadowPath(UIBezierPath::bezierPathWithRect(CGRectMake(0, 0, 10, 10)));
  root->addSubview(card);
  auto out = renderer_.renderView(*root, 1);
  EXPECT_EQ(out->pixelAt(15, 15), kWhite);       // the view over its shadow
  EXPECT_EQ(out->pixelAt(15, 22), 0x80000000u);  // the shadow's strip below it
  EXPECT_EQ(out->pixelAt(15, 26), kClear);
  EXPECT_EQ(out->pixelAt(15, 9), kClear);
}

TEST_F(ViewRendererTest, BlurredShadowFadesWithDistance) {
  auto root = box(CGRectMake(0, 0, 60, 60), std::nullopt);
  auto card = box(CGRectMake(20, 20, 20, 20), UIColor::whiteColor());
  card->layer().setShadowOpacity(1);
  card->layer().setShadowRadius(4);
  card->layer().setShadowOffset({0, 0});
  root->addSubview(card);
  auto out = renderer_.renderView(*root, 1);
  const uint32_t near = alphaOf(out->pixelAt(30, 41));
  const uint32_t far = alphaOf(out->pixelAt(30, 46));
  EXPECT_GT(near, far);
  EXPECT_GT(far, 0u);
  EXPECT_EQ(out->pixelAt(30, 58), kClear);
  EXPECT_EQ(out->pixelAt(30, 30), kWhite);
}

TEST_F(ViewRendererTest, ShadowWithoutPathFollowsWhatTheLayerDraws) {
  auto root = box(CGRectMake(0, 0, 30, 30), std::nullopt);
  auto holder = box(CGRectMake(0, 0, 30, 30), std::nullopt);
  holder->addSubview(box(CGRectMake(0, 0, 10, 10), UIColor::whiteColor()));
  holder->layer().setShadowOpacity(1);
  holder->layer().setShadowRadius(0);
  holder->layer().setShadowOffset({15, 15});
  root->addSubview(holder);
  auto out = renderer_.renderView(*root, 1);
  EXPECT_EQ(out->pixelAt(20, 20), 0xFF000000u);  // under the offset square
  EXPECT_EQ(out->pixelAt(12, 12), kClear);       // the holder's empty area casts nothing
  EXPECT_EQ(out->pixelAt(5, 5), kWhite);

  renderer_.renderView(*root, 1);
  EXPECT_EQ(renderer_.stats().shadowsComputed, 1);
  EXPECT_EQ(renderer_.stats().shadowsReused, 1);
}

// --- Blur ---

class BlurRendererTest : public ViewRendererTest {
 protected:
  void SetUp() override {
    root_ = box(CGRectMake(0, 0, 200, 20), UIColor::blackColor());
    white_ = box(CGRectMake(100, 0, 100, 20), UIColor::whiteColor());
    root_->addSubview(white_);
    blur_ = std::make_shared<UIVisualEffectView>(UIBlurEffect::effectWithStyle(UIBlurEffectStyle::Dark));
    blur_->setFrame(CGRectMake(0, 0, 200, 20));
    root_->addSubview(blur_);
  }
  std::shared_ptr<UIView> root_, white_;
  std::shared_ptr<UIVisualEffectView> blur_;
};

TEST_F(BlurRendererTest, BlurMixesWhatLiesBehindAcrossAnEdge) {
  auto out = renderer_.renderView(*root_, 1);
  const uint32_t leftFar = redOf(out->pixelAt(2, 10));
  const uint32_t leftNear = redOf(out->pixelAt(97, 10));
  const uint32_t rightNear = redOf(out->pixelAt(102, 10));
  const uint32_t rightFar = redOf(out->pixelAt(197, 10));
  EXPECT_EQ(alphaOf(out->pixelAt(100, 10)), 255u);
  EXPECT_LT(leftFar, leftNear);
  EXPECT_LT(leftNear, rightNear);
  EXPECT_LT(rightNear, rightFar);
  // Far from the edge the dark tint over black or white.
  EXPECT_NEAR(leftFar, 21, 2);   // 0.11 * 0.73 * 255
  EXPECT_NEAR(rightFar, 89, 2);  // 0.27 * 255 + 0.11 * 0.73 * 255
}

TEST_F(BlurRendererTest, BlurIsReusedUntilWhatLiesBehindChanges) {
  renderer_.renderView(*root_, 2);
  renderer_.renderView(*root_, 2);
  EXPECT_EQ(renderer_.stats().blursComputed, 1);
  EXPECT_EQ(renderer_.stats().blursReused, 1);

  white_->setBackgroundColor(UIColor::redColor());
  auto out = renderer_.renderView(*root_, 2);
  EXPECT_EQ(renderer_.stats().blursComputed, 2);
  EXPECT_GT(redOf(out->pixelAt(300, 20)), greenOf(out->pixelAt(300, 20)));
}

TEST_F(BlurRendererTest, ContentOfTheBlurViewIsDrawnSharpOverTheBlur) {
  blur_->contentView()->addSubview(box(CGRectMake(0, 0, 2, 2), UIColor::greenColor()));
  auto out = renderer_.renderView(*root_, 1);
  EXPECT_EQ(out->pixelAt(1, 1), kGreen);
}

// --- A blur that covers the whole frame ---

// Under a blur view that covers every pixel opaquely, later frames draw what lies beneath at the blur's reduced
// size and the rest at full size; they must look as the frame drawn whole did.
class CoveringBlurTest : public ViewRendererTest {
 protected:
  void SetUp() override {
    root_ = box(CGRectMake(0, 0, 101, 61), UIColor::blackColor());
    // Edges off the blur's blocks, so drawing small differs from averaging large.
    root_->addSubview(box(CGRectMake(13.3, 7.7, 41.1, 23.9), UIColor::whiteColor()));
    root_->addSubview(box(CGRectMake(60.5, 30.25, 30, 20), UIColor::redColor()));
    blur_ = std::make_shared<UIVisualEffectView>(UIBlurEffect::effectWithStyle(UIBlurEffectStyle::Light));
    blur_->setFrame(root_->bounds());
    blur_->contentView()->addSubview(box(CGRectMake(4, 4, 3, 3), UIColor::greenColor()));
    root_->addSubview(blur_);
    root_->addSubview(box(CGRectMake(90, 50, 5, 5), UIColor::blueColor()));  // over the blur
  }
  // The largest difference of any channel of any pixel, leaving out `margin` pixels at the right and bottom.
  static int largestDifference(const UIImage& a, const UIImage& b, int margin = 0) {
    int largest = 0;
    for (int y = 0; y < a.pixelHeight() - margin; ++y)
      for (int x = 0; x < a.pixelWidth() - margin; ++x)
        for (int shift = 0; shift < 32; shift += 8)
          largest = std::max(largest, std::abs(static_cast<int>((a.pixelAt(x, y) >> shift) & 0xFF) -
                                               static_cast<int>((b.pixelAt(x, y) >> shift) & 0xFF)));
    return largest;
  }
  std::shared_ptr<UIView> root_;
  std::shared_ptr<UIVisualEffectView> blur_;
};

TEST_F(CoveringBlurTest, LaterFramesDrawBeneathSmallAndLookTheSame) {
  auto whole = renderer_.renderView(*root_, 2);
  EXPECT_EQ(renderer_.stats().backdropsDrawnSmall, 0);
  auto small = renderer_.renderView(*root_, 2);
  EXPECT_EQ(renderer_.stats().backdropsDrawnSmall, 1);
  // Both approximate one gaussian blur (of a saturated red here, which the saturation boost magnifies), within
  // 5 % of a channel. The frame's last block is partial (2 of 8 pixels): averaged large it weighs as much as a
  // whole block, drawn small it is part of the last pixel, so the last blocks differ a little more.
  EXPECT_LE(largestDifference(*whole, *small, 16), 12);
  EXPECT_LE(largestDifference(*whole, *small), 20);
  // What the blur view holds, and what lies over it, is drawn sharp as before.
  EXPECT_EQ(small->pixelAt(10, 10), kGreen);
  EXPECT_EQ(small->pixelAt(185, 105), kBlue);
  EXPECT_EQ(whole->pixelAt(185, 105), kBlue);
}

TEST_F(CoveringBlurTest, AChangeBeneathShowsInTheNextFrame) {
  renderer_.renderView(*root_, 2);
  auto before = renderer_.renderView(*root_, 2);
  root_->subviews()[1]->setBackgroundColor(UIColor::blueColor());
  auto after = renderer_.renderView(*root_, 2);
  EXPECT_EQ(renderer_.stats().backdropsDrawnSmall, 2);
  EXPECT_GT(blueOf(after->pixelAt(150, 80)), blueOf(before->pixelAt(150, 80)) + 40);
  EXPECT_LT(redOf(after->pixelAt(150, 80)), redOf(before->pixelAt(150, 80)));
}

TEST_F(CoveringBlurTest, ABlurThatNoLongerCoversTheFrameIsDrawnTheOrdinaryWay) {
  const std::vector<std::pair<const char*, std::function<void()>>> changes = {
      {"smaller", [&] { blur_->setFrame(CGRectMake(0, 0, 101, 60)); }},
      {"rounded", [&] { blur_->layer().setCornerRadius(8); }},
      {"translucent", [&] { blur_->setAlpha(0.5); }},
      {"turned", [&] { blur_->setTransform(CGAffineTransformMakeRotation(0.1)); }},
      {"hidden", [&] { blur_->setHidden(true); }},
  };
  for (const auto& [name, change] : changes) {
    SCOPED_TRACE(name);
    SetUp();
    ViewRenderer renderer, fresh;
    renderer.renderView(*root_, 2);
    renderer.renderView(*root_, 2);
    ASSERT_EQ(renderer.stats().backdropsDrawnSmall, 1);
    change();
    auto out = renderer.renderView(*root_, 2);
    EXPECT_EQ(renderer.stats().backdropsDrawnSmall, 1);
    EXPECT_EQ(largestDifference(*out, *fresh.renderView(*root_, 2)), 0);
  }
}

TEST_F(CoveringBlurTest, TheBlurViewsBackgroundIsLaidOnTheBlurAsIfBlendedOverIt) {
  // The same colour as a background of the blur view, or as a view of its own laid over the blur.
  const UIColor veil(0, 0, 0.4, 0.3);
  auto overlay = box(blur_->bounds(), veil);
  blur_->contentView()->insertSubview(overlay, 0);
  auto blended = renderer_.renderView(*root_, 2);
  overlay->removeFromSuperview();
  blur_->setBackgroundColor(veil);
  ViewRenderer renderer;
  auto laid = renderer.renderView(*root_, 2);
  EXPECT_LE(largestDifference(*blended, *laid), 2);
}

// --- Text ---

TEST_F(ViewRendererTest, LabelTextIsDrawnInsideItsTextRect) {
  auto root = box(CGRectMake(0, 0, 60, 30), std::nullopt);
  auto label = std::make_shared<UILabel>(CGRectMake(0, 0, 60, 30));
  label->setText("Wi-Fi");
  label->setTextColor(UIColor::redColor());
  label->setFont(UIFont::systemFontOfSize(14));
  label->setTextAlignment(NSTextAlignment::Center);
  root->addSubview(label);
  auto out = renderer_.renderView(*root, 2);
  const CGRect rect = label->textRect();
  int inked = 0;
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 120; ++x) {
      const uint32_t p = out->pixelAt(x, y);
      if (alphaOf(p) == 0) continue;
      ++inked;
      EXPECT_EQ(greenOf(p), 0u);
      EXPECT_GE(y, std::floor(rect.origin.y * 2));
      EXPECT_LE(y, std::ceil((rect.origin.y + rect.size.height) * 2));
    }
  }
  EXPECT_GT(inked, 50);
  // Centred: as much ink left of the middle as right of it, within a few pixels.
  int left = 0, right = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 120; ++x)
      if (alphaOf(out->pixelAt(x, y)) > 0) (x < 60 ? left : right)++;
  EXPECT_NEAR(left, right, inked / 4);
}

TEST_F(ViewRendererTest, AttributedColoursAreDrawnWhereTheyApply) {
  auto root = box(CGRectMake(0, 0, 80, 30), std::nullopt);
  auto label = std::make_shared<UILabel>(CGRectMake(0, 0, 80, 30));
  label->setFont(UIFont::systemFontOfSize(14));
  label->setTextColor(UIColor::redColor());
  NSAttributedString text("WWWW WWWW");
  text.addForegroundColor(UIColor::blueColor(), 5, 4);
  label->setAttributedText(text);
  root->addSubview(label);
  auto out = renderer_.renderView(*root, 2);
  // Left of the space the label's red, right of it the run's blue; nothing green.
  const double split = TextLayout("WWWW ", {label->font()}, -1).size().width * 2;
  int red = 0, blue = 0;
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 160; ++x) {
      const uint32_t p = out->pixelAt(x, y);
      if (alphaOf(p) < 128) continue;
      EXPECT_EQ(greenOf(p), 0u);
      if (x < split - 2) {
        EXPECT_EQ(p & 0xFFu, 0u) << x << " " << y;  // no blue on the red side
        ++red;
      } else if (x > split + 2) {
        EXPECT_EQ((p >> 16) & 0xFFu, 0u) << x << " " << y;  // no red on the blue side
        ++blue;
      }
    }
  }
  EXPECT_GT(red, 50);
  EXPECT_GT(blue, 50);
  // A new text is laid out again: the kept layout is not reused for other runs.
  text.addForegroundColor(UIColor::redColor(), 5, 4);
  label->setAttributedText(text);
  out = renderer_.renderView(*root, 2);
  int blueLeft = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 160; ++x) blueLeft += alphaOf(out->pixelAt(x, y)) >= 128 && (out->pixelAt(x, y) & 0xFFu) != 0;
  EXPECT_EQ(blueLeft, 0);
}

TEST_F(ViewRendererTest, EmptyLabelDrawsNothing) {
  auto label = std::make_shared<UILabel>(CGRectMake(0, 0, 10, 10));
  auto out = renderer_.renderView(*label, 1);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(out->pixelAt(x, y), kClear);
}

TEST_F(ViewRendererTest, BorderIsDrawnInsideTheBoundsOverTheSubviews) {
  auto root = box(CGRectMake(0, 0, 6, 6), std::nullopt);
  auto framed = box(CGRectMake(0, 0, 6, 6), std::nullopt);
  framed->layer().setBorderWidth(1);
  framed->layer().setBorderColor(UIColor::redColor());
  framed->addSubview(box(CGRectMake(0, 0, 6, 6), UIColor::blueColor()));
  root->addSubview(framed);
  auto out = renderer_.renderView(*root, 1);
  EXPECT_EQ(out->pixelAt(0, 3), kRed);
  EXPECT_EQ(out->pixelAt(5, 3), kRed);
  EXPECT_EQ(out->pixelAt(3, 3), kBlue);
}

TEST_F(ViewRendererTest, SpinnerDrawsOnlyWhileAnimating) {
  auto root = box(CGRectMake(0, 0, 20, 20), std::nullopt);
  auto spinner = std::make_shared<UIActivityIndicatorView>(UIActivityIndicatorViewStyle::White);
  spinner->setFrame(CGRectMake(0, 0, 20, 20));
  root->addSubview(spinner);
  spinner->startAnimating();
  auto spinning = renderer_.renderView(*root, 2);
  int ink = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) ink += alphaOf(spinning->pixelAt(x, y)) > 0;
  EXPECT_GT(ink, 40);
  EXPECT_EQ(spinning->pixelAt(20, 20), kClear);  // the hub between the spokes is empty
  spinner->stopAnimating();
  auto stopped = renderer_.renderView(*root, 2);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(stopped->pixelAt(x, y), kClear);
}

// --- Filters, windows, files ---

TEST_F(ViewRendererTest, ColorInvertFilterInvertsTheColours) {
  auto root = box(CGRectMake(0, 0, 2, 1), std::nullopt);
  auto view = box(CGRectMake(0, 0, 1, 1), UIColor::redColor());
  view->layer().setFilters({CAFilter{"colorInvert"}});
  root->addSubview(view);
  auto out = renderer_.renderView(*root, 1);
  EXPECT_EQ(out->pixelAt(0, 0), 0xFF00FFFFu);
  EXPECT_EQ(out->pixelAt(1, 0), kClear);
}

TEST_F(ViewRendererTest, WindowsAreDrawnBackToFrontAndHiddenOnesSkipped) {
  auto back = std::make_shared<UIWindow>(CGRectMake(0, 0, 4, 4));
  back->setBackgroundColor(UIColor::redColor());
  back->setHidden(false);
  auto front = std::make_shared<UIWindow>(CGRectMake(2, 0, 2, 4));
  front->setBackgroundColor(UIColor::blueColor());
  front->setHidden(false);
  auto out = renderer_.renderWindows({back.get(), front.get()}, {4, 4}, 1);
  EXPECT_EQ(out->pixelAt(0, 0), kRed);
  EXPECT_EQ(out->pixelAt(3, 0), kBlue);
  front->setHidden(true);
  out = renderer_.renderWindows({back.get(), front.get()}, {4, 4}, 1);
  EXPECT_EQ(out->pixelAt(3, 0), kRed);
}

TEST_F(ViewRendererTest, PngRoundTripsAndABadPathIsReported) {
  auto view = box(CGRectMake(0, 0, 2, 2), UIColor(0, 0, 1, 0.5));
  auto image = renderer_.renderView(*view, 1);
  const auto path = std::filesystem::temp_directory_path() / "tessra-render-test.png";
  std::string error;
  ASSERT_TRUE(ViewRenderer::writePng(*image, path.string(), &error)) << error;
  auto loaded = UIImage::imageWithContentsOfFile(path.string());
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->pixelAt(1, 1), image->pixelAt(1, 1));
  std::filesystem::remove(path);

  EXPECT_FALSE(ViewRenderer::writePng(*image, "/nonexistent-folder/x.png", &error));
  EXPECT_NE(error.find("/nonexistent-folder/x.png"), std::string::npos);
}

}  // namespace
}  // namespace platform
