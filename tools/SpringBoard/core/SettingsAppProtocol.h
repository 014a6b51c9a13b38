#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessra::device {

// The line protocol between the home screen of a dry run and its Settings app
// process (Preferences --dry), which run stepped together on one clock. Each
// message is one line: a kind and fields, each field hex-encoded so that any
// text travels unchanged.
//
//   to the Settings app:   cmd TIME_NS VERB ARG...   run a command at the home screen's time
//                          darwin NAME               a Darwin notification posted in the home screen
//                          dist NAME PLIST_XML       a distributed notification posted there
//                          quit
//   from the Settings app: darwin NAME / dist NAME PLIST_XML   posted while running a command
//                          reply STATUS MESSAGE      the command's outcome (always the last line)
//
// Stateless.
class SettingsAppProtocol {
 public:
  struct Message {
    std::string kind;
    std::vector<std::string> fields;
  };

  // One encoded line, newline included.
  static std::string encode(std::string_view kind, const std::vector<std::string>& fields);
  // The message of a line (without its newline), or nothing when it is not well formed.
  static std::optional<Message> decode(std::string_view line);
  // Reads one line from `fd` (blocking; `buffer` keeps what was read beyond it); nothing at the end or on error.
  static std::optional<std::string> readLine(int fd, std::string& buffer);
  // Writes all of `bytes` to `fd`; false when the other side is gone.
  static bool writeAll(int fd, std::string_view bytes);
};

}  // namespace tessra::device
