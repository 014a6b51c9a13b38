#pragma once

#include <cstddef>
#include <string>
#include <utility>

namespace platform::plist {

// The caps every property list read from a file (or written to one) must
// meet. They keep a hostile or damaged file from costing more than a few
// megabytes and milliseconds, and keep libplist away from the shapes it
// cannot survive (deep nesting, objects that reference each other many times).
struct Limits {
  // Size of the file itself.
  size_t maxBytes = 4 * 1024 * 1024;
  // Nesting depth: a lone scalar is 1, an array of scalars 2.
  size_t maxDepth = 32;
  // Number of values in the whole tree (dictionary keys not counted).
  size_t maxNodes = 50000;
  // Entries of one dictionary: libplist's binary parse time grows faster than linearly with them.
  size_t maxDictionaryEntries = 10000;
  // Bytes of text and data in the whole tree once every shared reference of a
  // binary file has been expanded into its own copy.
  size_t maxExpandedBytes = 8 * 1024 * 1024;
  // Refuse, before parsing, a file whose root is not a dictionary (a preference domain's must be).
  bool dictionaryRoot = false;
};

// Why a file or byte string was refused.
enum class ReadStatus {
  Ok,
  Missing,     // no file at the path
  Unreadable,  // the file exists but could not be read (not a regular file, I/O error)
  TooLarge,    // over maxBytes
  Malformed,   // not a readable property list, or inconsistent
  TooComplex,  // over maxDepth, maxNodes, maxDictionaryEntries or maxExpandedBytes
};

// A check's verdict: Ok, or the reason with a message for the log.
struct CheckResult {
  ReadStatus status = ReadStatus::Ok;
  std::string message;
  bool ok() const { return status == ReadStatus::Ok; }
  static CheckResult fail(ReadStatus status, std::string message) { return {status, std::move(message)}; }
};

// A readable name of a status, for messages.
inline const char* describeStatus(ReadStatus status) {
  switch (status) {
    case ReadStatus::Ok: return "ok";
    case ReadStatus::Missing: return "missing";
    case ReadStatus::Unreadable: return "unreadable";
    case ReadStatus::TooLarge: return "too large";
    case ReadStatus::Malformed: return "malformed";
    case ReadStatus::TooComplex: return "too complex";
  }
  return "unknown";
}

}  // namespace platform::plist
