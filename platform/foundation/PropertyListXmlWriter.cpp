#include "platform/foundation/PropertyListXmlWriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "platform/foundation/PropertyListCalendar.h"

namespace platform::plist {

namespace {

constexpr std::string_view kHeader =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
    "<plist version=\"1.0\">\n";
constexpr std::string_view kFooter = "</plist>\n";
constexpr size_t kBase64LineLength = 68;
// Digits of a date's fraction of a second, at most (with its '.').
constexpr size_t kMaxFractionDigits = 30;

size_t escapedSize(std::string_view text) {
  size_t size = text.size();
  for (char c : text) {
    if (c == '&')
      size += 4;
    else if (c == '<' || c == '>')
      size += 3;
  }
  return size;
}

// At least the size of the rendering of `v` at `depth`, so that the output is
// allocated once (reallocating a growing buffer took half the writing time).
size_t sizeBound(const Value& v, size_t depth) {
  constexpr size_t kLongestNumber = 24;  // "-2.2250738585072014e-308"
  switch (v.type()) {
    case Type::Null: return 0;
    case Type::Boolean: return depth + 9;
    case Type::Integer: return depth + 20 + kLongestNumber;
    case Type::Real: return depth + 14 + kLongestNumber;
    case Type::Date: return depth + 34 + kMaxFractionDigits;
    case Type::String: return depth + 18 + escapedSize(v.string());
    case Type::Data: {
      const size_t encoded = (v.data().size() + 2) / 3 * 4;
      const size_t lines = encoded / kBase64LineLength + 1;
      return 2 * depth + 15 + encoded + lines * (depth + 1);
    }
    case Type::Array: {
      size_t size = 2 * depth + 18;
      for (const Value& item : v.array()) size += sizeBound(item, depth + 1);
      return size;
    }
    case Type::Dictionary: {
      size_t size = 2 * depth + 16;
      for (const auto& [key, item] : v.dictionary()) size += depth + 13 + escapedSize(key) + sizeBound(item, depth + 1);
      return size;
    }
  }
  return 0;
}

// A growing character buffer written through a cursor. The save path writes
// tens of thousands of small pieces, so each append is kept to a bounds check
// and a copy the compiler can inline.
class OutputBuffer {
 public:
  explicit OutputBuffer(size_t capacity) : bytes_(capacity, '\0') { rewind(0); }

  [[gnu::always_inline]] void append(const char* text, size_t n) {
    if (static_cast<size_t>(end_ - cursor_) < n) grow(n);
    std::memcpy(cursor_, text, n);
    cursor_ += n;
  }
  void append(std::string_view text) { append(text.data(), text.size()); }
  template <size_t N>
  void literal(const char (&text)[N]) {
    append(text, N - 1);
  }
  [[gnu::always_inline]] void repeat(size_t count, char c) {
    if (static_cast<size_t>(end_ - cursor_) < count) grow(count);
    for (size_t i = 0; i < count; ++i) *cursor_++ = c;
  }
  // The bytes written.
  std::string take() && {
    bytes_.resize(static_cast<size_t>(cursor_ - bytes_.data()));
    return std::move(bytes_);
  }

 private:
  void rewind(size_t used) {
    cursor_ = bytes_.data() + used;
    end_ = bytes_.data() + bytes_.size();
  }
  void grow(size_t n) {
    const size_t used = static_cast<size_t>(cursor_ - bytes_.data());
    bytes_.resize(std::max(bytes_.size() * 2, used + n));
    rewind(used);
  }

  std::string bytes_;
  char* cursor_ = nullptr;
  char* end_ = nullptr;
};

class XmlOutput {
 public:
  explicit XmlOutput(OutputBuffer& out) : out_(out) {}

  void value(const Value& v, size_t depth) {
    switch (v.type()) {
      case Type::Null: break;  // refused before writing
      case Type::Boolean:
        out_.repeat(depth, '\t');
        if (v.boolValue())
          out_.literal("<true/>\n");
        else
          out_.literal("<false/>\n");
        break;
      case Type::Integer: {
        char buf[24];
        auto end = v.isLargeUnsigned() ? std::to_chars(buf, buf + sizeof buf, v.unsignedIntegerValue()).ptr
                                       : std::to_chars(buf, buf + sizeof buf, v.integerValue()).ptr;
        out_.repeat(depth, '\t');
        out_.literal("<integer>");
        out_.append(buf, static_cast<size_t>(end - buf));
        out_.literal("</integer>\n");
        break;
      }
      case Type::Real: real(depth, v.doubleValue()); break;
      case Type::String:
        out_.repeat(depth, '\t');
        out_.literal("<string>");
        escaped(v.string());
        out_.literal("</string>\n");
        break;
      case Type::Data: data(depth, v.data()); break;
      case Type::Date: date(depth, v.date()); break;
      case Type::Array: container(depth, "array", v.array(), [&](const Value& item) { value(item, depth + 1); }); break;
      case Type::Dictionary:
        container(depth, "dict", v.dictionary(), [&](const Dictionary::Entry& entry) {
          out_.repeat(depth + 1, '\t');
          out_.literal("<key>");
          escaped(entry.first);
          out_.literal("</key>\n");
          value(entry.second, depth + 1);
        });
        break;
    }
  }

 private:
  // `<name/>` for no items; otherwise `<name>`, each item written by `writeItem`, and `</name>`.
  template <typename Items, typename WriteItem>
  void container(size_t depth, std::string_view name, const Items& items, WriteItem writeItem) {
    out_.repeat(depth, '\t');
    out_.literal("<");
    out_.append(name);
    if (items.empty()) {
      out_.literal("/>\n");
      return;
    }
    out_.literal(">\n");
    for (const auto& item : items) writeItem(item);
    out_.repeat(depth, '\t');
    out_.literal("</");
    out_.append(name);
    out_.literal(">\n");
  }

  // Text content: '&', '<' and '>' become entities; every other byte is kept as it is.
  void escaped(std::string_view text) {
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      const char c = text[i];
      if (c != '&' && c != '<' && c != '>') continue;
      out_.append(text.substr(start, i - start));
      if (c == '&')
        out_.literal("&amp;");
      else if (c == '<')
        out_.literal("&lt;");
      else
        out_.literal("&gt;");
      start = i + 1;
    }
    out_.append(text.substr(start));
  }

  void real(size_t depth, double v) {
    char buf[32];
    std::string_view text;
    if (std::isnan(v)) {
      text = "nan";
    } else if (std::isinf(v)) {
      text = v > 0 ? "+infinity" : "-infinity";
    } else {
      auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
      text = std::string_view(buf, static_cast<size_t>(end - buf));
    }
    out_.repeat(depth, '\t');
    out_.literal("<real>");
    out_.append(text);
    out_.literal("</real>\n");
  }

  // UTC seconds; a fraction of a second, when there is one, as the fewest digits that read back exactly.
  void date(size_t depth, Date d) {
    const double whole = std::floor(d.secondsSince2001);
    const auto seconds = static_cast<int64_t>(whole);
    int64_t days = seconds / 86400;
    int64_t inDay = seconds % 86400;
    if (inDay < 0) inDay += 86400, --days;
    const CivilDate civil = civilFromDays(days);
    char buf[20 + kMaxFractionDigits + 1];
    auto two = [](char* at, int64_t n) {
      at[0] = static_cast<char>('0' + n / 10);
      at[1] = static_cast<char>('0' + n % 10);
    };
    two(buf, civil.year / 100);
    two(buf + 2, civil.year % 100);
    buf[4] = '-';
    two(buf + 5, civil.month);
    buf[7] = '-';
    two(buf + 8, civil.day);
    buf[10] = 'T';
    two(buf + 11, inDay / 3600);
    buf[13] = ':';
    two(buf + 14, inDay / 60 % 60);
    buf[16] = ':';
    two(buf + 17, inDay % 60);
    size_t length = 19;
    if (const double fraction = d.secondsSince2001 - whole; fraction > 0) {
      // "0.25" -> ".25": below 1, fixed notation always starts with "0.". A fraction too small to write in
      // kMaxFractionDigits (far below a nanosecond) is dropped.
      char digits[kMaxFractionDigits + 2];
      auto [end, ec] = std::to_chars(digits, digits + sizeof digits, fraction, std::chars_format::fixed);
      if (ec == std::errc()) {
        const size_t n = static_cast<size_t>(end - digits) - 1;
        std::memcpy(buf + length, digits + 1, n);
        length += n;
      }
    }
    buf[length++] = 'Z';
    out_.repeat(depth, '\t');
    out_.literal("<date>");
    out_.append(buf, length);
    out_.literal("</date>\n");
  }

  void data(size_t depth, const Data& bytes) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string encoded;
    encoded.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
      const uint32_t a = bytes[i];
      const uint32_t b = i + 1 < bytes.size() ? bytes[i + 1] : 0;
      const uint32_t c = i + 2 < bytes.size() ? bytes[i + 2] : 0;
      const uint32_t triple = a << 16 | b << 8 | c;
      encoded += kAlphabet[triple >> 18 & 63];
      encoded += kAlphabet[triple >> 12 & 63];
      encoded += i + 1 < bytes.size() ? kAlphabet[triple >> 6 & 63] : '=';
      encoded += i + 2 < bytes.size() ? kAlphabet[triple & 63] : '=';
    }
    out_.repeat(depth, '\t');
    out_.literal("<data>\n");
    for (size_t at = 0; at < encoded.size(); at += kBase64LineLength) {
      out_.repeat(depth, '\t');
      out_.append(std::string_view(encoded).substr(at, kBase64LineLength));
      out_.literal("\n");
    }
    out_.repeat(depth, '\t');
    out_.literal("</data>\n");
  }

  OutputBuffer& out_;
};

}  // namespace

std::string PropertyListXmlWriter::write(const Value& root) {
  OutputBuffer out(kHeader.size() + sizeBound(root, 0) + kFooter.size());
  out.append(kHeader);
  XmlOutput(out).value(root, 0);
  out.append(kFooter);
  return std::move(out).take();
}

}  // namespace platform::plist
