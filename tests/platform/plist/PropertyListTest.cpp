#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "platform/foundation/PropertyList.h"

namespace platform::plist {
namespace {

class PropertyListTest : public ::testing::Test {};

TEST_F(PropertyListTest, EachKindReportsItsTypeAndContent) {
  EXPECT_EQ(Value().type(), Type::Null);
  EXPECT_EQ(Value(true).type(), Type::Boolean);
  EXPECT_EQ(Value(7).type(), Type::Integer);
  EXPECT_EQ(Value(int64_t{-3}).integerValue(), -3);
  EXPECT_EQ(Value(0.25).type(), Type::Real);
  EXPECT_EQ(Value("wifi").string(), "wifi");
  EXPECT_EQ(Value(Data{1, 2, 3}).data(), (Data{1, 2, 3}));
  EXPECT_EQ(Value(Date{12.5}).date().secondsSince2001, 12.5);
  EXPECT_EQ(Value(Array{Value(1), Value("a")}).array().size(), 2u);
  EXPECT_EQ(Value(Dictionary{{"a", Value(1)}}).dictionary().size(), 1u);
}

TEST_F(PropertyListTest, ContentOfAnotherKindIsEmpty) {
  Value number(5);
  EXPECT_EQ(number.string(), "");
  EXPECT_TRUE(number.data().empty());
  EXPECT_TRUE(number.array().empty());
  EXPECT_TRUE(number.dictionary().empty());
  EXPECT_EQ(number.date().secondsSince2001, 0);
  EXPECT_TRUE(number["a"].isNull());
  EXPECT_EQ(number.find("a"), nullptr);
}

TEST_F(PropertyListTest, NumbersReadLikeNSNumber) {
  EXPECT_TRUE(Value(true).isNumber());
  EXPECT_FALSE(Value("1").isNumber());
  EXPECT_EQ(Value(true).integerValue(), 1);
  EXPECT_EQ(Value(false).doubleValue(), 0.0);
  EXPECT_EQ(Value(2.9).integerValue(), 2);
  EXPECT_EQ(Value(-2.9).integerValue(), -2);
  EXPECT_EQ(Value(1e300).integerValue(), INT64_MAX);
  EXPECT_EQ(Value(-1e300).integerValue(), INT64_MIN);
  EXPECT_EQ(Value(std::nan("")).integerValue(), 0);
  EXPECT_EQ(Value(3).doubleValue(), 3.0);
  EXPECT_TRUE(Value(0.5).boolValue());
  EXPECT_FALSE(Value(0.0).boolValue());
  EXPECT_TRUE(Value(-1).boolValue());
  EXPECT_FALSE(Value(0).boolValue());
  // Anything that is not a number reads as 0 / NO.
  EXPECT_FALSE(Value("YES").boolValue());
  EXPECT_EQ(Value("12").integerValue(), 0);
  EXPECT_EQ(Value().doubleValue(), 0.0);
}

TEST_F(PropertyListTest, DictionaryKeepsInsertionOrderAndReplacesInPlace) {
  Dictionary d;
  d.set("volume", Value(0.5));
  d.set("toggles", Value(Dictionary{}));
  d.set("brightness", Value(0.3));
  d.set("volume", Value(0.8));
  ASSERT_EQ(d.size(), 3u);
  EXPECT_EQ(d.entries()[0].first, "volume");
  EXPECT_EQ(d.entries()[0].second.doubleValue(), 0.8);
  EXPECT_EQ(d.entries()[1].first, "toggles");
  EXPECT_EQ(d.entries()[2].first, "brightness");
  EXPECT_TRUE(d.remove("toggles"));
  EXPECT_FALSE(d.remove("toggles"));
  ASSERT_EQ(d.size(), 2u);
  EXPECT_EQ(d.entries()[1].first, "brightness");
}

TEST_F(PropertyListTest, LargeDictionaryFindsEveryKeyThroughItsIndex) {
  Dictionary d;
  for (int i = 0; i < 300; ++i) d.set("com.example.app" + std::to_string(i), Value(i));
  ASSERT_EQ(d.size(), 300u);
  for (int i = 0; i < 300; ++i) {
    const Value* v = d.find("com.example.app" + std::to_string(i));
    ASSERT_NE(v, nullptr) << i;
    EXPECT_EQ(v->integerValue(), i);
  }
  EXPECT_EQ(d.find("com.example.app300"), nullptr);
  EXPECT_EQ(d.find(""), nullptr);
  // Removal keeps the index consistent, down to a small dictionary again.
  for (int i = 0; i < 295; ++i) ASSERT_TRUE(d.remove("com.example.app" + std::to_string(i)));
  EXPECT_EQ(d.size(), 5u);
  EXPECT_EQ(d.find("com.example.app10"), nullptr);
  EXPECT_EQ(d.find("com.example.app297")->integerValue(), 297);
  d.set("com.example.app297", Value(-1));
  EXPECT_EQ(d.find("com.example.app297")->integerValue(), -1);
  EXPECT_EQ(d.size(), 5u);
  EXPECT_EQ(d.entries()[0].first, "com.example.app295");
}

TEST_F(PropertyListTest, InitializerListWithRepeatedKeyKeepsTheLastValue) {
  Dictionary d{{"a", Value(1)}, {"b", Value(2)}, {"a", Value(3)}};
  ASSERT_EQ(d.size(), 2u);
  EXPECT_EQ(d.entries()[0].first, "a");
  EXPECT_EQ(d.find("a")->integerValue(), 3);
}

TEST_F(PropertyListTest, EqualityIsDeepAndIgnoresKeyOrder) {
  Dictionary a{{"x", Value(1)}, {"y", Value(Array{Value("s"), Value(2.5)})}};
  Dictionary b{{"y", Value(Array{Value("s"), Value(2.5)})}, {"x", Value(1)}};
  EXPECT_EQ(Value(a), Value(b));
  b.set("x", Value(2));
  EXPECT_FALSE(Value(a) == Value(b));
  EXPECT_FALSE(Value(1) == Value(1.0));  // different kinds
  EXPECT_FALSE(Value(true) == Value(1));
  EXPECT_EQ(Value(), Value());
  EXPECT_FALSE(Value() == Value(0));
}

TEST_F(PropertyListTest, SnapshotNeverChangesWhenTheSourceDictionaryDoes) {
  Dictionary d{{"wifi", Value(1)}};
  Value snapshot(d);
  d.set("wifi", Value(0));
  d.set("dnd", Value(1));
  EXPECT_EQ(snapshot["wifi"].integerValue(), 1);
  EXPECT_EQ(snapshot.dictionary().size(), 1u);
  // Copying a value shares its content.
  Value copy = snapshot;
  EXPECT_TRUE(copy.sameContent(snapshot));
  EXPECT_FALSE(Value(d).sameContent(snapshot));
}

TEST_F(PropertyListTest, NestedLookupReachesAToggleState) {
  Dictionary toggles{{"wifi", Value(0)}, {"dnd", Value(1)}};
  Dictionary entry{{"toggles", Value(toggles)}, {"volume", Value(0.4)}};
  Value store(Dictionary{{"com.apple.Maps", Value(entry)}});
  EXPECT_EQ(store["com.apple.Maps"]["toggles"]["dnd"].integerValue(), 1);
  EXPECT_TRUE(store["com.apple.Music"]["toggles"]["dnd"].isNull());
  const Value* volume = store["com.apple.Maps"].find("volume");
  ASSERT_NE(volume, nullptr);
  EXPECT_EQ(volume->doubleValue(), 0.4);
}

TEST_F(PropertyListTest, DescribeRendersEveryKindReadably) {
  EXPECT_EQ(Value().describe(), "nil");
  EXPECT_EQ(Value(true).describe(), "YES");
  EXPECT_EQ(Value(-12).describe(), "-12");
  EXPECT_EQ(Value(0.4).describe(), "0.4");
  EXPECT_EQ(Value("a \"b\"\n").describe(), "\"a \\\"b\\\"\\n\"");
  EXPECT_EQ(Value(Data{0x0a, 0xff}).describe(), "<0aff> (2 bytes)");
  EXPECT_EQ(Value(Date{0}).describe(), "2001-01-01T00:00:00Z");
  EXPECT_EQ(Value(Date{-1.5}).describe(), "2000-12-31T23:59:58Z");
  EXPECT_EQ(Value(Array{Value(1), Value("x")}).describe(), "(1, \"x\")");
  EXPECT_EQ(Value(Dictionary{}).describe(), "{}");
  EXPECT_EQ(Value(Dictionary{{"com.apple.Maps", Value(Dictionary{{"volume", Value(0.5)}})}, {"a b", Value(false)}})
                .describe(),
            "{ com.apple.Maps = { volume = 0.5 }; \"a b\" = NO }");
  Data big(40, 0x11);
  EXPECT_EQ(Value(big).describe(), "<11111111111111111111111111111111...> (40 bytes)");
}

}  // namespace
}  // namespace platform::plist
