#pragma once

#include <string>
#include <string_view>

namespace platform {

// Checks on text crossing the device bus. D-Bus strings must be UTF-8
// without NUL bytes; a name from another process is also held to a length a
// notification name can sensibly have. Stateless.
class BusText {
 public:
  // Longest notification name accepted, in bytes.
  static constexpr size_t kMaxNameLength = 1024;

  // Whether `text` is UTF-8 with no NUL byte (what a D-Bus string may hold).
  static bool isValid(std::string_view text);
  // `text` with every NUL byte and invalid UTF-8 sequence replaced by U+FFFD.
  static std::string sanitized(std::string_view text);
  // Why `name` is not a usable notification name, or "" when it is.
  static std::string checkName(std::string_view name);
};

}  // namespace platform
