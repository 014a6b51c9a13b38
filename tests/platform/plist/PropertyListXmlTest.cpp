#include <gtest/gtest.h>
#include <plist/plist.h>

#include <cstdlib>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/foundation/PropertyListCalendar.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/foundation/PropertyListXmlReader.h"
#include "platform/foundation/PropertyListXmlWriter.h"

namespace platform::plist {
namespace {

// Random values of every kind the preference files hold, within what libplist
// also keeps exactly (dates in whole seconds of its 32-bit range).
class RandomValues {
 public:
  explicit RandomValues(uint32_t seed) : rng_(seed) {}

  Value any(int depth) {
    switch (pick(depth < 4 ? 9 : 7)) {
      case 0: return Value(pick(2) == 1);
      case 1: return Value(static_cast<int64_t>(rng_()) * (pick(2) ? 1 : -1) - pick(3));
      case 2: return Value(std::uniform_real_distribution<double>(-1e6, 1e6)(rng_) / (pick(1000) + 1));
      case 3: return Value(text());
      case 4: {
        Data bytes(pick(80));
        for (uint8_t& b : bytes) b = static_cast<uint8_t>(rng_());
        return Value(std::move(bytes));
      }
      case 5: return Value(Date{static_cast<double>(static_cast<int32_t>(rng_()))});
      case 6: return Value(static_cast<double>(pick(2)));  // whole reals stay reals
      case 7: {
        Array items;
        for (int i = pick(5); i > 0; --i) items.push_back(any(depth + 1));
        return Value(std::move(items));
      }
      default: {
        Dictionary entries;
        for (int i = pick(6); i > 0; --i) entries.set(text(), any(depth + 1));
        return Value(std::move(entries));
      }
    }
  }

 private:
  int pick(int n) { return static_cast<int>(rng_() % static_cast<uint32_t>(n)); }
  std::string text() {
    static const char* const kPieces[] = {"a",
                                          "Z",
                                          "0",
                                          " ",
                                          "&",
                                          "<",
                                          ">",
                                          "\"",
                                          "'",
                                          "]]>",
                                          "\t",
                                          "\n",
                                          "\xc3\xa9",
                                          "\xe2\x98\x95",
                                          "\xf0\x9f\x98\x80",
                                          "&amp;",
                                          "com.apple.Maps"};
    std::string s;
    for (int i = pick(8); i > 0; --i) s += kPieces[pick(std::size(kPieces))];
    return s;
  }
  std::mt19937 rng_;
};

Value read(std::string_view xml, const Limits& limits = {}) {
  Value out;
  CheckResult result = PropertyListXmlReader::read(xml, limits, out);
  EXPECT_TRUE(result.ok()) << result.message << "\n" << xml;
  return out;
}

CheckResult refusal(std::string_view xml, const Limits& limits = {}) {
  Value out;
  CheckResult result = PropertyListXmlReader::read(xml, limits, out);
  EXPECT_FALSE(result.ok()) << xml;
  EXPECT_TRUE(out.isNull());
  return result;
}

// libplist's own reading of `xml`, rendered again by libplist.
std::string throughLibplist(const std::string& xml) {
  plist_t tree = nullptr;
  plist_from_xml(xml.data(), static_cast<uint32_t>(xml.size()), &tree);
  if (!tree) return {};
  char* text = nullptr;
  uint32_t length = 0;
  plist_to_xml(tree, &text, &length);
  std::string out(text, length);
  plist_to_xml_free(text);
  plist_free(tree);
  return out;
}

std::string wrapped(std::string_view body) { return "<plist version=\"1.0\">" + std::string(body) + "</plist>"; }

class PropertyListXmlTest : public ::testing::Test {};

// ---- Agreement with libplist ----

TEST_F(PropertyListXmlTest, LibplistReadsWhatWeWriteAndWeReadWhatItWrites) {
  RandomValues random(20261208);
  for (int round = 0; round < 300; ++round) {
    Value original(Dictionary{{"root", random.any(0)}, {"more", random.any(1)}});
    const std::string ours = PropertyListXmlWriter::write(original);
    const std::string theirs = throughLibplist(ours);
    ASSERT_FALSE(theirs.empty()) << "libplist could not read:\n" << ours;
    EXPECT_EQ(read(theirs), original) << "round " << round << "\n" << ours << "\n----\n" << theirs;
    EXPECT_EQ(read(ours), original) << "round " << round;
  }
}

TEST_F(PropertyListXmlTest, WriterLaysOutFilesAsThePhoneDoes) {
  Value v(Dictionary{{"enabled", Value(true)},
                     {"style", Value(2)},
                     {"volume", Value(0.4)},
                     {"name", Value("a<b & c>")},
                     {"when", Value(Date{-1.5})},
                     {"blob", Value(Data{0, 1, 2, 3})},
                     {"none", Value(Array{})},
                     {"apps", Value(Dictionary{{"com.apple.Maps", Value(Dictionary{})}})}});
  EXPECT_EQ(PropertyListXmlWriter::write(v),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
            "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
            "<plist version=\"1.0\">\n"
            "<dict>\n"
            "\t<key>enabled</key>\n\t<true/>\n"
            "\t<key>style</key>\n\t<integer>2</integer>\n"
            "\t<key>volume</key>\n\t<real>0.4</real>\n"
            "\t<key>name</key>\n\t<string>a&lt;b &amp; c&gt;</string>\n"
            "\t<key>when</key>\n\t<date>2000-12-31T23:59:58.5Z</date>\n"
            "\t<key>blob</key>\n\t<data>\n\tAAECAw==\n\t</data>\n"
            "\t<key>none</key>\n\t<array/>\n"
            "\t<key>apps</key>\n\t<dict>\n\t\t<key>com.apple.Maps</key>\n\t\t<dict/>\n\t</dict>\n"
            "</dict>\n"
            "</plist>\n");
}

TEST_F(PropertyListXmlTest, EdgesOfEveryKindSurviveAWriteAndARead) {
  const double tiny = 4.9406564584124654e-324;
  Value v(Array{Value(int64_t{INT64_MIN}), Value(int64_t{INT64_MAX}), Value(tiny), Value(-0.0), Value(1e308),
                Value(1.0 / 0.0), Value(-1.0 / 0.0), Value(std::string("\r\n\x7f\xc2\x85\xef\xbf\xbd")),
                Value(std::string()), Value(Date{kFirstWritableSecond}), Value(Date{kEndOfWritableSeconds - 1}),
                Value(Date{600000000.123}), Value(Date{-86400.25}), Value(Date{1e-7}), Value(Data(200, 0xAB))});
  Value back = read(PropertyListXmlWriter::write(v));
  EXPECT_EQ(back, v);
  EXPECT_TRUE(std::signbit(back.array()[3].doubleValue()));
  Value nan = read(PropertyListXmlWriter::write(Value(std::nan(""))));
  EXPECT_TRUE(nan.isReal() && std::isnan(nan.doubleValue()));
  EXPECT_NE(PropertyListXmlWriter::write(Value(Date{kFirstWritableSecond})).find("<date>0001-01-01T00:00:00Z"),
            std::string::npos);
  // A fraction far below a nanosecond is not written: the date reads back as its whole second.
  EXPECT_EQ(read(PropertyListXmlWriter::write(Value(Date{1e-300}))), Value(Date{0}));
}

TEST_F(PropertyListXmlTest, CalendarAgreesWithItselfOverTenThousandYears) {
  for (int64_t days = daysSince2001({1, 1, 1}); days < daysSince2001({10000, 1, 1}); ++days) {
    const CivilDate date = civilFromDays(days);
    ASSERT_EQ(daysSince2001(date), days);
    ASSERT_GE(date.day, 1);
    ASSERT_LE(date.day, daysInMonth(date.year, date.month));
  }
  EXPECT_EQ(daysSince2001({1970, 1, 1}) * 86400, -978307200);  // the Unix epoch
  EXPECT_EQ(daysSince2001({2000, 2, 29}), -307);
}

// ---- What the reader accepts ----

TEST_F(PropertyListXmlTest, ReaderTakesTheXmlThatOtherWritersProduce) {
  // A byte-order mark, comments everywhere, CDATA, every entity, a bare root, attributes and spacing.
  Value v = read(
      "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- made by hand -->\n"
      "<!DOCTYPE plist [ <!ELEMENT plist ANY> ]>\n"
      "<plist version = '1.0' >\n<dict >\n<!-- c -->\t<key>t&#x2615;&#233;</key> <string>a<![CDATA[<&>]]>"
      "&lt;&gt;&amp;&quot;&apos;<!-- x -->b</string>\n<key>n</key><integer> -0x1F </integer>"
      "<key>r</key><real>+infinity</real><key>e</key><real>1E3</real><key>b</key><true></true>"
      "<key>s</key><string/><key>d</key><data>AA E\nC\tAw=\n=</data></dict></plist>\n<!-- end -->\n");
  EXPECT_EQ(v["t\xe2\x98\x95\xc3\xa9"].string(), "a<&><>&\"'b");
  EXPECT_EQ(v["n"].integerValue(), -31);
  EXPECT_EQ(v["r"].doubleValue(), 1.0 / 0.0);
  EXPECT_EQ(v["e"].doubleValue(), 1000.0);
  EXPECT_TRUE(v["b"].isBoolean() && v["b"].boolValue());
  EXPECT_TRUE(v["s"].isString() && v["s"].string().empty());
  EXPECT_EQ(v["d"].data(), (Data{0, 1, 2, 3}));
  EXPECT_EQ(read("<integer>7</integer>").integerValue(), 7);
  EXPECT_EQ(read("<date>2001-01-01T00:00:01.25Z</date>").date().secondsSince2001, 1.25);
  EXPECT_EQ(read("<date>2024-02-29T12:00:00Z</date>").date().secondsSince2001,
            static_cast<double>(daysSince2001({2024, 2, 29})) * 86400 + 43200);
}

TEST_F(PropertyListXmlTest, LaterDuplicateKeysReplaceEarlierOnesInPlace) {
  Value v =
      read(wrapped("<dict><key>a</key><integer>1</integer><key>b</key><true/><key>a</key><integer>2</integer>"
                   "</dict>"));
  ASSERT_EQ(v.dictionary().size(), 2u);
  EXPECT_EQ(v.dictionary().entries()[0].first, "a");
  EXPECT_EQ(v["a"].integerValue(), 2);
}

// ---- What the reader refuses ----

TEST_F(PropertyListXmlTest, StructuralFaultsAreRefusedWithTheirLine) {
  EXPECT_EQ(refusal("<plist>\n<dict>\n<key>a</key>\n<foo/>\n</dict></plist>").message,
            "XML property list has an unknown element <foo> (line 4)");
  EXPECT_EQ(refusal(wrapped("<dict><key>a</key></dict>")).message,
            "XML property list has the key \"a\" without a value (line 1)");
  EXPECT_EQ(refusal(wrapped("<dict><key>a</key><key>b</key><true/></dict>")).message,
            "XML property list has the key \"a\" without a value (line 1)");
  EXPECT_EQ(refusal(wrapped("<array></" + std::string(1000, 'x') + ">")).message,
            "XML property list closes <array> with </" + std::string(40, 'x') + "> (line 1)");
  EXPECT_EQ(refusal(wrapped("<dict><integer>1</integer></dict>")).message,
            "XML property list has <integer> where a <key> was expected in a <dict> (line 1)");
  EXPECT_EQ(refusal(wrapped("<array><key>a</key></array>")).message,
            "XML property list has a <key> outside a dictionary (line 1)");
  EXPECT_EQ(refusal(wrapped("<array>stray<true/></array>")).message,
            "XML property list has text where an element was expected (line 1)");
  EXPECT_EQ(refusal(wrapped("<array></dict>")).message, "XML property list closes <array> with </dict> (line 1)");
  EXPECT_EQ(refusal(wrapped("<string>a<b/></string>")).message,
            "XML property list has an element <b> inside <string> (line 1)");
  EXPECT_EQ(refusal(wrapped("<true/><false/>")).message,
            "XML property list has more than one value in <plist> (line 1)");
  EXPECT_EQ(refusal("<true/>trailing").message, "XML property list has content after its root value (line 1)");
  EXPECT_EQ(refusal("<plist/>").message, "XML property list holds no value (line 1)");
  EXPECT_EQ(refusal("  \n <!-- only a comment -->").message, "XML property list holds no value (line 2)");
  EXPECT_EQ(refusal(wrapped("<true>yes</true>")).message, "XML property list has text inside <true> (line 1)");
  EXPECT_EQ(refusal("<plist><dict><key>a</key><string>x").message, "XML property list ends inside <string> (line 1)");
  EXPECT_EQ(refusal("<plist><dict").message, "XML property list has a tag <dict> that never closes (line 1)");
  EXPECT_EQ(refusal("<plist><array>").message, "XML property list ends inside <array> (line 1)");
}

TEST_F(PropertyListXmlTest, ContentThatIsNotItsKindIsRefused) {
  for (const char* body : {"<integer></integer>",
                           "<integer>1.5</integer>",
                           "<integer>12abc</integer>",
                           "<integer>18446744073709551616</integer>",
                           "<integer>-9223372036854775809</integer>",
                           "<integer>0x</integer>",
                           "<integer>--1</integer>",
                           "<real></real>",
                           "<real>1,5</real>",
                           "<real>+-1</real>",
                           "<real>1e999</real>",
                           "<date>2001-02-29T00:00:00Z</date>",
                           "<date>2001-01-01T24:00:00Z</date>",
                           "<date>2001-01-01T00:00:00</date>",
                           "<date>0000-01-01T00:00:00Z</date>",
                           "<date>2001-01-01T00:00:00.Z</date>",
                           "<data>A</data>",
                           "<data>AA=A</data>",
                           "<data>A*AA</data>",
                           "<string>&bogus;</string>",
                           "<string>&#xD800;</string>",
                           "<string>&#x110000;</string>",
                           "<string>&#;</string>",
                           "<string>& </string>"})
    EXPECT_EQ(refusal(wrapped(body)).status, ReadStatus::Malformed) << body;
  EXPECT_EQ(refusal(wrapped("<integer>\n18446744073709551616</integer>")).message,
            "XML property list has an integer out of range: 18446744073709551616 (line 2)");
  EXPECT_EQ(read(wrapped("<integer>-9223372036854775808</integer>")).integerValue(), INT64_MIN);
  // Numbers beyond the signed range stay unsigned, and are written back as they were.
  for (const char* text : {"18446744073709551615", "9223372036854775808"}) {
    const Value big = read(wrapped("<integer>" + std::string(text) + "</integer>"));
    EXPECT_TRUE(big.isLargeUnsigned()) << text;
    EXPECT_EQ(std::to_string(big.unsignedIntegerValue()), text);
    EXPECT_GT(big.doubleValue(), 9e18);
    EXPECT_NE(PropertyListXmlWriter::write(big).find("<integer>" + std::string(text) + "</integer>"),
              std::string::npos);
  }
  EXPECT_FALSE(read(wrapped("<integer>9223372036854775807</integer>")).isLargeUnsigned());
  EXPECT_EQ(read(wrapped("<integer>9223372036854775807</integer>")), Value(int64_t{INT64_MAX}));
  // Text quoted in a message is trimmed, cut short and shows no control characters.
  EXPECT_EQ(refusal(wrapped("<real>\n 1.5\tx" + std::string(100, '9') + "</real>")).message,
            "XML property list has a real that is not a number: \"1.5\\x09x" + std::string(35, '9') + "\" (line 2)");
  EXPECT_EQ(refusal(wrapped("<string>&#0;</string>")).message, "XML with a reference to the NUL character");
}

TEST_F(PropertyListXmlTest, TextXmlForbidsIsRefusedWithItsLineWrittenOrReferenced) {
  // As xmllint and Python's plistlib refuse them: control characters, U+FFFE and U+FFFF, bytes that are not
  // UTF-8 (overlong forms and encoded surrogates included), written out in the file or as references.
  const std::vector<std::pair<std::string, std::string>> forbidden{
      {"\x01", "holds the character U+0001, which XML cannot carry"},
      {"\x1b[2J", "holds the character U+001B, which XML cannot carry"},
      {"\x7f\x08", "holds the character U+0008, which XML cannot carry"},
      {"\xef\xbf\xbe", "holds the character U+FFFE, which XML cannot carry"},
      {"\xef\xbf\xbf", "holds the character U+FFFF, which XML cannot carry"},
      {"\xff", "holds bytes that are not UTF-8"},
      {"\xc0\x80", "holds bytes that are not UTF-8"},
      {"\xed\xa0\x80", "holds bytes that are not UTF-8"},
      {"caf\xc3", "holds bytes that are not UTF-8"},
      {"&#1;", "has a reference to a character XML forbids &#1;"},
      {"&#x1B;", "has a reference to a character XML forbids &#x1B;"},
      {"&#xFFFE;", "has a reference to a character XML forbids &#xFFFE;"},
      {"&#xffff;", "has a reference to a character XML forbids &#xffff;"},
      {"&#xD800;", "has a reference to a character XML forbids &#xD800;"},
      {"&#xDFFF;", "has a reference to a character XML forbids &#xDFFF;"},
      {"&#x110000;", "has a reference to a character XML forbids &#x110000;"},
  };
  for (const auto& [text, why] : forbidden) {
    EXPECT_EQ(refusal("<plist>\n<dict>\n<key>k</key><string>a" + text + "</string>\n</dict></plist>").message,
              "XML property list " + why + " (line 3)")
        << text;
    // In a key, and outside any text at all, the same.
    EXPECT_EQ(refusal("<plist><dict><key>" + text + "</key><true/></dict></plist>").status, ReadStatus::Malformed);
  }
  EXPECT_NE(refusal("<plist><!-- \x02 --><true/></plist>").message.find("U+0002"), std::string::npos);

  // One definition on both sides: what the reader refuses written out, the writer refuses to write.
  for (const auto& [text, why] : forbidden) {
    if (text[0] == '&') continue;
    CheckResult check = PropertyListFile::checkStorable(Value(Dictionary{{"k", Value(text)}}));
    EXPECT_FALSE(check.ok()) << text;
    EXPECT_NE(check.message.find(why.substr(6)), std::string::npos) << check.message;
  }

  // Everything else XML allows is read: tab, line ends, DEL, C1 controls, private use, the last plane.
  Value fine = read(
      wrapped("<array><string>\t&#9;&#xA;&#xD;\x7f\xc2\x85\xee\x80\x80\xef\xbf\xbd&#x10FFFF;\xf4\x8f\xbf\xbf</string>"
              "</array>"));
  EXPECT_EQ(fine.array()[0].string(), "\t\t\n\r\x7f\xc2\x85\xee\x80\x80\xef\xbf\xbd\xf4\x8f\xbf\xbf\xf4\x8f\xbf\xbf");
  EXPECT_TRUE(PropertyListFile::checkStorable(Value(Dictionary{{"k", fine.array()[0]}})).ok());
}

TEST_F(PropertyListXmlTest, CapsAreCheckedAtTheElementThatBreaksThem) {
  Limits limits;
  limits.maxNodes = 3;
  EXPECT_TRUE(read(wrapped("<array><true/><false/></array>"), limits).isArray());
  // The fourth value is refused even though the file is broken after it: nothing past the cap is read.
  CheckResult result = refusal(wrapped("<array><true/><false/><true/><garbage"), limits);
  EXPECT_EQ(result.status, ReadStatus::TooComplex);
  EXPECT_EQ(result.message, "XML property list with more than 3 values");
}

}  // namespace
}  // namespace platform::plist
