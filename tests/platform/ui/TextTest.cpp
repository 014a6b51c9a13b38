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

TEST_F(TextTest, AttributedFontsShapeTheTextWhereTheyApply) {
  const UIFont base = UIFont::systemFontOfSize(14);
  TextLayout plain("Wi-Fi on", style(base), -1);
  TextLayout::Style bigStart = style(base);
  bigStart.runs.push_back({0, 5, UIFont::systemFontOfSize(28), std::nullopt});
  TextLayout mixed("Wi-Fi on", bigStart, -1);
  TextLayout allBig("Wi-Fi on", style(UIFont::systemFontOfSize(28)), -1);
  EXPECT_GT(mixed.size().width, plain.size().width + 10);
  EXPECT_LT(mixed.size().width, allBig.size().width - 5);
  EXPECT_NEAR(mixed.size().height, allBig.size().height, 0.5);
  // A colour does not change the size; a range past the end is cut to the text.
  TextLayout::Style coloured = style(base);
  coloured.runs.push_back({3, 100, std::nullopt, UIColor::redColor()});
  EXPECT_EQ(TextLayout("Wi-Fi on", coloured, -1).size(), plain.size());
  NSAttributedString cut("Wi-Fi");
  cut.addFont(base, 3, 100);
  cut.addFont(base, 9, 1);
  ASSERT_EQ(cut.runs().size(), 1u);
  EXPECT_EQ(cut.runs()[0].length, 2u);
}

TEST_F(TextTest, LabelTakesAnAttributedTextAndItsFontAndColourReplaceTheRuns) {
  auto label = std::make_shared<UILabel>();
  label->setFont(UIFont::systemFontOfSize(14));
  NSAttributedString text("Wi-Fi on");
  text.addFont(UIFont::systemFontOfSize(28), 0, 5);
  text.addForegroundColor(UIColor::redColor(), 6, 2);
  label->setAttributedText(text);
  EXPECT_EQ(label->text(), "Wi-Fi on");
  EXPECT_EQ(label->attributedText(), text);
  const double wide = label->intrinsicContentSize().width;
  label->setTextColor(UIColor::blueColor());  // over the whole text: the red run goes
  NSAttributedString fontOnly("Wi-Fi on");
  fontOnly.addFont(UIFont::systemFontOfSize(28), 0, 5);
  EXPECT_EQ(label->attributedText(), fontOnly);
  EXPECT_EQ(label->intrinsicContentSize().width, wide);
  label->setFont(UIFont::systemFontOfSize(14));  // over the whole text: the big run goes
  EXPECT_TRUE(label->attributeRuns().empty());
  EXPECT_LT(label->intrinsicContentSize().width, wide - 10);
  label->setAttributedText(text);
  label->setText("Wi-Fi on");  // a plain text has no runs
  EXPECT_TRUE(label->attributeRuns().empty());
}

TEST_F(TextTest, AShrunkAttributedTextShrinksItsRunsAlike) {
  auto label = std::make_shared<UILabel>(CGRectMake(0, 0, 60, 30));
  label->setFont(UIFont::systemFontOfSize(14));
  label->setAdjustsFontSizeToFitWidth(true);
  label->setMinimumScaleFactor(0.1);
  NSAttributedString text("Wi-Fi on");
  text.addFont(UIFont::systemFontOfSize(28), 0, 5);
  label->setAttributedText(text);
  const TextLayout drawn = label->textLayout();
  EXPECT_LT(label->fittedFont().pointSize(), 14);
  EXPECT_LE(drawn.size().width, 60 + 1e-6);
  EXPECT_GT(drawn.size().width, 50);
  ASSERT_EQ(drawn.style().runs.size(), 1u);
  EXPECT_DOUBLE_EQ(drawn.style().runs[0].font->pointSize(), 28 * label->fittedFont().pointSize() / 14);
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
