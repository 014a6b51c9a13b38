// Translucent views are drawn through groups bounded by what they hold: the
// pixels must be exactly those of groups the size of the whole frame.
#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/ui/CAShapeLayer.h"
#include "platform/ui/UIBezierPath.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIView.h"
#include "platform/ui/render/ImageRasterCache.h"
#include "platform/ui/render/ViewRenderer.h"
#include "tests/platform/ui/render/RenderTestApi.h"

namespace platform {
namespace {

// A round template icon of `side` pixels, with soft edges.
std::shared_ptr<UIImage> roundIcon(int side) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, side, side);
  cairo_t* cr = cairo_create(surface);
  cairo_arc(cr, side / 2.0, side / 2.0, side / 2.0 - 1, 0, 6.3);
  cairo_set_source_rgba(cr, 1, 1, 1, 1);
  cairo_fill(cr);
  cairo_destroy(cr);
  auto image = UIImage::imageWithSurface(surface, 3)->imageWithRenderingMode(UIImageRenderingMode::AlwaysTemplate);
  cairo_surface_destroy(surface);
  return image;
}

// A view backed by a shape layer.
class ShapeView : public UIView {
 public:
  explicit ShapeView(const CGRect& frame) : UIView(frame, std::make_shared<CAShapeLayer>()) {}
  CAShapeLayer& shape() { return static_cast<CAShapeLayer&>(layer()); }
};

std::shared_ptr<UILabel> badge(const std::string& text, CGRect frame, bool clips) {
  auto label = std::make_shared<UILabel>(frame);
  label->setText(text);
  label->setFont(UIFont::systemFontOfSize(9));
  label->setAdjustsFontSizeToFitWidth(true);
  label->setMinimumScaleFactor(0.5);
  label->setTextAlignment(NSTextAlignment::Center);
  label->setTextColor(UIColor(0.1, 0.3, 0.8, 1));
  label->layer().setCornerRadius(5);
  label->setClipsToBounds(clips);
  return label;
}

class GroupBoundsTest : public ::testing::Test {
 protected:
  // Renders `view` with bounded groups and with frame-sized ones; every byte must match.
  // Renders `view` with bounded groups and kept image rasters (twice: made, then reused), and
  // with frame-sized groups drawing every image; every byte must match.
  void expectSamePixels(UIView& view, double scale) {
    ViewRenderer bounded, again, full;
    ViewRendererTestApi::setBoundGroups(full, false);
    auto a = bounded.renderView(view, scale);
    const int reusedBefore = ImageRasterCacheTestApi::reused();
    auto kept = again.renderView(view, scale);
    reused_ += ImageRasterCacheTestApi::reused() - reusedBefore;
    ImageRasterCacheTestApi::setEnabled(false);
    auto b = full.renderView(view, scale);
    ImageRasterCacheTestApi::setEnabled(true);
    for (int y = 0; y < a->pixelHeight(); ++y) {
      for (int x = 0; x < a->pixelWidth(); ++x) ASSERT_EQ(kept->pixelAt(x, y), a->pixelAt(x, y));
    }
    ASSERT_EQ(a->pixelWidth(), b->pixelWidth());
    ASSERT_EQ(a->pixelHeight(), b->pixelHeight());
    int differing = 0, drawn = 0;
    for (int y = 0; y < a->pixelHeight(); ++y) {
      for (int x = 0; x < a->pixelWidth(); ++x) {
        if (a->pixelAt(x, y) != b->pixelAt(x, y)) ++differing;
        if (a->pixelAt(x, y) != 0) ++drawn;
      }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(drawn, 0);
  }

  ManualTaskEnvironment env_;
  int reused_ = 0;
};

TEST_F(GroupBoundsTest, TranslucentIconsWithBadgesInARowDrawAsWithFullGroups) {
  // The summary strip's shape: translucent template icons at fractional places, each with a
  // clipped badge that hangs below it, in a row much wider than one icon.
  auto row = std::make_shared<UIView>(CGRectMake(0, 0, 275, 16));
  auto icon = roundIcon(90);
  const char* texts[] = {"40%", "100%", "On", "Off", "On"};
  double x = 0.37;
  for (const char* text : texts) {
    auto view = std::make_shared<UIImageView>(CGRectMake(x, 0.5, 15.6, 15.6));
    view->setImage(icon);
    view->setContentMode(UIViewContentMode::ScaleAspectFit);
    view->setTintColor(UIColor(0.1, 0.3, 0.8, 1));
    view->setAlpha(0.65);
    view->addSubview(badge(text, CGRectMake(0, 14.6, 15.6, 8), true));
    row->addSubview(view);
    x += 19.13;
  }
  for (double scale : {1.0, 2.0, 3.0}) expectSamePixels(*row, scale);
  EXPECT_GE(reused_, 3 * 5);  // each icon's drawing was laid on again at each scale
}

TEST_F(GroupBoundsTest, TransformedRoundedBorderedAndNestedGroupsDrawAsWithFullGroups) {
  auto root = std::make_shared<UIView>(CGRectMake(0, 0, 60, 40));
  auto outer = std::make_shared<UIView>(CGRectMake(5.3, 4.7, 30.2, 20.9));
  outer->setBackgroundColor(UIColor(1, 0, 0, 0.8));
  outer->layer().setCornerRadius(6.5);
  outer->layer().setBorderWidth(1.5);
  outer->layer().setBorderColor(UIColor(0, 0, 0, 1));
  outer->setAlpha(0.5);
  outer->setTransform(CGAffineTransformMakeRotation(0.3));
  auto inner = std::make_shared<UIView>(CGRectMake(20.4, 10.1, 18.2, 14.9));  // reaches past outer's bounds
  inner->setBackgroundColor(UIColor(0, 0.6, 0.2, 1));
  inner->setAlpha(0.7);
  inner->setTransform(CGAffineTransformMakeScale(1.3, 0.8));
  outer->addSubview(inner);
  // Images: turned with the group, and inside a rounded clip (not on whole pixels).
  auto turned = std::make_shared<UIImageView>(CGRectMake(2.2, 3.1, 9.7, 9.7));
  turned->setImage(roundIcon(30));
  turned->setTintColor(UIColor(0.2, 0.2, 0.2, 1));
  outer->addSubview(turned);
  auto rounded = std::make_shared<UIView>(CGRectMake(40.3, 20.6, 15.2, 15.2));
  rounded->layer().setCornerRadius(4);
  rounded->setClipsToBounds(true);
  rounded->setAlpha(0.8);
  auto clipped = std::make_shared<UIImageView>(CGRectMake(-2.5, 1.5, 16, 16));
  clipped->setImage(roundIcon(48));
  clipped->setTintColor(UIColor(0.6, 0.1, 0.5, 1));
  rounded->addSubview(clipped);
  root->addSubview(outer);
  root->addSubview(rounded);
  for (double scale : {1.0, 3.0}) expectSamePixels(*root, scale);
}

TEST_F(GroupBoundsTest, SmallTranslucentButtonsInAFadingPanelDrawAsWithFullGroups) {
  // An opening panel: a fading full-size view holding translucent round buttons with icons at
  // fractional places far from its corner, some inside a rounded clipped card that starts inset.
  auto root = std::make_shared<UIView>(CGRectMake(0, 0, 120, 90));
  auto panel = std::make_shared<UIView>(CGRectMake(0, 0, 120, 90));
  panel->setBackgroundColor(UIColor(0.9, 0.9, 0.95, 0.6));
  panel->setAlpha(0.7);
  auto card = std::make_shared<UIView>(CGRectMake(30.6, 20.3, 80.2, 60.9));
  card->layer().setCornerRadius(8);
  card->setClipsToBounds(true);
  panel->addSubview(card);
  auto icon = roundIcon(60);
  double x = 3.3;
  for (int i = 0; i < 6; ++i) {
    auto button = std::make_shared<UIView>(CGRectMake(x, 7.4 + 9.1 * i, 22.6, 22.6));
    button->setBackgroundColor(UIColor(0.2, 0.5, 1, 1));
    button->layer().setCornerRadius(11.3);
    button->setAlpha(0.35 + 0.1 * i);
    auto image = std::make_shared<UIImageView>(CGRectMake(4.1, 3.9, 14.4, 14.4));
    image->setImage(icon);
    image->setTintColor(UIColor::whiteColor());
    button->addSubview(image);
    (i % 2 ? card : panel)->addSubview(button);
    x += 13.7;
  }
  root->addSubview(panel);
  for (double scale : {1.0, 2.0, 3.0}) expectSamePixels(*root, scale);
}

TEST_F(GroupBoundsTest, ContentThatMayOverflowItsBoundsDrawsAsWithFullGroups) {
  auto root = std::make_shared<UIView>(CGRectMake(0, 0, 80, 40));
  // An unclipped label taller than its bounds, an aspect-filled image and a shape path beyond
  // the bounds, and a subview with a shadow, each in a translucent view.
  auto text = std::make_shared<UIView>(CGRectMake(2, 2, 30, 10));
  text->setAlpha(0.6);
  auto label = badge("Overflowing text", CGRectMake(0, 2, 30, 4), false);
  label->setFont(UIFont::systemFontOfSize(14));
  label->setAdjustsFontSizeToFitWidth(false);
  text->addSubview(label);
  root->addSubview(text);

  auto filled = std::make_shared<UIImageView>(CGRectMake(40.5, 5.5, 10, 20));
  filled->setImage(roundIcon(30));
  filled->setContentMode(UIViewContentMode::ScaleAspectFill);
  filled->setTintColor(UIColor(0.9, 0.2, 0.1, 1));
  filled->setAlpha(0.5);
  root->addSubview(filled);

  auto shapeHolder = std::make_shared<UIView>(CGRectMake(55, 20, 10, 10));
  shapeHolder->setAlpha(0.4);
  auto shapeView = std::make_shared<ShapeView>(CGRectMake(0, 0, 10, 10));
  CAShapeLayer& shape = shapeView->shape();
  UIBezierPath path;
  path.moveToPoint({-5, -5});
  path.addLineToPoint({20, 3});
  path.addLineToPoint({4, 18});
  path.closePath();
  shape.setPath(path);
  shape.setFillColor(UIColor(0.2, 0.2, 0.9, 1));
  shapeHolder->addSubview(shapeView);
  root->addSubview(shapeHolder);

  auto shadowHolder = std::make_shared<UIView>(CGRectMake(10, 22, 12, 10));
  shadowHolder->setAlpha(0.7);
  auto shadowed = std::make_shared<UIView>(CGRectMake(2, 2, 8, 6));
  shadowed->setBackgroundColor(UIColor::whiteColor());
  shadowed->layer().setShadowOpacity(0.8);
  shadowed->layer().setShadowRadius(3);
  shadowed->layer().setShadowOffset({0, 2});
  shadowed->layer().setShadowColor(UIColor::blackColor());
  shadowHolder->addSubview(shadowed);
  root->addSubview(shadowHolder);

  for (double scale : {1.0, 2.0}) expectSamePixels(*root, scale);
}

TEST_F(GroupBoundsTest, IconsSlidingByWholePixelsReuseTheirDrawingAndAClipThatCutsThemDoesNot) {
  // A page of icons at fractional places slides a point at a time under a clipping frame, as
  // the home screen's pages do: an icon the clip leaves whole is laid on again from its kept
  // drawing; one the clip cuts is drawn anew. Every frame matches drawing every image directly,
  // to within one step of a colour channel (the resampling's fixed-point rounding depends on
  // where on the target a drawing is made).
  auto frame = std::make_shared<UIView>(CGRectMake(0, 0, 80, 30));
  frame->setClipsToBounds(true);
  auto page = std::make_shared<UIView>(CGRectMake(0, 0, 120, 30));
  frame->addSubview(page);
  auto icon = roundIcon(60);
  for (double x : {3.37, 31.62, 68.125}) {  // the last one hangs over the frame's edge
    auto view = std::make_shared<UIImageView>(CGRectMake(x, 5.25, 19.3, 19.3));
    view->setImage(icon);
    view->setTintColor(UIColor(0.8, 0.2, 0.1, 1));
    page->addSubview(view);
  }
  ViewRenderer kept;
  kept.renderView(*frame, 2);
  const int reusedBefore = ImageRasterCacheTestApi::reused();
  for (int step = 1; step <= 3; ++step) {  // the first icon stays whole for three steps
    page->setFrame(CGRectMake(-step, 0, 120, 30));
    auto a = kept.renderView(*frame, 2);
    ImageRasterCacheTestApi::setEnabled(false);
    ViewRenderer direct;
    auto b = direct.renderView(*frame, 2);
    ImageRasterCacheTestApi::setEnabled(true);
    int largest = 0, drawn = 0;
    for (int y = 0; y < a->pixelHeight(); ++y) {
      for (int x = 0; x < a->pixelWidth(); ++x) {
        const uint32_t p = a->pixelAt(x, y), q = b->pixelAt(x, y);
        for (int shift = 0; shift < 32; shift += 8)
          largest = std::max(largest, std::abs(int((p >> shift) & 0xff) - int((q >> shift) & 0xff)));
        drawn += p != 0;
      }
    }
    EXPECT_LE(largest, 1) << "step " << step;
    EXPECT_GT(drawn, 0);
  }
  // The two whole icons were laid on again at every step; the cut one never was.
  EXPECT_EQ(ImageRasterCacheTestApi::reused() - reusedBefore, 2 * 3);
}

}  // namespace
}  // namespace platform
