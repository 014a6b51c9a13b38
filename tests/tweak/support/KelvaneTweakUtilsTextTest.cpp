#include <gtest/gtest.h>

#include <climits>

#include "tweak/support/KelvaneTweakUtils.h"

namespace {

class KelvaneTweakUtilsTextTest : public ::testing::Test {
 protected:
  void TearDown() override { KelvaneTweakUtilsTestApi::setRandomSource(nullptr); }
  void drawAlways(uint32_t r) {
    KelvaneTweakUtilsTestApi::setRandomSource([r] { return r; });
  }
};

TEST_F(KelvaneTweakUtilsTextTest, TrimsSpacesAndLineBreaksAtBothEnds) {
  EXPECT_EQ(KelvaneTweakUtils::trimmedString("  Maps \n"), "Maps");
  EXPECT_EQ(KelvaneTweakUtils::trimmedString("\t\r\nHello  World\r\n "), "Hello  World");
  EXPECT_EQ(KelvaneTweakUtils::trimmedString("inside stays"), "inside stays");
}

TEST_F(KelvaneTweakUtilsTextTest, TrimsUnicodeSpacesButKeepsOtherCharacters) {
  // No-break space, em space, line separator around an accented word.
  EXPECT_EQ(KelvaneTweakUtils::trimmedString("\u00A0\u2003Caf\u00E9\u2028"), "Caf\u00E9");
  // A zero-width joiner is not white space.
  EXPECT_EQ(KelvaneTweakUtils::trimmedString("\u200Dx"), "\u200Dx");
}

TEST_F(KelvaneTweakUtilsTextTest, InvalidUtf8IsKeptRatherThanCut) {
  std::string text =
      " \xFF"
      "abc\xC3 ";
  EXPECT_EQ(KelvaneTweakUtils::trimmedString(text),
            "\xFF"
            "abc\xC3");
}

TEST_F(KelvaneTweakUtilsTextTest, BlankTextIsEmpty) {
  EXPECT_TRUE(KelvaneTweakUtils::stringIsEmpty(""));
  EXPECT_TRUE(KelvaneTweakUtils::stringIsEmpty("  \n\t \r\n  "));
  EXPECT_FALSE(KelvaneTweakUtils::stringIsEmpty(" . "));
}

TEST_F(KelvaneTweakUtilsTextTest, RandomNumberWithEqualBoundsIsThatBound) {
  for (uint32_t r : {0u, 1u, 12345u, UINT32_MAX}) {
    drawAlways(r);
    EXPECT_EQ(KelvaneTweakUtils::getRandomNumberBetween(7, 7), 7);
  }
}

TEST_F(KelvaneTweakUtilsTextTest, RandomNumberIncludesBothBounds) {
  drawAlways(0);
  EXPECT_EQ(KelvaneTweakUtils::getRandomNumberBetween(-3, 3), -3);
  drawAlways(6);
  EXPECT_EQ(KelvaneTweakUtils::getRandomNumberBetween(-3, 3), 3);
  drawAlways(7);
  EXPECT_EQ(KelvaneTweakUtils::getRandomNumberBetween(-3, 3), -3);
}

TEST_F(KelvaneTweakUtilsTextTest, RandomNumberUsesUnsignedArithmetic) {
  // The full 32-bit range wraps to 0: the result is r + from.
  drawAlways(5);
  EXPECT_EQ(KelvaneTweakUtils::getRandomNumberBetween(INT_MIN, INT_MAX), INT_MIN + 5);
  // 4000000000 mod 10 = 0 in unsigned arithmetic (a signed reading would give a negative value).
  drawAlways(4000000000u);
  EXPECT_EQ(KelvaneTweakUtils::getRandomNumberBetween(1, 10), 1);
  // Reversed bounds: the range is 10 - 20 + 1 = 2^32 - 9 as an unsigned number.
  drawAlways(100);
  EXPECT_EQ(KelvaneTweakUtils::getRandomNumberBetween(20, 10), 120);
}

TEST_F(KelvaneTweakUtilsTextTest, SystemRandomNumbersStayInRange) {
  bool seenLow = false, seenHigh = false;
  for (int i = 0; i < 2000; ++i) {
    int32_t n = KelvaneTweakUtils::getRandomNumberBetween(1, 4);
    ASSERT_GE(n, 1);
    ASSERT_LE(n, 4);
    seenLow |= n == 1;
    seenHigh |= n == 4;
  }
  EXPECT_TRUE(seenLow);
  EXPECT_TRUE(seenHigh);
}

}  // namespace
