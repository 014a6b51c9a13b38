#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/foundation/PropertyListCalendar.h"
#include "platform/foundation/PropertyListFile.h"
#include "tests/platform/plist/BinaryPlistBuilder.h"

namespace platform::plist {
namespace {

namespace fs = std::filesystem;
using testing::BinaryPlistBuilder;

std::string nestedXml(size_t levels) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">";
  for (size_t i = 0; i < levels; ++i) xml += "<array>";
  for (size_t i = 0; i < levels; ++i) xml += "</array>";
  return xml + "</plist>";
}

Value nestedValue(size_t levels) {
  Value v = Value(Array{});
  for (size_t i = 1; i < levels; ++i) v = Value(Array{v});
  return v;
}

Value sampleDomain() {
  Dictionary toggles{{"wifi", Value(0)}, {"dnd", Value(1)}, {"action_hideHomeBar", Value(1)}};
  Dictionary entry{{"toggles", Value(toggles)}, {"volume", Value(0.4)}, {"brightness", Value(0.75)}};
  return Value(Dictionary{{"enabled", Value(true)},
                          {"interfaceColorStyle", Value(2)},
                          {"negative", Value(int64_t{-9000000000})},
                          {"name", Value("Caf\xc3\xa9 \xe2\x98\x95 <&> \"quoted\"")},
                          {"blob", Value(Data{0, 1, 2, 0xfe, 0xff})},
                          {"when", Value(Date{600000000})},
                          {"list", Value(Array{Value(1), Value("two"), Value(Array{}), Value(Dictionary{})})},
                          {"customizedApps", Value(Dictionary{{"com.apple.Maps", Value(entry)}})}});
}

class PropertyListFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/plist-file-test-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path file(const std::string& name) const { return dir_ / name; }
  void put(const fs::path& path, const std::string& bytes) const { std::ofstream(path, std::ios::binary) << bytes; }
  static std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  size_t entriesIn(const fs::path& folder) const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
  }

  fs::path dir_;
};

// ---- Round trips ----

TEST_F(PropertyListFileTest, XmlWrittenFileReadsBackEqualInOrder) {
  Value domain = sampleDomain();
  ASSERT_TRUE(PropertyListFile::write(file("d.plist"), domain));
  auto result = PropertyListFile::read(file("d.plist"));
  ASSERT_TRUE(result.ok()) << result.message;
  EXPECT_EQ(result.value, domain);
  ASSERT_EQ(result.value.dictionary().size(), domain.dictionary().size());
  for (size_t i = 0; i < domain.dictionary().size(); ++i)
    EXPECT_EQ(result.value.dictionary().entries()[i].first, domain.dictionary().entries()[i].first);
  // Kinds survive exactly: an integer stays an integer, a boolean a boolean.
  EXPECT_TRUE(result.value["enabled"].isBoolean());
  EXPECT_TRUE(result.value["interfaceColorStyle"].isInteger());
  EXPECT_EQ(result.value["negative"].integerValue(), -9000000000);
  EXPECT_EQ(result.value["customizedApps"]["com.apple.Maps"]["volume"].doubleValue(), 0.4);
}

TEST_F(PropertyListFileTest, TextThatXmlCannotCarryIsRefusedNamingTheKeyAndNothingIsWritten) {
  const std::vector<std::pair<Value, std::string>> refused{
      {Value(Dictionary{{"name", Value(std::string("a\x01"
                                                   "b"))}}),
       "under the key \"name\" holds the character U+0001"},
      {Value(Dictionary{{"esc", Value(std::string("\x1b[31m"))}}), "the character U+001B"},
      {Value(Dictionary{{"bad", Value(std::string("\xff\xfe"))}}), "bytes that are not UTF-8"},
      {Value(Dictionary{{"surrogate", Value(std::string("\xed\xa0\x80"))}}), "bytes that are not UTF-8"},
      {Value(Dictionary{{"nonchar", Value(std::string("\xef\xbf\xbe"))}}), "the character U+FFFE"},
      {Value(Dictionary{{"list", Value(Array{Value(std::string("\x07"))})}}), "under the key \"list\""},
      {Value(Dictionary{{std::string("k\x02"), Value(1)}}), "the key \"k\\x02\" holds the character U+0002"},
  };
  const fs::path file = dir_ / "refused.plist";
  for (const auto& [value, why] : refused) {
    CheckResult check = PropertyListFile::checkStorable(value);
    EXPECT_FALSE(check.ok());
    EXPECT_NE(check.message.find(why), std::string::npos) << check.message;
    std::string error;
    EXPECT_FALSE(PropertyListFile::write(file, value, {}, &error));
    EXPECT_FALSE(fs::exists(file));
  }
  // Tabs, line breaks and every other character are kept.
  Value fine(Dictionary{{"text", Value(std::string("tab\tline\r\nend \xe2\x82\xac \xf0\x9f\x98\x80"))}});
  ASSERT_TRUE(PropertyListFile::write(file, fine));
  EXPECT_EQ(PropertyListFile::read(file).value, fine);
}

TEST_F(PropertyListFileTest, AUtf16FileIsRefusedForItsEncoding) {
  for (const std::string& bytes :
       {std::string("\xff\xfe<\0?\0x\0", 8), std::string("\xfe\xff\0<\0?", 6), std::string("<\0p\0l\0", 6)}) {
    PropertyListFile::ReadResult read = PropertyListFile::parse(bytes);
    EXPECT_EQ(read.status, ReadStatus::Malformed);
    EXPECT_NE(read.message.find("UTF-16"), std::string::npos) << read.message;
  }
}

TEST_F(PropertyListFileTest, XmlOutputIsReadableText) {
  auto xml = PropertyListFile::toXml(Value(Dictionary{{"showWifiToggle", Value(false)}}));
  ASSERT_TRUE(xml);
  EXPECT_NE(xml->find("<?xml"), std::string::npos);
  EXPECT_NE(xml->find("<key>showWifiToggle</key>"), std::string::npos);
  EXPECT_NE(xml->find("<false/>"), std::string::npos);
}

TEST_F(PropertyListFileTest, BinaryFileAsThePhoneWritesItReads) {
  // Shared key objects and UTF-16 text, as CoreFoundation writes them.
  BinaryPlistBuilder b;
  size_t togglesKey = b.addString("toggles");
  size_t wifiKey = b.addString("wifi");
  size_t one = b.addInteger(1);
  size_t maps =
      b.addDictionary({{togglesKey, b.addDictionary({{wifiKey, one}})}, {b.addString("volume"), b.addReal(0.5)}});
  size_t music = b.addDictionary({{togglesKey, b.addDictionary({{wifiKey, b.addInteger(0)}})}});
  size_t apps = b.addDictionary({{b.addString("com.apple.Maps"), maps}, {b.addString("com.apple.Music"), music}});
  size_t root = b.addDictionary({{b.addString("customizedApps"), apps},
                                 {b.addString("title"), b.addUtf16(u"Caf\u00e9 \u2615")},
                                 {b.addString("enabled"), b.addBool(true)},
                                 {b.addString("when"), b.addDate(-31.25)},
                                 {b.addString("blob"), b.addData({1, 2, 3})},
                                 {b.addString("negative"), b.addInteger(-42)}});
  auto result = PropertyListFile::parse(b.build(root));
  ASSERT_TRUE(result.ok()) << result.message;
  EXPECT_EQ(result.value["customizedApps"]["com.apple.Maps"]["toggles"]["wifi"].integerValue(), 1);
  EXPECT_EQ(result.value["customizedApps"]["com.apple.Music"]["toggles"]["wifi"].integerValue(), 0);
  EXPECT_EQ(result.value["customizedApps"]["com.apple.Maps"]["volume"].doubleValue(), 0.5);
  EXPECT_EQ(result.value["title"].string(), "Caf\xc3\xa9 \xe2\x98\x95");
  EXPECT_TRUE(result.value["enabled"].boolValue());
  EXPECT_EQ(result.value["when"].date().secondsSince2001, -31.25);
  EXPECT_EQ(result.value["blob"].data(), (Data{1, 2, 3}));
  EXPECT_EQ(result.value["negative"].integerValue(), -42);
  EXPECT_EQ(result.value.dictionary().entries()[0].first, "customizedApps");
}

TEST_F(PropertyListFileTest, EveryEncodedValueOfTheSampleReadsBackFromBinary) {
  Value domain = sampleDomain();
  auto result = PropertyListFile::parse(BinaryPlistBuilder::encode(domain));
  ASSERT_TRUE(result.ok()) << result.message;
  EXPECT_EQ(result.value, domain);
}

// ---- What is refused before anything is built ----

TEST_F(PropertyListFileTest, BinaryReferenceBombIsRefusedBeforeParsing) {
  // Ten arrays, each holding the next one fourteen times: under 200 bytes, 14^9 values once expanded.
  BinaryPlistBuilder b;
  std::vector<size_t> levels(10);
  for (size_t i = 0; i < 10; ++i) levels[i] = i;
  for (size_t i = 0; i < 9; ++i) b.addArray(std::vector<size_t>(14, i + 1));
  b.addBool(true);
  std::string bomb = b.build(0);
  EXPECT_LT(bomb.size(), 200u);
  auto result = PropertyListFile::parse(bomb);
  EXPECT_EQ(result.status, ReadStatus::TooComplex);
  EXPECT_NE(result.message.find("expands to more than 50000 values"), std::string::npos) << result.message;
}

TEST_F(PropertyListFileTest, SharedLargeTextIsBoundedByExpandedBytes) {
  BinaryPlistBuilder b;
  size_t text = b.addString(std::string(1000, 'x'));
  std::vector<size_t> refs(9000, text);
  size_t top = b.addArray(refs);
  auto result = PropertyListFile::parse(b.build(top));
  EXPECT_EQ(result.status, ReadStatus::TooComplex);
  EXPECT_NE(result.message.find("bytes of text and data"), std::string::npos) << result.message;
}

TEST_F(PropertyListFileTest, BinaryObjectsThatContainThemselvesAreMalformed) {
  BinaryPlistBuilder b;
  b.addArray({1});
  b.addDictionary({{2, 0}});
  b.addString("loop");
  auto result = PropertyListFile::parse(b.build(0));
  EXPECT_EQ(result.status, ReadStatus::Malformed);
  EXPECT_NE(result.message.find("contain themselves"), std::string::npos);
}

TEST_F(PropertyListFileTest, BinaryStructureOutsideTheFileIsMalformed) {
  BinaryPlistBuilder b;
  size_t top = b.addArray({0});  // refers to itself
  EXPECT_EQ(PropertyListFile::parse(b.build(top)).status, ReadStatus::Malformed);

  BinaryPlistBuilder dangling;
  dangling.addArray({5});  // object 5 does not exist
  EXPECT_EQ(PropertyListFile::parse(dangling.build(0)).status, ReadStatus::Malformed);

  BinaryPlistBuilder longText;
  longText.addRaw({0x5F, 0x13, 0, 0, 0, 0, 0x7f, 0xff, 0xff, 0xff, 'a'});  // claims 2 GiB of text
  EXPECT_EQ(PropertyListFile::parse(longText.build(0)).status, ReadStatus::Malformed);

  BinaryPlistBuilder unknown;
  unknown.addRaw({0xE0});
  EXPECT_EQ(PropertyListFile::parse(unknown.build(0)).status, ReadStatus::Malformed);

  std::string good = BinaryPlistBuilder::encode(sampleDomain());
  std::string badTrailer = good;
  badTrailer[badTrailer.size() - 26] = 9;  // offset size 9
  EXPECT_EQ(PropertyListFile::parse(badTrailer).status, ReadStatus::Malformed);
  std::string badTop = good;
  badTop[badTop.size() - 9] = 0x7f;  // top object far beyond the count
  EXPECT_EQ(PropertyListFile::parse(badTop).status, ReadStatus::Malformed);
  std::string badTable = good;
  badTable[badTable.size() - 2] = 0x7f;  // offset table beyond the end
  EXPECT_EQ(PropertyListFile::parse(badTable).status, ReadStatus::Malformed);
}

TEST_F(PropertyListFileTest, KeysLibplistWouldAbortOnAreRefusedBeforeParsing) {
  BinaryPlistBuilder numberKey;
  size_t key = numberKey.addInteger(3);
  size_t top = numberKey.addDictionary({{key, numberKey.addBool(true)}});
  auto result = PropertyListFile::parse(numberKey.build(top));
  EXPECT_EQ(result.status, ReadStatus::Malformed);
  EXPECT_EQ(result.message, "binary property list with a dictionary key that is not text");

  BinaryPlistBuilder nulKey;
  key = nulKey.addString(std::string("a\0b", 3));
  top = nulKey.addDictionary({{key, nulKey.addBool(true)}});
  EXPECT_EQ(PropertyListFile::parse(nulKey.build(top)).status, ReadStatus::Malformed);
  BinaryPlistBuilder nulUtf16;
  key = nulUtf16.addUtf16(std::u16string(u"a\0b", 3));
  top = nulUtf16.addDictionary({{key, nulUtf16.addBool(true)}});
  EXPECT_EQ(PropertyListFile::parse(nulUtf16.build(top)).status, ReadStatus::Malformed);

  auto rawNul = PropertyListFile::parse(std::string_view("<plist><dict><key>a\0b</key><true/></dict></plist>", 49));
  EXPECT_EQ(rawNul.message, "XML with a NUL character");
  EXPECT_EQ(PropertyListFile::parse("<plist><dict><key>a&#0;b</key><true/></dict></plist>").status,
            ReadStatus::Malformed);
  EXPECT_EQ(PropertyListFile::parse("<plist><dict><key>a&#x000;b</key><true/></dict></plist>").status,
            ReadStatus::Malformed);
  EXPECT_TRUE(PropertyListFile::parse("<plist><dict><key>a&#10;b</key><true/></dict></plist>").ok());
}

// ---- Binary values keep their meaning through a read and a write ----

TEST_F(PropertyListFileTest, BinaryDatesOfEveryYearReadExactlyAndWriteBackTheSame) {
  // The phone's dates are doubles: 1932 and 2069 are no limits (32-bit seconds would clamp to them).
  const std::vector<std::pair<double, std::string>> dates{
      {kFirstWritableSecond, "0001-01-01T00:00:00Z"},
      {static_cast<double>(daysSince2001({1900, 6, 15})) * 86400 + 43200.5, "1900-06-15T12:00:00.5Z"},
      {-2147483648.0 - 86400, "1932-12-12T20:45:52Z"},
      {static_cast<double>(daysSince2001({2069, 1, 20})) * 86400, "2069-01-20T00:00:00Z"},
      {static_cast<double>(daysSince2001({2100, 1, 1})) * 86400 + 0.25, "2100-01-01T00:00:00.25Z"},
      {kEndOfWritableSeconds - 1, "9999-12-31T23:59:59Z"},
  };
  for (const auto& [seconds, text] : dates) {
    auto loaded =
        PropertyListFile::parse(BinaryPlistBuilder::encode(Value(Dictionary{{"when", Value(Date{seconds})}})));
    ASSERT_TRUE(loaded.ok()) << loaded.message;
    EXPECT_EQ(loaded.value["when"].date().secondsSince2001, seconds) << text;
    auto xml = PropertyListFile::toXml(loaded.value);
    ASSERT_TRUE(xml) << text;
    EXPECT_NE(xml->find("<date>" + text + "</date>"), std::string::npos) << *xml;
    EXPECT_EQ(PropertyListFile::parse(*xml).value, loaded.value) << text;
  }
}

TEST_F(PropertyListFileTest, BinaryDatesNoFileCanWriteLoadButAreNotWrittenAndTheRefusalNamesTheKey) {
  for (double seconds : {1e15, -1e15, kEndOfWritableSeconds, std::nan("")}) {
    Value domain(Dictionary{{"enabled", Value(true)}, {"when", Value(Array{Value(Date{seconds})})}});
    auto loaded = PropertyListFile::parse(BinaryPlistBuilder::encode(domain));
    ASSERT_TRUE(loaded.ok()) << loaded.message;
    const double read = loaded.value["when"].array()[0].date().secondsSince2001;
    EXPECT_TRUE(read == seconds || (std::isnan(seconds) && std::isnan(read))) << seconds;
    std::string error;
    EXPECT_FALSE(PropertyListFile::toXml(loaded.value, {}, &error)) << seconds;
    EXPECT_NE(error.find("the date under the key \"when\""), std::string::npos) << error;
    EXPECT_NE(error.find("outside the years 1 to 9999"), std::string::npos) << error;
  }
}

TEST_F(PropertyListFileTest, BinaryIntegersKeepTheirSignAndWidth) {
  BinaryPlistBuilder b;
  size_t top = b.addDictionary({
      {b.addString("max"), b.addInteger128(0, UINT64_MAX)},
      {b.addString("half"), b.addInteger128(0, uint64_t{1} << 63)},
      {b.addString("small"), b.addInteger128(0, 5)},
      {b.addString("minusOne"), b.addInteger128(UINT64_MAX, UINT64_MAX)},
      {b.addString("min"), b.addInteger128(UINT64_MAX, uint64_t{1} << 63)},
      {b.addString("signed"), b.addInteger(-1)},
      {b.addString("byte"), b.addNarrowInteger(200, 1)},
      {b.addString("word"), b.addNarrowInteger(0xFFFF, 2)},
      {b.addString("long"), b.addNarrowInteger(0xFFFFFFFF, 4)},
  });
  auto loaded = PropertyListFile::parse(b.build(top));
  ASSERT_TRUE(loaded.ok()) << loaded.message;
  const Value& v = loaded.value;
  EXPECT_TRUE(v["max"].isLargeUnsigned());
  EXPECT_EQ(v["max"].unsignedIntegerValue(), UINT64_MAX);
  EXPECT_EQ(v["max"].doubleValue(), 18446744073709551615.0);
  EXPECT_EQ(v["half"].unsignedIntegerValue(), uint64_t{1} << 63);
  EXPECT_EQ(v["small"], Value(5));
  EXPECT_EQ(v["minusOne"], Value(-1));
  EXPECT_EQ(v["min"], Value(int64_t{INT64_MIN}));
  EXPECT_EQ(v["signed"], Value(-1));
  EXPECT_EQ(v["byte"], Value(200));
  EXPECT_EQ(v["word"], Value(65535));
  EXPECT_EQ(v["long"], Value(int64_t{4294967295}));

  auto xml = PropertyListFile::toXml(v);
  ASSERT_TRUE(xml);
  EXPECT_NE(xml->find("<integer>18446744073709551615</integer>"), std::string::npos) << *xml;
  EXPECT_NE(xml->find("<integer>9223372036854775808</integer>"), std::string::npos) << *xml;
  EXPECT_NE(xml->find("<integer>-9223372036854775808</integer>"), std::string::npos) << *xml;
  auto again = PropertyListFile::parse(*xml);
  ASSERT_TRUE(again.ok()) << again.message;
  EXPECT_EQ(again.value, v);
  EXPECT_TRUE(again.value["max"].isLargeUnsigned());
}

TEST_F(PropertyListFileTest, BinaryValuesWithNoFaithfulFormAreRefusedNamingTheKey) {
  struct Case {
    std::string name;
    std::string file;
    std::string why;
  };
  std::vector<Case> cases;
  auto fileWith = [](const std::string& key, auto addValue) {
    BinaryPlistBuilder b;
    size_t value = addValue(b);
    size_t apps = b.addDictionary({{b.addString(key), value}});
    return b.build(b.addDictionary({{b.addString("enabled"), b.addBool(true)}, {b.addString("apps"), apps}}));
  };
  cases.push_back({"2^64", fileWith("huge", [](BinaryPlistBuilder& b) { return b.addInteger128(1, 0); }),
                   "the value under the key \"huge\" is a 128-bit integer beyond 64 bits"});
  cases.push_back({"below -2^63",
                   fileWith("tiny", [](BinaryPlistBuilder& b) { return b.addInteger128(UINT64_MAX, 5); }),
                   "the value under the key \"tiny\" is a 128-bit integer beyond 64 bits"});
  cases.push_back({"high surrogate", fileWith("title", [](BinaryPlistBuilder& b) { return b.addUtf16(u"Caf\xD83D!"); }),
                   "the value under the key \"title\" is UTF-16 text with a lone surrogate (U+D83D)"});
  cases.push_back({"low surrogate at the end",
                   fileWith("title", [](BinaryPlistBuilder& b) { return b.addUtf16(u"ab\xDE00"); }),
                   "the value under the key \"title\" is UTF-16 text with a lone surrogate (U+DE00)"});
  cases.push_back({"in an array",
                   fileWith("list",
                            [](BinaryPlistBuilder& b) {
                              return b.addArray({b.addInteger(1), b.addUtf16(u"\xDC00\xD800")});
                            }),
                   "the value under the key \"list\" is UTF-16 text with a lone surrogate (U+DC00)"});
  cases.push_back({"in a key",
                   fileWith("inner",
                            [](BinaryPlistBuilder& b) {
                              return b.addDictionary({{b.addUtf16(u"k\xD800"), b.addBool(true)}});
                            }),
                   "a key inside the value under the key \"inner\" is UTF-16 text with a lone surrogate (U+D800)"});
  cases.push_back({"null", fileWith("nothing", [](BinaryPlistBuilder& b) { return b.addRaw({0x00}); }),
                   "the value under the key \"nothing\" is a null"});
  cases.push_back({"UID",
                   fileWith("uid",
                            [](BinaryPlistBuilder& b) {
                              return b.addRaw({0x80, 0x07});
                            }),
                   "the value under the key \"uid\" is a UID"});
  for (const Case& c : cases) {
    auto loaded = PropertyListFile::parse(c.file);
    EXPECT_EQ(loaded.status, ReadStatus::Unrepresentable) << c.name << ": " << loaded.message;
    EXPECT_NE(loaded.message.find(c.why), std::string::npos) << c.name << ": " << loaded.message;
    EXPECT_TRUE(loaded.value.isNull()) << c.name;
  }
  // A pair of surrogates is one character.
  auto pair =
      PropertyListFile::parse(fileWith("face", [](BinaryPlistBuilder& b) { return b.addUtf16(u"\xD83D\xDE00 ok"); }));
  ASSERT_TRUE(pair.ok()) << pair.message;
  EXPECT_EQ(pair.value["apps"]["face"].string(), "\xf0\x9f\x98\x80 ok");
}

TEST_F(PropertyListFileTest, TruncatedOrGarbledFilesAreMalformed) {
  std::string binary = BinaryPlistBuilder::encode(sampleDomain());
  auto xml = PropertyListFile::toXml(sampleDomain());
  ASSERT_TRUE(xml);
  for (size_t cut : {size_t{0}, size_t{5}, size_t{8}, binary.size() / 2, binary.size() - 1})
    EXPECT_NE(PropertyListFile::parse(binary.substr(0, cut)).status, ReadStatus::Ok) << "binary cut at " << cut;
  for (size_t cut : {size_t{1}, size_t{40}, xml->size() / 2, xml->size() - 12})
    EXPECT_EQ(PropertyListFile::parse(xml->substr(0, cut)).status, ReadStatus::Malformed) << "xml cut at " << cut;
  EXPECT_EQ(PropertyListFile::parse("").status, ReadStatus::Malformed);
  EXPECT_EQ(PropertyListFile::parse("hello, world").status, ReadStatus::Malformed);
  EXPECT_EQ(PropertyListFile::parse(std::string(4096, '\0')).status, ReadStatus::Malformed);
  EXPECT_EQ(PropertyListFile::parse("<plist><dict><key>a</key><integer>1</integer>").status, ReadStatus::Malformed);
  EXPECT_EQ(PropertyListFile::parse("<plist><!-- never closed").status, ReadStatus::Malformed);
}

TEST_F(PropertyListFileTest, DeepXmlNestingIsRefusedAtTheCap) {
  // 100,000 levels would overflow a recursive reader's stack.
  auto result = PropertyListFile::parse(nestedXml(100000));
  EXPECT_EQ(result.status, ReadStatus::TooComplex);
  EXPECT_EQ(result.message, "XML property list nested deeper than 32 levels");
}

TEST_F(PropertyListFileTest, DepthLimitIsExactForXmlAndBinary) {
  EXPECT_TRUE(PropertyListFile::parse(nestedXml(32)).ok());
  EXPECT_EQ(PropertyListFile::parse(nestedXml(33)).status, ReadStatus::TooComplex);
  EXPECT_TRUE(PropertyListFile::parse(BinaryPlistBuilder::encode(nestedValue(32))).ok());
  EXPECT_EQ(PropertyListFile::parse(BinaryPlistBuilder::encode(nestedValue(33))).status, ReadStatus::TooComplex);
  // A dictionary's keys do not add a level.
  Value dictAtDepth = Value(Dictionary{{"k", nestedValue(31)}});
  EXPECT_TRUE(PropertyListFile::parse(BinaryPlistBuilder::encode(dictAtDepth)).ok());
  EXPECT_TRUE(PropertyListFile::parse(*PropertyListFile::toXml(dictAtDepth)).ok());
}

TEST_F(PropertyListFileTest, ValueCountLimitIsExactForXmlAndBinary) {
  Limits limits;
  limits.maxNodes = 10;
  Array nine(9, Value(true));  // 10 values with the array
  Array ten(10, Value(true));
  EXPECT_TRUE(PropertyListFile::parse(BinaryPlistBuilder::encode(Value(nine)), limits).ok());
  EXPECT_EQ(PropertyListFile::parse(BinaryPlistBuilder::encode(Value(ten)), limits).status, ReadStatus::TooComplex);
  EXPECT_TRUE(PropertyListFile::parse(*PropertyListFile::toXml(Value(nine)), limits).ok());
  EXPECT_EQ(PropertyListFile::parse(*PropertyListFile::toXml(Value(ten)), limits).status, ReadStatus::TooComplex);
  // Keys are not values: a dictionary of nine entries is ten values.
  Dictionary d;
  for (int i = 0; i < 9; ++i) d.set("k" + std::to_string(i), Value(i));
  EXPECT_TRUE(PropertyListFile::parse(*PropertyListFile::toXml(Value(d)), limits).ok());
  EXPECT_TRUE(PropertyListFile::parse(BinaryPlistBuilder::encode(Value(d)), limits).ok());
  // A binary file announcing more objects than values and keys could need is refused before its walk.
  BinaryPlistBuilder crowded;
  for (int i = 0; i < 21; ++i) crowded.addBool(true);
  auto result = PropertyListFile::parse(crowded.build(0), limits);
  EXPECT_EQ(result.status, ReadStatus::TooComplex);
  EXPECT_EQ(result.message, "binary property list with 21 objects (limit 20)");
}

TEST_F(PropertyListFileTest, DictionaryEntryLimitIsExactForXmlAndBinary) {
  Limits limits;
  limits.maxDictionaryEntries = 3;
  Dictionary three{{"a", Value(1)}, {"b", Value(2)}, {"c", Value(Dictionary{{"x", Value(1)}, {"y", Value(2)}})}};
  Dictionary four = three;
  four.set("d", Value(4));
  EXPECT_TRUE(PropertyListFile::parse(*PropertyListFile::toXml(Value(three)), limits).ok());
  EXPECT_TRUE(PropertyListFile::parse(BinaryPlistBuilder::encode(Value(three)), limits).ok());
  auto xml = PropertyListFile::parse(*PropertyListFile::toXml(Value(four)), limits);
  EXPECT_EQ(xml.message, "XML property list with a dictionary of more than 3 entries");
  auto binary = PropertyListFile::parse(BinaryPlistBuilder::encode(Value(four)), limits);
  EXPECT_EQ(binary.message, "binary property list with a dictionary of more than 3 entries");
  // Keys of nested dictionaries count for their own dictionary only.
  Dictionary nested{{"a", Value(three)}, {"b", Value(three)}, {"c", Value(three)}};
  EXPECT_TRUE(PropertyListFile::parse(*PropertyListFile::toXml(Value(nested)), limits).ok());
}

TEST_F(PropertyListFileTest, FileOfTinyElementsIsRefusedBeforeParsing) {
  std::string xml = "<plist><array>";
  while (xml.size() < 4000000) xml += "<true/>";
  xml += "</array></plist>";
  auto result = PropertyListFile::parse(xml);
  EXPECT_EQ(result.status, ReadStatus::TooComplex);
  EXPECT_EQ(result.message, "XML property list with more than 50000 values");
}

TEST_F(PropertyListFileTest, RootOtherThanADictionaryIsRefusedBeforeParsingWhenAsked) {
  Limits domain;
  domain.dictionaryRoot = true;
  Value list(Array{Value(1), Value(2)});
  for (const std::string& bytes : {*PropertyListFile::toXml(list), BinaryPlistBuilder::encode(list),
                                   std::string("<plist><key>k</key><dict/></plist>"), std::string("<true/>")}) {
    auto result = PropertyListFile::parse(bytes, domain);
    EXPECT_EQ(result.status, ReadStatus::Malformed);
    EXPECT_EQ(result.message, "property list whose root is not a dictionary");
    EXPECT_TRUE(PropertyListFile::parse(bytes).ok() || bytes.find("<key>") != std::string::npos);
  }
  EXPECT_TRUE(PropertyListFile::parse(*PropertyListFile::toXml(sampleDomain()), domain).ok());
  EXPECT_TRUE(PropertyListFile::parse(BinaryPlistBuilder::encode(sampleDomain()), domain).ok());
  EXPECT_TRUE(PropertyListFile::parse("<dict/>", domain).ok());
}

// ---- Files on disk ----

TEST_F(PropertyListFileTest, OversizedFileIsRefusedWithoutReadingIt) {
  fs::path big = file("big.plist");
  { std::ofstream(big) << "x"; }
  fs::resize_file(big, uint64_t{1} << 30);  // sparse: costs nothing on disk
  auto result = PropertyListFile::read(big);
  EXPECT_EQ(result.status, ReadStatus::TooLarge);
  EXPECT_EQ(PropertyListFile::parse(std::string(5 * 1024 * 1024, ' ')).status, ReadStatus::TooLarge);
}

TEST_F(PropertyListFileTest, MissingFolderAndSpecialFilesAreReportedNotRead) {
  EXPECT_EQ(PropertyListFile::read(file("absent.plist")).status, ReadStatus::Missing);
  fs::create_directory(file("folder.plist"));
  EXPECT_EQ(PropertyListFile::read(file("folder.plist")).status, ReadStatus::Unreadable);
  ASSERT_EQ(::mkfifo(file("fifo.plist").c_str(), 0644), 0);
  EXPECT_EQ(PropertyListFile::read(file("fifo.plist")).status, ReadStatus::Unreadable);  // and does not block
}

TEST_F(PropertyListFileTest, AtomicWriteReplacesTheFileAndLeavesNothingBehind) {
  fs::path target = file("d.plist");
  put(target, "old");
  std::string error;
  ASSERT_TRUE(PropertyListFile::writeAtomically(target, "new content", &error)) << error;
  EXPECT_EQ(contents(target), "new content");
  EXPECT_EQ(entriesIn(dir_), 1u);
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
}

TEST_F(PropertyListFileTest, FailedWriteKeepsTheOldFileAndCleansUp) {
  fs::path target = file("d.plist");
  put(target, "old");
  // Files may not grow beyond 16 bytes: the write fails as on a full disk.
  struct rlimit saved {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto previousHandler = ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit tiny = saved;
  tiny.rlim_cur = 16;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
  std::string error;
  bool written = PropertyListFile::writeAtomically(target, std::string(1000, 'n'), &error);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, previousHandler);
  EXPECT_FALSE(written);
  EXPECT_NE(error.find("cannot write the temporary file"), std::string::npos) << error;
  EXPECT_EQ(contents(target), "old");
  EXPECT_EQ(entriesIn(dir_), 1u);

  EXPECT_FALSE(PropertyListFile::writeAtomically(file("no-such-folder") / "d.plist", "x", &error));
  EXPECT_NE(error.find("cannot create a temporary file"), std::string::npos) << error;
}

TEST_F(PropertyListFileTest, ValuesXmlCannotHoldAreRefusedWithAReason) {
  std::string error;
  EXPECT_FALSE(PropertyListFile::toXml(Value(), {}, &error));
  EXPECT_FALSE(PropertyListFile::toXml(Value(Array{Value(1), Value()}), {}, &error));
  EXPECT_EQ(error, "nil cannot be stored inside a property list");
  EXPECT_FALSE(PropertyListFile::toXml(Value(std::string("a\0b", 3)), {}, &error));
  EXPECT_EQ(error, "text with a NUL character cannot be stored");
  EXPECT_FALSE(PropertyListFile::toXml(Value(Dictionary{{std::string("k\0", 2), Value(1)}}), {}, &error));
  EXPECT_EQ(error, "key with a NUL character cannot be stored");
  EXPECT_FALSE(PropertyListFile::toXml(Value(Date{1e12}), {}, &error));
  EXPECT_FALSE(PropertyListFile::toXml(nestedValue(33), {}, &error));
  EXPECT_EQ(error, "property list nested deeper than 32 levels");
  EXPECT_TRUE(PropertyListFile::toXml(nestedValue(32)));
  // Nothing reaches the disk when rendering fails.
  EXPECT_FALSE(PropertyListFile::write(file("d.plist"), Value(Array{Value()}), {}, &error));
  EXPECT_FALSE(fs::exists(file("d.plist")));
}

}  // namespace
}  // namespace platform::plist
