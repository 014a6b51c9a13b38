// Text measured with Pango: natural sizes, weights, line limits, tail
// truncation and shrinking to fit.
#include <gtest/gtest.h>

#include <memory>

#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/ui/TextLayout.h"
#include "platform/ui/UILabel.h"

namespace platform {
namespace {

class TextTest : public ::testing::Test {
 protected:
  static TextLayout::Style style(UIFont font, int lines = 1) {
    return {font, NSTextAlignment::Left, lines, NSLineBreakMode::ByTruncatingTail};
  }

  ManualTaskEnvironment env;
};

TEST_F(TextTest, SizeGrowsWithTextFontSizeAndWeight) {
  TextLayout a("Toggles", style(UIFont::systemFontOfSize(14)), -1);
  TextLayout b("Toggles and more", style(UIFont::systemFontOfSize(14)), -1);
  TextLayout big("Toggles", style(UIFont::systemFontOfSize(28)), -1);
  TextLayout light("Toggles", style(UIFont::systemFontOfSize(14, UIFontWeight::Light)), -1);
  TextLayout bold("Toggles", style(UIFont::boldSystemFontOfSize(14)), -1);
  EXPECT_GT(a.size().width, 20);
  EXPECT_GT(b.size().width, a.size().width);
  EXPECT_NEAR(big.size().width, 2 * a.size().width, 0.05 * a.size().width);  // unhinted: scales with the size
  EXPECT_LT(light.size().width, a.size().width);
  EXPECT_GT(bold.size().width, a.size().width);
  EXPECT_EQ(a.lineCount(), 1);
  EXPECT_FALSE(a.isTruncated());
  EXPECT_EQ(TextLayout("", style(UIFont::systemFontOfSize(14)), -1).size(), CGSizeZero);
}

TEST_F(TextTest, LineLimitAndTailTruncation) {
  std::string text = "A banner title that is much too long to fit in the toast on two lines of text";
  TextLayout free(text, style(UIFont::boldSystemFontOfSize(17), 0), 150);
  TextLayout two(text, style(UIFont::boldSystemFontOfSize(17), 2), 150);
  TextLayout one(text, style(UIFont::boldSystemFontOfSize(17), 1), 150);
  EXPECT_GT(free.lineCount(), 2);
  EXPECT_FALSE(free.isTruncated());
  EXPECT_EQ(two.lineCount(), 2);
  EXPECT_TRUE(two.isTruncated());
  EXPECT_LT(two.size().height, free.size().height);
  EXPECT_EQ(one.lineCount(), 1);
  EXPECT_TRUE(one.isTruncated());
  EXPECT_LE(one.size().width, 150);
}

TEST_F(TextTest, LabelMeasuresItsNaturalSize) {
  auto label = std::make_shared<UILabel>();
  EXPECT_EQ(label->intrinsicContentSize(), CGSizeZero);
  label->setFont(UIFont::systemFontOfSize(15, UIFontWeight::Light));
  label->setText("Set Volume to 40% when opening Maps");
  CGSize s = label->intrinsicContentSize();
  TextLayout exact(label->text(), style(label->font()), -1);
  EXPECT_EQ(s.width, std::ceil(exact.size().width));
  EXPECT_EQ(s.height, std::ceil(exact.size().height));
  label->sizeToFit();
  EXPECT_EQ(label->bounds().size, s);
  EXPECT_FALSE(label->isUserInteractionEnabled());
}

TEST_F(TextTest, ShrinksToFitItsWidthDownToTheMinimumScale) {
  auto label = std::make_shared<UILabel>(CGRectMake(0, 0, 100, 50));
  label->setFont(UIFont::systemFontOfSize(40, UIFontWeight::Medium));
  label->setText("Maps");
  label->setAdjustsFontSizeToFitWidth(true);
  label->setMinimumScaleFactor(0.5);
  double natural = TextLayout("Maps", style(label->font()), -1).size().width;
  ASSERT_GT(natural, 100);  // too wide at full size
  UIFont fitted = label->fittedFont();
  EXPECT_LT(fitted.pointSize(), 40);
  EXPECT_GE(fitted.pointSize(), 20);
  EXPECT_LE(TextLayout("Maps", style(fitted), -1).size().width, 100);
  // One hundredth larger would not fit.
  EXPECT_GT(TextLayout("Maps", style(fitted.fontWithSize(fitted.pointSize() + 0.4)), -1).size().width, 100);
  EXPECT_FALSE(label->textLayout().isTruncated());
  // Far too long: stops at half size and truncates the tail.
  label->setText("Maps and a great many other things besides");
  EXPECT_DOUBLE_EQ(label->fittedFont().pointSize(), 20);
  EXPECT_TRUE(label->textLayout().isTruncated());
  // Without shrinking the font stays.
  label->setAdjustsFontSizeToFitWidth(false);
  EXPECT_EQ(label->fittedFont().pointSize(), 40);
}

TEST_F(TextTest, TwoLineLabelShrinksUntilItsTextFitsTwoLines) {
  auto label = std::make_shared<UILabel>(CGRectMake(0, 0, 160, 60));
  label->setFont(UIFont::systemFontOfSize(15, UIFontWeight::Light));
  label->setNumberOfLines(2);
  label->setAdjustsFontSizeToFitWidth(true);
  label->setMinimumScaleFactor(0.7);
  label->setText("Behaviors when Some Application With A Long Name is opening or running");
  UIFont fitted = label->fittedFont();
  EXPECT_GE(fitted.pointSize(), 15 * 0.7 - 1e-9);
  TextLayout drawn = label->textLayout();
  EXPECT_LE(drawn.lineCount(), 2);
  CGRect r = label->textRect();
  EXPECT_NEAR(r.origin.y, (60 - r.size.height) / 2, 1e-9);  // vertically centred
}

TEST_F(TextTest, NaturalAlignmentFollowsTheLayoutDirection) {
  auto label = std::make_shared<UILabel>();
  EXPECT_EQ(label->effectiveTextAlignment(), NSTextAlignment::Left);
  label->setSemanticContentAttribute(UISemanticContentAttribute::ForceRightToLeft);
  EXPECT_EQ(label->effectiveTextAlignment(), NSTextAlignment::Right);
  label->setTextAlignment(NSTextAlignment::Center);
  EXPECT_EQ(label->effectiveTextAlignment(), NSTextAlignment::Center);
}

}  // namespace
}  // namespace platform
