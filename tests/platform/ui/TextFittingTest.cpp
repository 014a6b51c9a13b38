// Shrinking text to fit from a proportional estimate, and the measurement
// cache: both must give exactly what measuring every candidate gives.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/ui/TextLayout.h"
#include "platform/ui/UILabel.h"

namespace platform {

class TextLayoutTestApi {
 public:
  static double searchFittingScale(const std::string& text, const TextLayout::Style& style, CGSize box,
                                   double minimumScale) {
    return TextLayout::searchFittingScale(text, style, box, minimumScale);
  }
  static size_t cachedMeasurements() { return TextLayout::cachedMeasurements(); }
  static void forgetMeasurements() { TextLayout::forgetMeasurements(); }
};

namespace {

using Api = TextLayoutTestApi;

TextLayout::Style style(UIFont font, int lines = 1, NSTextAlignment alignment = NSTextAlignment::Left,
                        NSLineBreakMode mode = NSLineBreakMode::ByTruncatingTail) {
  return {font, alignment, lines, mode};
}

// The largest hundredth in [minimumScale, 1] that fits, by trying every one from the top.
double scanFittingScale(const std::string& text, const TextLayout::Style& s, CGSize box, double minimumScale) {
  const int lo = static_cast<int>(std::ceil(minimumScale * 100 - 1e-9));
  for (int h = 100; h >= lo; --h) {
    TextLayout::Style scaled = s;
    scaled.font = s.font.fontWithSize(s.font.pointSize() * h / 100.0);
    if (s.numberOfLines == 1) {
      if (TextLayout(text, scaled, -1).size().width <= box.width + 1e-6) return h / 100.0;
      continue;
    }
    TextLayout wrapped(text, scaled, box.width);
    if (!wrapped.isTruncated() && (box.height <= 0 || wrapped.size().height <= box.height + 1e-6)) return h / 100.0;
  }
  return minimumScale;
}

const std::vector<std::string> kTexts = {
    "On",
    "Off",
    "40%",
    "100%",
    "Maps",
    "Set Volume to 40% when opening Maps",
    "\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7 \xD8\xA8\xD8\xA7\xD9\x84\xD8\xB9\xD8\xA7\xD9\x84\xD9\x85",  // Arabic,
                                                                                                          // right to
                                                                                                          // left
    "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D Maps 40%",  // Hebrew and Latin
};

class TextFittingTest : public ::testing::Test {
 protected:
  void SetUp() override { Api::forgetMeasurements(); }
  void TearDown() override { Api::forgetMeasurements(); }
  ManualTaskEnvironment env;
};

// --- One line: the estimate lands on the hundredth the search finds ---

TEST_F(TextFittingTest, OneLineEstimateGivesTheSearchedScaleForEveryTextBoxAndMinimum) {
  const std::vector<UIFont> fonts = {UIFont::systemFontOfSize(9), UIFont::systemFontOfSize(40, UIFontWeight::Medium)};
  const std::vector<double> widths = {-5, 8.3, 13.7, 33, 100};
  int shrunk = 0;
  for (const auto& text : kTexts) {
    for (const auto& font : fonts) {
      for (double width : widths) {
        for (double minimum : {0.0, 0.5, 0.555, 1.0}) {
          const TextLayout::Style s = style(font);
          const double fast = TextLayout::fittingScale(text, s, {width, 0}, minimum);
          SCOPED_TRACE(text + " " + std::to_string(font.pointSize()) + " in " + std::to_string(width) + " min " +
                       std::to_string(minimum));
          EXPECT_EQ(fast, Api::searchFittingScale(text, s, {width, 0}, minimum));
          if (minimum == 0.5) {
            EXPECT_EQ(fast, scanFittingScale(text, s, {width, 0}, minimum));
          }
          if (fast < 1 && fast > minimum) ++shrunk;
        }
      }
    }
  }
  EXPECT_GT(shrunk, 30);  // the cases exercise the estimate, not only the ends
}

TEST_F(TextFittingTest, OneLineScaleIsTheLargestHundredthWhoseWidthFits) {
  // Badges of the summary strip: 9 pt text in a box four fifths of its natural width.
  const TextLayout::Style badge = style(UIFont::systemFontOfSize(9), 1, NSTextAlignment::Center);
  for (const char* text : {"100%", "Off", "70%"}) {
    const double box = 0.8 * TextLayout(text, badge, -1).size().width;
    const double scale = TextLayout::fittingScale(text, badge, {box, 0}, 0.5);
    ASSERT_LT(scale, 1) << text;
    ASSERT_GT(scale, 0.5) << text;
    auto width = [&](double k) { return TextLayout(text, style(UIFont::systemFontOfSize(9 * k)), -1).size().width; };
    EXPECT_LE(width(scale), box) << text;
    EXPECT_GT(width(scale + 0.01), box) << text;
  }
  // Exact values for the system font.
  EXPECT_EQ(TextLayout::fittingScale("Maps", style(UIFont::systemFontOfSize(40, UIFontWeight::Medium)), {100, 0}, 0.5),
            Api::searchFittingScale("Maps", style(UIFont::systemFontOfSize(40, UIFontWeight::Medium)), {100, 0}, 0.5));
  EXPECT_EQ(TextLayout::fittingScale("On", style(UIFont::systemFontOfSize(9)), {1000, 0}, 0.5), 1);
  EXPECT_EQ(TextLayout::fittingScale("Far too long for the box", style(UIFont::systemFontOfSize(9)), {10, 0}, 0.5),
            0.5);
  EXPECT_EQ(TextLayout::fittingScale("Far too long", style(UIFont::systemFontOfSize(9)), {10, 0}, 0.555), 0.555);
  EXPECT_EQ(TextLayout::fittingScale("Far too long", style(UIFont::systemFontOfSize(9)), {NAN, 0}, NAN), 0);
}

TEST_F(TextFittingTest, OneLineFitMeasuresAFewSizesNotEveryStepOfASearch) {
  const double scale = TextLayout::fittingScale("Set Volume to 40% when opening Maps",
                                                style(UIFont::systemFontOfSize(17)), {200, 0}, 0.1);
  EXPECT_LT(scale, 1);
  EXPECT_LE(Api::cachedMeasurements(), 4u);  // natural width, the estimate and its neighbours
}

// --- Several lines: the search, now over cached measurements ---

TEST_F(TextFittingTest, MultiLineScaleMatchesTryingEveryHundredth) {
  const std::string text = "Behaviors when Some Application With A Long Name is opening or running";
  for (int lines : {0, 2, 3}) {
    for (CGSize box : {CGSize{160, 60}, CGSize{100, 0}, CGSize{220, 40}, CGSize{80, 200}}) {
      const TextLayout::Style s = style(UIFont::systemFontOfSize(15, UIFontWeight::Light), lines);
      SCOPED_TRACE(std::to_string(lines) + " lines in " + std::to_string(box.width) + "x" + std::to_string(box.height));
      Api::forgetMeasurements();
      const double cold = TextLayout::fittingScale(text, s, box, 0.3);
      EXPECT_EQ(cold, scanFittingScale(text, s, box, 0.3));
      EXPECT_EQ(TextLayout::fittingScale(text, s, box, 0.3), cold);  // again, from the cache
    }
  }
}

// --- The measurement cache and the reused measuring layout ---

TEST_F(TextFittingTest, MeasurementsAreTheSameFreshFromCacheAndAfterOtherStyles) {
  // Styles that set different layout properties, measured in turns: each must come out as
  // if measured first (the measuring layout keeps no property from the one before).
  const std::string text = "A banner title that is much too long to fit in the toast on two lines of text";
  struct Case {
    TextLayout::Style style;
    double width;
  };
  const std::vector<Case> cases = {
      {style(UIFont::boldSystemFontOfSize(17), 2), 150},
      {style(UIFont::boldSystemFontOfSize(17), 1), -1},
      {style(UIFont::boldSystemFontOfSize(17), 0, NSTextAlignment::Justified), 150},
      {style(UIFont::boldSystemFontOfSize(17), 1, NSTextAlignment::Right, NSLineBreakMode::ByClipping), 150},
      {style(UIFont::systemFontOfSize(12), 3, NSTextAlignment::Center, NSLineBreakMode::ByCharWrapping), 90},
      {style(UIFont::systemFontOfSize(12), 2, NSTextAlignment::Left, NSLineBreakMode::ByTruncatingHead), 90},
      {style(UIFont::systemFontOfSize(12), 1, NSTextAlignment::Left, NSLineBreakMode::ByTruncatingMiddle), 90},
  };
  std::vector<TextLayout> fresh;
  for (const auto& c : cases) {
    Api::forgetMeasurements();
    fresh.emplace_back(text, c.style, c.width);
  }
  Api::forgetMeasurements();
  for (int round = 0; round < 2; ++round) {  // measured in turns, then all from the cache
    for (size_t i = 0; i < cases.size(); ++i) {
      TextLayout again(text, cases[i].style, cases[i].width);
      SCOPED_TRACE(i);
      EXPECT_EQ(again.size(), fresh[i].size());
      EXPECT_EQ(again.lineCount(), fresh[i].lineCount());
      EXPECT_EQ(again.isTruncated(), fresh[i].isTruncated());
    }
    EXPECT_EQ(Api::cachedMeasurements(), cases.size());
  }
  EXPECT_TRUE(fresh[0].isTruncated());
  EXPECT_EQ(fresh[0].lineCount(), 2);
}

TEST_F(TextFittingTest, CacheIsBoundedAndKeepsTheRecentlyUsed) {
  const TextLayout::Style s = style(UIFont::systemFontOfSize(11));
  const CGSize first = TextLayout("text 0", s, -1).size();
  for (int i = 1; i < 400; ++i) {
    TextLayout("text " + std::to_string(i), s, -1);
    TextLayout("text 0", s, -1);  // kept in use
  }
  EXPECT_EQ(Api::cachedMeasurements(), 256u);
  const size_t before = Api::cachedMeasurements();
  EXPECT_EQ(TextLayout("text 0", s, -1).size(), first);
  EXPECT_EQ(Api::cachedMeasurements(), before);
  // A long text is measured but not kept.
  Api::forgetMeasurements();
  const std::string longText(2000, 'x');
  EXPECT_GT(TextLayout(longText, s, -1).size().width, 1000);
  EXPECT_EQ(Api::cachedMeasurements(), 0u);
  // Empty text measures nothing.
  EXPECT_EQ(TextLayout("", s, 50).size(), CGSizeZero);
  EXPECT_EQ(TextLayout("", s, 50).lineCount(), 0);
}

TEST_F(TextFittingTest, ShrunkLabelDrawsTheSameLayoutAsOneMeasuredWithoutCache) {
  const double width = 0.7 * TextLayout("100%", style(UIFont::systemFontOfSize(9)), -1).size().width;
  auto label = std::make_shared<UILabel>(CGRectMake(0, 0, width, 8));
  label->setFont(UIFont::systemFontOfSize(9));
  label->setAdjustsFontSizeToFitWidth(true);
  label->setMinimumScaleFactor(0.5);
  label->setTextAlignment(NSTextAlignment::Center);
  label->setText("100%");
  const UIFont fitted = label->fittedFont();
  EXPECT_EQ(fitted.pointSize(),
            9 * Api::searchFittingScale("100%", style(UIFont::systemFontOfSize(9), 1, NSTextAlignment::Center),
                                        {width, 0}, 0.5));
  const TextLayout drawn = label->textLayout();
  Api::forgetMeasurements();
  const TextLayout fresh("100%", style(fitted, 1, NSTextAlignment::Center), width);
  EXPECT_EQ(drawn.size(), fresh.size());
  EXPECT_FALSE(drawn.isTruncated());
}

}  // namespace
}  // namespace platform
