#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessra::device {

// The text of an answer that carries trace lines over the control channel:
// "cursor N lines K\n", K lines, then a free message. Both ends use it.
struct TraceReply {
  uint64_t cursor = 0;
  std::vector<std::string> lines;
  std::string message;

  // The answer's text.
  std::string encode() const;
  // Reads an answer; nothing when its first line is not a cursor header.
  static std::optional<TraceReply> decode(const std::string& text);
};

}  // namespace tessra::device
