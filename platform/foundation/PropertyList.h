#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace platform::plist {

class Value;

enum class Type { Null, Boolean, Integer, Real, String, Data, Date, Array, Dictionary };

using Array = std::vector<Value>;
using Data = std::vector<uint8_t>;

// A date, as seconds since 2001-01-01 00:00:00 UTC (the property-list epoch).
struct Date {
  double secondsSince2001 = 0;
  bool operator==(const Date&) const = default;
};

// An ordered dictionary of property-list values: keys keep their insertion
// order, as the files and the menus built from them show it. It is a plain
// value type (copy it to get a mutable copy); frozen into a Value it becomes
// an immutable snapshot that can be shared freely. Lookups by key do not
// allocate.
class Dictionary {
 public:
  using Entry = std::pair<std::string, Value>;

  Dictionary() = default;
  Dictionary(std::initializer_list<Entry> entries);

  // The value under `key`, or null when absent.
  const Value* find(std::string_view key) const;
  // Whether `key` is present.
  bool contains(std::string_view key) const { return find(key) != nullptr; }
  // Sets `key` (appended when new, replaced in place otherwise).
  void set(std::string key, Value value);
  // Removes `key`; returns whether it was present.
  bool remove(std::string_view key);

  size_t size() const;
  bool empty() const;
  auto begin() const { return entries_.begin(); }
  auto end() const { return entries_.end(); }
  const std::vector<Entry>& entries() const { return entries_; }

  bool operator==(const Dictionary& other) const;

 private:
  void rebuildIndex();
  std::vector<Entry> entries_;
  // Open-addressed index into entries_ for larger dictionaries (empty when small).
  std::vector<uint32_t> index_;
};

// An immutable property-list value: null, boolean, integer, real, string,
// data, date, array or dictionary. Copying a Value shares its content, so a
// snapshot handed out never changes afterwards.
class Value {
 public:
  Value() = default;  // null (nil)
  Value(bool b);
  Value(int v) : Value(static_cast<int64_t>(v)) {}
  Value(int64_t v);
  // An unsigned integer: one up to 2^63-1 is the same value as the signed one; one above is kept unsigned.
  Value(uint64_t v);
  Value(double v);
  Value(const char* s) : Value(std::string(s)) {}
  Value(std::string s);
  Value(Data d);
  Value(Date d);
  Value(Array a);
  Value(Dictionary d);

  Type type() const;
  bool isNull() const { return !node_; }
  bool isBoolean() const { return type() == Type::Boolean; }
  bool isInteger() const { return type() == Type::Integer; }
  // An integer of 2^63 or more, which only an unsigned 64-bit integer holds.
  bool isLargeUnsigned() const;
  bool isReal() const { return type() == Type::Real; }
  // Boolean, integer or real: what NSNumber holds.
  bool isNumber() const;
  bool isString() const { return type() == Type::String; }
  bool isData() const { return type() == Type::Data; }
  bool isDate() const { return type() == Type::Date; }
  bool isArray() const { return type() == Type::Array; }
  bool isDictionary() const { return type() == Type::Dictionary; }

  // NSNumber reads: a number converted (booleans as 0/1, reals truncated, an unsigned integer of 2^63 or more
  // wrapped as longLongValue does); 0 for anything else.
  int64_t integerValue() const;
  // unsignedLongLongValue: an integer's 64 bits read as unsigned (a negative one wraps); other numbers as
  // integerValue.
  uint64_t unsignedIntegerValue() const;
  // A number as a double; 0 for anything else.
  double doubleValue() const;
  // A number read as BOOL (non-zero); NO for anything else.
  bool boolValue() const;

  // The content of a string, data, date, array or dictionary; an empty one for another kind.
  const std::string& string() const;
  const Data& data() const;
  Date date() const;
  const Array& array() const;
  const Dictionary& dictionary() const;

  // For a dictionary: the value under `key`, null when absent or not a dictionary.
  Value operator[](std::string_view key) const;
  // For a dictionary: a pointer to the value under `key`, null when absent. Never allocates.
  const Value* find(std::string_view key) const;

  // Deep equality.
  bool operator==(const Value& other) const;
  // Whether both share the same content (cheap identity test).
  bool sameContent(const Value& other) const { return node_ == other.node_; }

  // A short human-readable rendering, for messages and command output.
  std::string describe() const;

 private:
  // An integer above the signed range; always 2^63 or more (smaller ones are held as int64_t).
  struct LargeUnsigned {
    uint64_t value = 0;
    bool operator==(const LargeUnsigned&) const = default;
  };
  using Node = std::variant<bool, int64_t, double, std::string, Data, Date, Array, Dictionary, LargeUnsigned>;
  static constexpr size_t kLargeUnsignedIndex = 8;
  std::shared_ptr<const Node> node_;
};

// The variant's alternatives are in the order of Type after Null, and then the large unsigned integers.
inline Type Value::type() const {
  if (!node_) return Type::Null;
  const size_t index = node_->index();
  return index == kLargeUnsignedIndex ? Type::Integer : static_cast<Type>(index + 1);
}

// Defined here, where Value is complete: clang instantiates these vector members eagerly.
inline size_t Dictionary::size() const { return entries_.size(); }
inline bool Dictionary::empty() const { return entries_.empty(); }

}  // namespace platform::plist
