#include "platform/foundation/PropertyList.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>
#include <limits>
#include <type_traits>

#include "platform/foundation/PropertyListText.h"

namespace platform::plist {

namespace {

// Dictionaries up to this size are searched by a linear scan, which beats
// hashing for the handful of keys most dictionaries hold.
constexpr size_t kLinearScanLimit = 8;
constexpr uint32_t kEmptySlot = 0;

size_t hashKey(std::string_view key) { return std::hash<std::string_view>{}(key); }

// Number of index slots for `count` entries: a power of two, at most half full.
size_t slotCountFor(size_t count) {
  size_t slots = 16;
  while (slots < count * 2) slots *= 2;
  return slots;
}

const std::string& emptyString() {
  static const std::string* value = new std::string();
  return *value;
}

const Data& emptyData() {
  static const Data* value = new Data();
  return *value;
}

const Array& emptyArray() {
  static const Array* value = new Array();
  return *value;
}

const Dictionary& emptyDictionary() {
  static const Dictionary* value = new Dictionary();
  return *value;
}

// Quoted, with the escapes a description uses; any other control character, DEL and bytes that are not UTF-8
// as \xNN (PropertyListText::printable), so that a description never acts on a terminal.
void appendQuoted(std::string& out, const std::string& s) {
  std::string escaped;
  escaped.reserve(s.size());
  for (char c : s) {
    switch (c) {
      case '"': escaped += "\\\""; break;
      case '\\': escaped += "\\\\"; break;
      case '\n': escaped += "\\n"; break;
      case '\t': escaped += "\\t"; break;
      default: escaped += c;
    }
  }
  out += '"';
  out += PropertyListText::printable(escaped);
  out += '"';
}

// Keys made only of letters, digits, '_' and '.' print without quotes, as
// NSDictionary's description does.
bool isPlainKey(const std::string& key) {
  if (key.empty()) return false;
  for (char c : key) {
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.';
    if (!plain) return false;
  }
  return true;
}

void appendReal(std::string& out, double v) {
  if (std::isnan(v)) {
    out += "nan";
    return;
  }
  if (std::isinf(v)) {
    out += v > 0 ? "inf" : "-inf";
    return;
  }
  char buf[32];
  auto result = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, result.ptr);
}

void appendDate(std::string& out, Date d) {
  constexpr double kUnixOffset = 978307200.0;  // 2001-01-01 in Unix time
  double unix = std::floor(d.secondsSince2001 + kUnixOffset);
  // Keep within what gmtime can render; dates outside years 0..9999 print as a number.
  if (!(unix > -62167219200.0 && unix < 253402300800.0)) {
    out += "date(";
    appendReal(out, d.secondsSince2001);
    out += ')';
    return;
  }
  time_t t = static_cast<time_t>(unix);
  struct tm tm {};
  gmtime_r(&t, &tm);
  char buf[40];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02dZ", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                tm.tm_hour, tm.tm_min, tm.tm_sec);
  out += buf;
}

void describeInto(std::string& out, const Value& v);

void describeDictionary(std::string& out, const Dictionary& d) {
  out += '{';
  bool first = true;
  for (const auto& [key, value] : d) {
    out += first ? " " : "; ";
    first = false;
    if (isPlainKey(key))
      out += key;
    else
      appendQuoted(out, key);
    out += " = ";
    describeInto(out, value);
  }
  out += first ? "}" : " }";
}

void describeInto(std::string& out, const Value& v) {
  switch (v.type()) {
    case Type::Null: out += "nil"; break;
    case Type::Boolean: out += v.boolValue() ? "YES" : "NO"; break;
    case Type::Integer:
      out += v.isLargeUnsigned() ? std::to_string(v.unsignedIntegerValue()) : std::to_string(v.integerValue());
      break;
    case Type::Real: appendReal(out, v.doubleValue()); break;
    case Type::String: appendQuoted(out, v.string()); break;
    case Type::Data: {
      // Only the first bytes: data can be large and is rarely read by people.
      constexpr size_t kShown = 16;
      const Data& data = v.data();
      out += '<';
      char buf[4];
      for (size_t i = 0; i < data.size() && i < kShown; ++i) {
        std::snprintf(buf, sizeof buf, "%02x", data[i]);
        out += buf;
      }
      if (data.size() > kShown) out += "...";
      out += "> (" + std::to_string(data.size()) + " bytes)";
      break;
    }
    case Type::Date: appendDate(out, v.date()); break;
    case Type::Array: {
      out += '(';
      bool first = true;
      for (const Value& item : v.array()) {
        if (!first) out += ", ";
        first = false;
        describeInto(out, item);
      }
      out += ')';
      break;
    }
    case Type::Dictionary: describeDictionary(out, v.dictionary()); break;
  }
}

}  // namespace

// ---- Dictionary ----

Dictionary::Dictionary(std::initializer_list<Entry> entries) {
  entries_.reserve(entries.size());
  for (const Entry& entry : entries) set(entry.first, entry.second);
}

const Value* Dictionary::find(std::string_view key) const {
  if (index_.empty()) {
    for (const Entry& entry : entries_)
      if (entry.first == key) return &entry.second;
    return nullptr;
  }
  const size_t mask = index_.size() - 1;
  for (size_t slot = hashKey(key) & mask;; slot = (slot + 1) & mask) {
    uint32_t stored = index_[slot];
    if (stored == kEmptySlot) return nullptr;
    const Entry& entry = entries_[stored - 1];
    if (entry.first == key) return &entry.second;
  }
}

void Dictionary::set(std::string key, Value value) {
  // Replace in place when present (find hands out const; the entry is ours).
  if (Value* existing = const_cast<Value*>(find(key))) {
    *existing = std::move(value);
    return;
  }
  entries_.emplace_back(std::move(key), std::move(value));
  if (entries_.size() <= kLinearScanLimit) return;
  if (index_.empty() || entries_.size() * 2 > index_.size()) {
    rebuildIndex();
    return;
  }
  const size_t mask = index_.size() - 1;
  size_t slot = hashKey(entries_.back().first) & mask;
  while (index_[slot] != kEmptySlot) slot = (slot + 1) & mask;
  index_[slot] = static_cast<uint32_t>(entries_.size());
}

bool Dictionary::remove(std::string_view key) {
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].first == key) {
      entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
      rebuildIndex();
      return true;
    }
  }
  return false;
}

void Dictionary::rebuildIndex() {
  index_.clear();
  if (entries_.size() <= kLinearScanLimit) {
    index_.shrink_to_fit();
    return;
  }
  index_.assign(slotCountFor(entries_.size()), kEmptySlot);
  const size_t mask = index_.size() - 1;
  for (size_t i = 0; i < entries_.size(); ++i) {
    size_t slot = hashKey(entries_[i].first) & mask;
    while (index_[slot] != kEmptySlot) slot = (slot + 1) & mask;
    index_[slot] = static_cast<uint32_t>(i + 1);
  }
}

bool Dictionary::operator==(const Dictionary& other) const {
  // Like NSDictionary: the same keys with equal values, in any order.
  if (entries_.size() != other.entries_.size()) return false;
  for (const auto& [key, value] : entries_) {
    const Value* theirs = other.find(key);
    if (!theirs || !(*theirs == value)) return false;
  }
  return true;
}

// ---- Value ----

Value::Value(bool b) : node_(std::make_shared<const Node>(std::in_place_type<bool>, b)) {}
Value::Value(int64_t v) : node_(std::make_shared<const Node>(std::in_place_type<int64_t>, v)) {}
Value::Value(uint64_t v)
    : node_(v <= static_cast<uint64_t>(std::numeric_limits<int64_t>::max())
                ? std::make_shared<const Node>(std::in_place_type<int64_t>, static_cast<int64_t>(v))
                : std::make_shared<const Node>(std::in_place_type<LargeUnsigned>, LargeUnsigned{v})) {}
Value::Value(double v) : node_(std::make_shared<const Node>(std::in_place_type<double>, v)) {}
Value::Value(std::string s) : node_(std::make_shared<const Node>(std::in_place_type<std::string>, std::move(s))) {}
Value::Value(Data d) : node_(std::make_shared<const Node>(std::in_place_type<Data>, std::move(d))) {}
Value::Value(Date d) : node_(std::make_shared<const Node>(std::in_place_type<Date>, d)) {}
Value::Value(Array a) : node_(std::make_shared<const Node>(std::in_place_type<Array>, std::move(a))) {}
Value::Value(Dictionary d) : node_(std::make_shared<const Node>(std::in_place_type<Dictionary>, std::move(d))) {}

bool Value::isNumber() const {
  Type t = type();
  return t == Type::Boolean || t == Type::Integer || t == Type::Real;
}

bool Value::isLargeUnsigned() const {
  static_assert(std::is_same_v<std::variant_alternative_t<kLargeUnsignedIndex, Node>, LargeUnsigned>);
  return node_ && node_->index() == kLargeUnsignedIndex;
}

int64_t Value::integerValue() const {
  if (!node_) return 0;
  if (const bool* b = std::get_if<bool>(node_.get())) return *b ? 1 : 0;
  if (const int64_t* i = std::get_if<int64_t>(node_.get())) return *i;
  if (const LargeUnsigned* u = std::get_if<LargeUnsigned>(node_.get())) return static_cast<int64_t>(u->value);
  if (const double* d = std::get_if<double>(node_.get())) {
    // Truncate toward zero; values out of range saturate instead of being undefined.
    if (std::isnan(*d)) return 0;
    if (*d >= 9223372036854775808.0) return std::numeric_limits<int64_t>::max();
    if (*d <= -9223372036854775808.0) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(*d);
  }
  return 0;
}

uint64_t Value::unsignedIntegerValue() const {
  if (const LargeUnsigned* u = node_ ? std::get_if<LargeUnsigned>(node_.get()) : nullptr) return u->value;
  return static_cast<uint64_t>(integerValue());
}

double Value::doubleValue() const {
  if (!node_) return 0;
  if (const bool* b = std::get_if<bool>(node_.get())) return *b ? 1.0 : 0.0;
  if (const int64_t* i = std::get_if<int64_t>(node_.get())) return static_cast<double>(*i);
  if (const LargeUnsigned* u = std::get_if<LargeUnsigned>(node_.get())) return static_cast<double>(u->value);
  if (const double* d = std::get_if<double>(node_.get())) return *d;
  return 0;
}

bool Value::boolValue() const {
  if (!node_) return false;
  if (const bool* b = std::get_if<bool>(node_.get())) return *b;
  if (const int64_t* i = std::get_if<int64_t>(node_.get())) return *i != 0;
  if (std::get_if<LargeUnsigned>(node_.get())) return true;
  if (const double* d = std::get_if<double>(node_.get())) return *d != 0.0;
  return false;
}

const std::string& Value::string() const {
  const std::string* s = node_ ? std::get_if<std::string>(node_.get()) : nullptr;
  return s ? *s : emptyString();
}

const Data& Value::data() const {
  const Data* d = node_ ? std::get_if<Data>(node_.get()) : nullptr;
  return d ? *d : emptyData();
}

Date Value::date() const {
  const Date* d = node_ ? std::get_if<Date>(node_.get()) : nullptr;
  return d ? *d : Date{};
}

const Array& Value::array() const {
  const Array* a = node_ ? std::get_if<Array>(node_.get()) : nullptr;
  return a ? *a : emptyArray();
}

const Dictionary& Value::dictionary() const {
  const Dictionary* d = node_ ? std::get_if<Dictionary>(node_.get()) : nullptr;
  return d ? *d : emptyDictionary();
}

Value Value::operator[](std::string_view key) const {
  const Value* found = find(key);
  return found ? *found : Value();
}

const Value* Value::find(std::string_view key) const {
  const Dictionary* d = node_ ? std::get_if<Dictionary>(node_.get()) : nullptr;
  return d ? d->find(key) : nullptr;
}

bool Value::operator==(const Value& other) const {
  if (node_ == other.node_) return true;
  if (!node_ || !other.node_) return false;
  return *node_ == *other.node_;
}

std::string Value::describe() const {
  std::string out;
  describeInto(out, *this);
  return out;
}

}  // namespace platform::plist
