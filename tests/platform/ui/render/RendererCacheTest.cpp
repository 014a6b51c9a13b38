#include <cairo.h>
#include <gtest/gtest.h>

#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/ui/CAGradientLayer.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIView.h"
#include "platform/ui/UIVisualEffectView.h"
#include "platform/ui/render/ViewRenderer.h"
#include "tests/platform/ui/render/RenderTestApi.h"

namespace platform {
namespace {

uint32_t alphaOf(uint32_t p) { return p >> 24; }
uint32_t redOf(uint32_t p) { return (p >> 16) & 0xFF; }
uint32_t blueOf(uint32_t p) { return p & 0xFF; }

std::shared_ptr<UIView> box(CGRect frame, std::optional<UIColor> color, double radius = 0) {
  auto view = std::make_shared<UIView>(frame);
  view->setBackgroundColor(color);
  view->layer().setCornerRadius(radius);
  return view;
}

// Count of pixels with any ink.
int inked(const UIImage& image) {
  int n = 0;
  for (int y = 0; y < image.pixelHeight(); ++y)
    for (int x = 0; x < image.pixelWidth(); ++x) n += alphaOf(image.pixelAt(x, y)) > 0;
  return n;
}

// What the renderer keeps between frames must never show stale content.
class RendererCacheTest : public ::testing::Test {
 protected:
  ManualTaskEnvironment env_;
  ViewRenderer renderer_;
};

TEST_F(RendererCacheTest, RoundedBackgroundIsKeptAndRedrawnWhenItChanges) {
  auto root = box(CGRectMake(0, 0, 20, 20), std::nullopt);
  auto card = box(CGRectMake(2, 2, 16, 16), UIColor::redColor(), 4);
  root->addSubview(card);
  renderer_.renderView(*root, 2);
  auto second = renderer_.renderView(*root, 2);
  EXPECT_EQ(renderer_.stats().rastersDrawn, 1);
  EXPECT_EQ(renderer_.stats().rastersReused, 1);
  EXPECT_EQ(second->pixelAt(20, 20), 0xFFFF0000u);

  card->setBackgroundColor(UIColor::blueColor());
  auto recoloured = renderer_.renderView(*root, 2);
  EXPECT_EQ(recoloured->pixelAt(20, 20), 0xFF0000FFu);
  EXPECT_EQ(renderer_.stats().rastersDrawn, 2);

  // A whole-pixel move reuses the image at the new place; a corner radius change does not.
  card->setFrame(CGRectMake(4, 2, 16, 16));
  auto moved = renderer_.renderView(*root, 2);
  EXPECT_EQ(renderer_.stats().rastersReused, 2);
  EXPECT_EQ(moved->pixelAt(5, 20), 0u);
  EXPECT_EQ(moved->pixelAt(38, 20), 0xFF0000FFu);
  card->layer().setCornerRadius(8);
  auto rounder = renderer_.renderView(*root, 2);
  EXPECT_EQ(renderer_.stats().rastersDrawn, 3);
  EXPECT_EQ(alphaOf(rounder->pixelAt(9, 5)), 0u);  // inside the old corner, outside the new one
}

TEST_F(RendererCacheTest, SubPixelMoveRedrawsTheEdges) {
  auto root = box(CGRectMake(0, 0, 10, 4), std::nullopt);
  auto card = box(CGRectMake(2, 0, 4, 4), UIColor::whiteColor(), 1);
  root->addSubview(card);
  renderer_.renderView(*root, 1);
  card->setFrame(CGRectMake(2.5, 0, 4, 4));
  auto image = renderer_.renderView(*root, 1);
  EXPECT_EQ(renderer_.stats().rastersDrawn, 2);
  EXPECT_EQ(alphaOf(image->pixelAt(2, 2)), 128u);  // half covered
  EXPECT_EQ(alphaOf(image->pixelAt(6, 2)), 128u);
}

TEST_F(RendererCacheTest, RotatedViewsAreDrawnDirectly) {
  auto root = box(CGRectMake(0, 0, 20, 20), std::nullopt);
  auto bar = box(CGRectMake(0, 8, 20, 4), UIColor::redColor(), 1);
  bar->setTransform(CGAffineTransformMakeRotation(M_PI / 2));
  root->addSubview(bar);
  auto image = renderer_.renderView(*root, 1);
  EXPECT_EQ(renderer_.stats().rastersDrawn, 0);
  EXPECT_EQ(image->pixelAt(10, 3), 0xFFFF0000u);  // the bar now stands upright
  EXPECT_EQ(image->pixelAt(3, 10), 0u);
}

TEST_F(RendererCacheTest, BeneathACoveringBlurDrawingsSlidingByFractionsAreLaidOnAgain) {
  auto root = box(CGRectMake(0, 0, 100, 60), UIColor::blackColor());
  // A clipping container at a fraction of a point, holding a rounded card and a template image.
  auto container = box(CGRectMake(10.3, 5.1, 60, 40), std::nullopt);
  container->setClipsToBounds(true);
  container->addSubview(box(CGRectMake(2, 2, 20, 20), UIColor::redColor(), 4));
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 60, 60);
  cairo_t* cr = cairo_create(surface);
  cairo_arc(cr, 30, 30, 29, 0, 6.3);
  cairo_fill(cr);
  cairo_destroy(cr);
  auto icon = std::make_shared<UIImageView>(CGRectMake(30, 2, 20, 20));
  icon->setImage(UIImage::imageWithSurface(surface, 3)->imageWithRenderingMode(UIImageRenderingMode::AlwaysTemplate));
  cairo_surface_destroy(surface);
  container->addSubview(icon);
  root->addSubview(container);
  auto blur = std::make_shared<UIVisualEffectView>(UIBlurEffect::effectWithStyle(UIBlurEffectStyle::Dark));
  blur->setFrame(root->bounds());
  root->addSubview(blur);

  renderer_.renderView(*root, 2);  // drawn whole; the blur is found to cover the frame
  renderer_.renderView(*root, 2);  // beneath drawn small: its rasters are made
  const int drawn = renderer_.stats().rastersDrawn;
  const int reused = ImageRasterCacheTestApi::reused();
  for (int step = 1; step <= 4; ++step) {
    container->setFrame(CGRectMake(10.3 + 0.3 * step, 5.1, 60, 40));
    renderer_.renderView(*root, 2);
  }
  EXPECT_EQ(renderer_.stats().backdropsDrawnSmall, 5);
  EXPECT_EQ(renderer_.stats().rastersDrawn, drawn);
  EXPECT_EQ(ImageRasterCacheTestApi::reused() - reused, 4);

  // Drawn whole again, the same slide redraws the card at each fraction.
  blur->removeFromSuperview();
  renderer_.renderView(*root, 2);
  const int wholeDrawn = renderer_.stats().rastersDrawn;
  container->setFrame(CGRectMake(10.3, 5.1, 60, 40));
  renderer_.renderView(*root, 2);
  EXPECT_EQ(renderer_.stats().rastersDrawn, wholeDrawn + 1);
}

TEST_F(RendererCacheTest, GradientFollowsAChangeOfColours) {
  class GradientView : public UIView {
   public:
    GradientView() : UIView(CGRectMake(0, 0, 4, 4), std::make_shared<CAGradientLayer>()) {}
  };
  auto root = box(CGRectMake(0, 0, 4, 4), std::nullopt);
  auto view = std::make_shared<GradientView>();
  auto& gradient = static_cast<CAGradientLayer&>(view->layer());
  gradient.setColors({UIColor::redColor(), UIColor::redColor()});
  root->addSubview(view);
  EXPECT_EQ(renderer_.renderView(*root, 1)->pixelAt(1, 1), 0xFFFF0000u);
  gradient.setColors({UIColor::blueColor(), UIColor::blueColor()});
  EXPECT_EQ(renderer_.renderView(*root, 1)->pixelAt(1, 1), 0xFF0000FFu);
}

TEST_F(RendererCacheTest, LabelLayoutIsReusedUntilTheTextChanges) {
  auto root = box(CGRectMake(0, 0, 80, 20), std::nullopt);
  auto label = std::make_shared<UILabel>(CGRectMake(0, 0, 80, 20));
  label->setText("i");
  label->setTextColor(UIColor::whiteColor());
  root->addSubview(label);
  const int narrow = inked(*renderer_.renderView(*root, 1));
  renderer_.renderView(*root, 1);
  EXPECT_EQ(renderer_.stats().textsLaidOut, 1);
  EXPECT_EQ(renderer_.stats().textsReused, 1);

  label->setText("WWWW");
  const int wide = inked(*renderer_.renderView(*root, 1));
  EXPECT_GT(wide, narrow * 4);
  EXPECT_EQ(renderer_.stats().textsLaidOut, 2);

  // Colour is not part of the layout: a new colour draws at once from the kept layout.
  label->setTextColor(UIColor::redColor());
  auto red = renderer_.renderView(*root, 1);
  EXPECT_EQ(renderer_.stats().textsLaidOut, 2);
  int redInk = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 80; ++x) {
      const uint32_t p = red->pixelAt(x, y);
      if (alphaOf(p) == 0) continue;
      EXPECT_EQ(p & 0x00FFFFFFu, 0x00FF0000u);  // red ink only, whatever its coverage
      ++redInk;
    }
  EXPECT_EQ(redInk, wide);
}

TEST_F(RendererCacheTest, ShrinkingLabelIsDrawnWithTheFittedFont) {
  auto root = box(CGRectMake(0, 0, 60, 30), std::nullopt);
  auto label = std::make_shared<UILabel>(CGRectMake(0, 0, 60, 30));
  label->setText("Behaviors");
  label->setFont(UIFont::systemFontOfSize(20));
  label->setTextColor(UIColor::whiteColor());
  label->setAdjustsFontSizeToFitWidth(true);
  label->setMinimumScaleFactor(0.3);
  root->addSubview(label);
  ASSERT_LT(label->fittedFont().pointSize(), 20);
  auto image = renderer_.renderView(*root, 2);
  // The whole word fits: ink reaches close to both ends but not past them, and there is no ellipsis gap.
  int first = 120, last = -1;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 120; ++x)
      if (alphaOf(image->pixelAt(x, y)) > 0) {
        first = std::min(first, x);
        last = std::max(last, x);
      }
  EXPECT_LT(first, 12);
  EXPECT_GT(last, 108);
}

// --- Transitions and pressed buttons ---

TEST_F(RendererCacheTest, CrossDissolveFadesTheOldLookIntoTheNew) {
  ViewRenderer::installSnapshotProvider(1);
  auto root = box(CGRectMake(0, 0, 4, 4), std::nullopt);
  auto view = box(CGRectMake(0, 0, 4, 4), UIColor::redColor());
  root->addSubview(view);
  UIView::transitionWithView(view.get(), 1.0,
                             UIViewAnimationOptions::TransitionCrossDissolve | UIViewAnimationOptions::CurveLinear,
                             [&] { view->setBackgroundColor(UIColor::blueColor()); });
  env_.advance(seconds(0.5));
  auto middle = renderer_.renderView(*root, 1)->pixelAt(2, 2);
  EXPECT_NEAR(redOf(middle), 128, 2);
  EXPECT_NEAR(blueOf(middle), 128, 2);
  env_.fastForwardBy(seconds(1));
  EXPECT_EQ(renderer_.renderView(*root, 1)->pixelAt(2, 2), 0xFF0000FFu);
  UIView::setSnapshotProvider(nullptr);
}

TEST_F(RendererCacheTest, PressedButtonDimsItsImage) {
  auto root = box(CGRectMake(0, 0, 10, 10), std::nullopt);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 10, 10);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_destroy(cr);
  auto image = UIImage::imageWithSurface(surface, 1);
  cairo_surface_destroy(surface);
  auto button = UIButton::buttonWithType(UIButtonType::Custom);
  button->setFrame(CGRectMake(0, 0, 10, 10));
  button->setImage(image, UIControlState::Normal);
  root->addSubview(button);
  button->layoutIfNeeded();
  EXPECT_EQ(alphaOf(renderer_.renderView(*root, 1)->pixelAt(5, 5)), 255u);
  button->setHighlighted(true);
  EXPECT_LT(alphaOf(renderer_.renderView(*root, 1)->pixelAt(5, 5)), 128u);
}

}  // namespace
}  // namespace platform
