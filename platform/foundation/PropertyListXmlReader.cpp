#include "platform/foundation/PropertyListXmlReader.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <optional>
#include <string>

#include "platform/foundation/PropertyListCalendar.h"
#include "platform/foundation/PropertyListText.h"
#include "platform/foundation/Utf8.h"

namespace platform::plist {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
  return s;
}

// Text from the file as a message shows it: trimmed, at most 40 bytes, control characters escaped.
std::string shown(std::string_view text) { return PropertyListText::printable(trimmed(text).substr(0, 40)); }

// A tag as read from the input: `<name ...>`, `<name .../>` or `</name>`.
struct Tag {
  std::string_view name;
  bool closing = false;
  bool selfClosing = false;
};

// One parse of one document. Every step returns false once the first failure
// has been recorded; later steps never overwrite it.
class XmlParser {
 public:
  XmlParser(std::string_view s, const Limits& limits) : s_(s), limits_(limits) {}

  CheckResult run(Value& out) {
    // UTF-16 and UTF-32 (with a byte-order mark, or "<" followed by zero bytes) are encodings this reader does not
    // take: said as such, rather than as the NUL characters they are full of.
    if (s_.substr(0, 2) == "\xFF\xFE" || s_.substr(0, 2) == "\xFE\xFF" ||
        (s_.size() >= 2 && ((s_[0] == '<' && s_[1] == '\0') || (s_[0] == '\0' && s_[1] == '<'))))
      return CheckResult::fail(ReadStatus::Malformed,
                               "XML in UTF-16 or UTF-32, which is not supported (save it as UTF-8)");
    if (s_.find('\0') != std::string_view::npos)
      return CheckResult::fail(ReadStatus::Malformed, "XML with a NUL character");
    if (std::optional<PropertyListText::Fault> fault = PropertyListText::findFault(s_)) {
      pos_ = fault->offset;
      malformed("holds " + fault->why);
      return std::move(error_);
    }
    if (s_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
    if (parseDocument(out)) return {};
    out = Value();
    return std::move(error_);
  }

 private:
  bool fail(ReadStatus status, std::string why) {
    if (error_.ok()) error_ = CheckResult::fail(status, std::move(why));
    return false;
  }

  // A structural fault, with the line it is on.
  bool malformed(const std::string& why) {
    const size_t at = std::min(pos_, s_.size());
    const auto line = 1 + std::count(s_.begin(), s_.begin() + static_cast<std::ptrdiff_t>(at), '\n');
    return fail(ReadStatus::Malformed, "XML property list " + why + " (line " + std::to_string(line) + ")");
  }

  bool startsWith(std::string_view prefix) const { return s_.substr(pos_, prefix.size()) == prefix; }
  bool atEnd() const { return pos_ >= s_.size(); }

  // Moves past `terminator`, which must come later in the input.
  bool skipPast(std::string_view terminator, const char* what) {
    size_t end = s_.find(terminator, pos_);
    if (end == std::string_view::npos) return malformed(std::string(what) + " never closes");
    pos_ = end + terminator.size();
    return true;
  }

  // The '>' that ends the markup going on at `from`, outside quoted values (and, for a declaration, outside an
  // internal subset in brackets); npos when there is none.
  size_t markupEnd(size_t from, bool subsets) const {
    int brackets = 0;
    char quote = 0;
    for (size_t i = from; i < s_.size(); ++i) {
      const char c = s_[i];
      if (quote) {
        if (c == quote) quote = 0;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (subsets && (c == '[' || c == ']')) {
        brackets += c == '[' ? 1 : -1;
      } else if (c == '>' && brackets <= 0) {
        return i;
      }
    }
    return std::string_view::npos;
  }

  // Skips a "<!DOCTYPE ...>" declaration, including an internal subset in brackets.
  bool skipDeclaration() {
    const size_t end = markupEnd(pos_ + 2, true);
    if (end == std::string_view::npos) return malformed("declaration never closes");
    pos_ = end + 1;
    return true;
  }

  // Skips white space, comments, processing instructions and declarations.
  bool skipMisc() {
    for (;;) {
      while (!atEnd() && isSpace(s_[pos_])) ++pos_;
      if (startsWith("<!--")) {
        if (!skipPast("-->", "comment")) return false;
      } else if (startsWith("<?")) {
        if (!skipPast("?>", "processing instruction")) return false;
      } else if (startsWith("<!") && !startsWith("<![CDATA[")) {
        if (!skipDeclaration()) return false;
      } else {
        return true;
      }
    }
  }

  // Reads the tag at the current position, which must be a '<'.
  bool readTag(Tag& tag) {
    if (atEnd() || s_[pos_] != '<') return malformed("has text where an element was expected");
    size_t i = pos_ + 1;
    tag = Tag{};
    if (i < s_.size() && s_[i] == '/') tag.closing = true, ++i;
    const size_t nameStart = i;
    while (i < s_.size() && !isSpace(s_[i]) && s_[i] != '/' && s_[i] != '>') ++i;
    tag.name = s_.substr(nameStart, i - nameStart);
    if (tag.name.empty()) return malformed("has an element without a name");
    const size_t end = markupEnd(i, false);
    if (end != std::string_view::npos) {
      tag.selfClosing = !tag.closing && s_[end - 1] == '/';
      pos_ = end + 1;
      return true;
    }
    return malformed("has a tag <" + shown(tag.name) + "> that never closes");
  }

  // Reads the next element's tag, skipping what may stand between elements.
  bool nextTag(Tag& tag, std::string_view inside) {
    if (!skipMisc()) return false;
    if (atEnd()) return malformed("ends inside <" + std::string(inside) + ">");
    return readTag(tag);
  }

  // Reads the next tag inside `container`; `done` is set when it is the container's own closing tag.
  bool nextMember(std::string_view container, Tag& tag, bool& done) {
    if (!nextTag(tag, container)) return false;
    done = tag.closing;
    if (done && tag.name != container)
      return malformed("closes <" + std::string(container) + "> with </" + shown(tag.name) + ">");
    return true;
  }

  // Decodes the entity at the current position (a '&') into `out`.
  bool readEntity(std::string& out) {
    const size_t end = s_.find(';', pos_);
    if (end == std::string_view::npos || end - pos_ > 12) return malformed("has an unfinished entity");
    const std::string_view name = s_.substr(pos_ + 1, end - pos_ - 1);
    pos_ = end + 1;
    if (name == "amp") return out += '&', true;
    if (name == "lt") return out += '<', true;
    if (name == "gt") return out += '>', true;
    if (name == "quot") return out += '"', true;
    if (name == "apos") return out += '\'', true;
    if (name.size() < 2 || name[0] != '#') return malformed("has an unknown entity &" + std::string(name) + ";");
    std::string_view digits = name.substr(1);
    int base = 10;
    if (digits[0] == 'x' || digits[0] == 'X') digits.remove_prefix(1), base = 16;
    uint32_t code = 0;
    auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), code, base);
    if (digits.empty() || ec != std::errc() || ptr != digits.data() + digits.size())
      return malformed("has a bad character reference &" + shown(name) + ";");
    if (code == 0) return fail(ReadStatus::Malformed, "XML with a reference to the NUL character");
    if (!PropertyListText::isXmlCharacter(code))
      return malformed("has a reference to a character XML forbids &" + shown(name) + ";");
    platform::appendUtf8(out, code);
    return true;
  }

  // Reads the text content of `tag` up to and including its closing tag.
  bool readText(const Tag& tag, std::string& text) {
    text.clear();
    if (tag.selfClosing) return true;
    for (;;) {
      size_t i = pos_;
      while (i < s_.size() && s_[i] != '<' && s_[i] != '&') ++i;
      text.append(s_.substr(pos_, i - pos_));
      pos_ = i;
      if (atEnd()) return malformed("ends inside <" + std::string(tag.name) + ">");
      if (s_[pos_] == '&') {
        if (!readEntity(text)) return false;
      } else if (startsWith("<![CDATA[")) {
        const size_t start = pos_ + 9;
        if (!skipPast("]]>", "CDATA section")) return false;
        text.append(s_.substr(start, pos_ - 3 - start));
      } else if (startsWith("<!--")) {
        if (!skipPast("-->", "comment")) return false;
      } else {
        Tag inner;
        if (!readTag(inner)) return false;
        if (!inner.closing)
          return malformed("has an element <" + shown(inner.name) + "> inside <" + std::string(tag.name) + ">");
        if (inner.name != tag.name)
          return malformed("closes <" + std::string(tag.name) + "> with </" + shown(inner.name) + ">");
        return true;
      }
    }
  }

  // Expects the closing tag of an element that holds nothing (<true></true>).
  bool readEmpty(const Tag& tag) {
    if (tag.selfClosing) return true;
    std::string text;
    if (!readText(tag, text)) return false;
    if (!trimmed(text).empty()) return malformed("has text inside <" + std::string(tag.name) + ">");
    return true;
  }

  bool parseInteger(std::string_view text, Value& out) {
    std::string_view t = trimmed(text);
    const bool negative = !t.empty() && t[0] == '-';
    if (!t.empty() && (t[0] == '-' || t[0] == '+')) t.remove_prefix(1);
    int base = 10;
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) t.remove_prefix(2), base = 16;
    uint64_t magnitude = 0;
    auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), magnitude, base);
    if (t.empty() || ptr != t.data() + t.size() || (ec != std::errc() && ec != std::errc::result_out_of_range))
      return malformed("has an integer that is not a number: \"" + shown(text) + "\"");
    // From -2^63 to 2^64-1: a number beyond the signed range stays unsigned, as the writer writes it.
    if (ec == std::errc::result_out_of_range || (negative && magnitude > static_cast<uint64_t>(INT64_MAX) + 1))
      return malformed("has an integer out of range: " + shown(text));
    out = negative ? Value(static_cast<int64_t>(0 - magnitude)) : Value(magnitude);
    return true;
  }

  bool parseReal(std::string_view text, Value& out) {
    std::string_view t = trimmed(text);
    if (t.size() > 1 && t[0] == '+' && t[1] != '-') t.remove_prefix(1);
    double v = 0;
    auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || ec != std::errc() || ptr != t.data() + t.size())
      return malformed("has a real that is not a number: \"" + shown(text) + "\"");
    out = Value(v);
    return true;
  }

  // "YYYY-MM-DDTHH:MM:SSZ", with an optional fraction of a second before the Z.
  bool parseDate(std::string_view text, Value& out) {
    const std::string_view t = trimmed(text);
    auto number = [&](size_t at, size_t width, int64_t& n) {
      n = 0;
      if (at + width > t.size()) return false;
      for (size_t i = at; i < at + width; ++i) {
        if (t[i] < '0' || t[i] > '9') return false;
        n = n * 10 + (t[i] - '0');
      }
      return true;
    };
    int64_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    bool ok = number(0, 4, year) && t.size() >= 20 && t[4] == '-' && number(5, 2, month) && t[7] == '-' &&
              number(8, 2, day) && t[10] == 'T' && number(11, 2, hour) && t[13] == ':' && number(14, 2, minute) &&
              t[16] == ':' && number(17, 2, second) && t.back() == 'Z';
    double fraction = 0;
    if (ok && t.size() > 20) {
      // ".ddd" before the Z, read as the real "0.ddd" so that what the writer wrote reads back exactly.
      const std::string_view digits = t.substr(19, t.size() - 20);
      ok = digits.size() >= 2 && digits[0] == '.' &&
           std::all_of(digits.begin() + 1, digits.end(), [](char c) { return c >= '0' && c <= '9'; });
      if (ok) {
        const std::string real = "0" + std::string(digits);
        ok = std::from_chars(real.data(), real.data() + real.size(), fraction).ec == std::errc();
      }
    }
    ok = ok && year >= 1 && month >= 1 && month <= 12 && day >= 1 &&
         day <= daysInMonth(year, static_cast<int>(month)) && hour <= 23 && minute <= 59 && second <= 59;
    if (!ok) return malformed("has a date that is not a date: \"" + shown(text) + "\"");
    const int64_t days = daysSince2001({year, static_cast<int>(month), static_cast<int>(day)});
    out = Value(Date{static_cast<double>(days * 86400 + hour * 3600 + minute * 60 + second) + fraction});
    return true;
  }

  bool parseData(std::string_view text, Value& out) {
    Data bytes;
    bytes.reserve(text.size() / 4 * 3);
    uint32_t bits = 0;
    int count = 0;
    bool padded = false;
    for (char c : text) {
      int v;
      if (c >= 'A' && c <= 'Z')
        v = c - 'A';
      else if (c >= 'a' && c <= 'z')
        v = c - 'a' + 26;
      else if (c >= '0' && c <= '9')
        v = c - '0' + 52;
      else if (c == '+')
        v = 62;
      else if (c == '/')
        v = 63;
      else if (isSpace(c))
        continue;
      else if (c == '=') {
        padded = true;
        continue;
      } else
        return malformed("has data that is not base64");
      if (padded) return malformed("has data that is not base64");
      bits = bits << 6 | static_cast<uint32_t>(v);
      if (++count == 4) {
        bytes.push_back(static_cast<uint8_t>(bits >> 16));
        bytes.push_back(static_cast<uint8_t>(bits >> 8));
        bytes.push_back(static_cast<uint8_t>(bits));
        bits = 0;
        count = 0;
      }
    }
    if (count == 1) return malformed("has data that is not base64");
    if (count == 2) bytes.push_back(static_cast<uint8_t>(bits >> 4));
    if (count == 3) {
      bytes.push_back(static_cast<uint8_t>(bits >> 10));
      bytes.push_back(static_cast<uint8_t>(bits >> 2));
    }
    out = Value(std::move(bytes));
    return true;
  }

  bool parseArray(const Tag& tag, size_t depth, Value& out) {
    Array items;
    if (!tag.selfClosing) {
      for (;;) {
        Tag next;
        bool done = false;
        if (!nextMember("array", next, done)) return false;
        if (done) break;
        Value item;
        if (!parseValue(next, depth + 1, item)) return false;
        items.push_back(std::move(item));
      }
    }
    out = Value(std::move(items));
    return true;
  }

  bool parseDictionary(const Tag& tag, size_t depth, Value& out) {
    Dictionary dict;
    size_t entries = 0;
    std::string key;
    if (!tag.selfClosing) {
      for (;;) {
        Tag next;
        bool done = false;
        if (!nextMember("dict", next, done)) return false;
        if (done) break;
        if (next.name != "key")
          return malformed("has <" + shown(next.name) + "> where a <key> was expected in a <dict>");
        if (++entries > limits_.maxDictionaryEntries)
          return fail(ReadStatus::TooComplex, "XML property list with a dictionary of more than " +
                                                  std::to_string(limits_.maxDictionaryEntries) + " entries");
        if (!readText(next, key)) return false;
        Tag valueTag;
        if (!nextTag(valueTag, "dict")) return false;
        // A closing tag or the next key: this key has no value.
        if (valueTag.closing || valueTag.name == "key")
          return malformed("has the key \"" + shown(key) + "\" without a value");
        Value value;
        if (!parseValue(valueTag, depth + 1, value)) return false;
        dict.set(std::move(key), std::move(value));
        key = std::string();
      }
    }
    out = Value(std::move(dict));
    return true;
  }

  // Parses the value whose opening tag has just been read, at nesting `depth` (the root is 1).
  bool parseValue(const Tag& tag, size_t depth, Value& out) {
    if (tag.closing) return malformed("has </" + shown(tag.name) + "> where a value was expected");
    if (++values_ > limits_.maxNodes)
      return fail(ReadStatus::TooComplex,
                  "XML property list with more than " + std::to_string(limits_.maxNodes) + " values");
    if (depth > limits_.maxDepth)
      return fail(ReadStatus::TooComplex,
                  "XML property list nested deeper than " + std::to_string(limits_.maxDepth) + " levels");
    const std::string_view name = tag.name;
    if (name == "dict") return parseDictionary(tag, depth, out);
    if (name == "array") return parseArray(tag, depth, out);
    if (name == "true" || name == "false") {
      out = Value(name == "true");
      return readEmpty(tag);
    }
    std::string text;
    if (name == "string") {
      if (!readText(tag, text)) return false;
      out = Value(std::move(text));
      return true;
    }
    if (name == "integer") return readText(tag, text) && parseInteger(text, out);
    if (name == "real") return readText(tag, text) && parseReal(text, out);
    if (name == "date") return readText(tag, text) && parseDate(text, out);
    if (name == "data") return readText(tag, text) && parseData(text, out);
    if (name == "key") return malformed("has a <key> outside a dictionary");
    return malformed("has an unknown element <" + shown(name) + ">");
  }

  bool parseDocument(Value& out) {
    Tag tag;
    if (!skipMisc()) return false;
    if (atEnd()) return malformed("holds no value");
    if (!readTag(tag)) return false;
    const bool wrapped = tag.name == "plist" && !tag.closing;
    if (wrapped) {
      if (tag.selfClosing) return malformed("holds no value");
      if (!nextTag(tag, "plist")) return false;
      if (tag.closing) return malformed("holds no value");
    }
    if (limits_.dictionaryRoot && tag.name != "dict")
      return fail(ReadStatus::Malformed, "property list whose root is not a dictionary");
    if (!parseValue(tag, 1, out)) return false;
    if (wrapped) {
      Tag close;
      if (!nextTag(close, "plist")) return false;
      if (!close.closing || close.name != "plist") return malformed("has more than one value in <plist>");
    }
    if (!skipMisc()) return false;
    if (!atEnd()) return malformed("has content after its root value");
    return true;
  }

  std::string_view s_;
  const Limits& limits_;
  size_t pos_ = 0;
  size_t values_ = 0;
  CheckResult error_;
};

}  // namespace

CheckResult PropertyListXmlReader::read(std::string_view xml, const Limits& limits, Value& out) {
  return XmlParser(xml, limits).run(out);
}

}  // namespace platform::plist
