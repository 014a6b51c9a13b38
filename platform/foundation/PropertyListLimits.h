#pragma once

#include <cstddef>
#include <string>
#include <utility>

namespace platform::plist {

// The caps every property list read from a file (or written to one) must
// meet. They keep a hostile or damaged file from costing more than a few
// megabytes and milliseconds, whatever its shape (deep nesting, objects that
// reference each other many times).
struct Limits {
  // Size of the file itself.
  size_t maxBytes = 4 * 1024 * 1024;
  // Nesting depth: a lone scalar is 1, an array of scalars 2.
  size_t maxDepth = 32;
  // Number of values in the whole tree (dictionary keys not counted).
  size_t maxNodes = 50000;
  // Entries of one dictionary.
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
  // A well-formed file holding a value that has no faithful form here (a 128-bit integer beyond 64 bits, a lone
  // surrogate, a null): it must be left as it is rather than rewritten without it.
  Unrepresentable,
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
    case ReadStatus::Unrepresentable: return "holds a value that cannot be kept";
  }
  return "unknown";
}

}  // namespace platform::plist
