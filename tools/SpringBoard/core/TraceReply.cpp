#include "tools/SpringBoard/core/TraceReply.h"

#include <cstdio>
#include <sstream>

namespace tessra::device {

std::string TraceReply::encode() const {
  std::string text = "cursor " + std::to_string(cursor) + " lines " + std::to_string(lines.size()) + "\n";
  for (const auto& line : lines) {
    // A line never holds a line break of its own, so the count stays right.
    for (char c : line) text += (c == '\n' || c == '\r') ? ' ' : c;
    text += '\n';
  }
  return text + message;
}

std::optional<TraceReply> TraceReply::decode(const std::string& text) {
  size_t end = text.find('\n');
  if (end == std::string::npos) return std::nullopt;
  unsigned long long cursor = 0;
  unsigned long count = 0;
  char tail = 0;
  std::string header = text.substr(0, end);
  if (std::sscanf(header.c_str(), "cursor %llu lines %lu%c", &cursor, &count, &tail) != 2) return std::nullopt;
  TraceReply reply;
  reply.cursor = cursor;
  size_t pos = end + 1;
  for (unsigned long i = 0; i < count; ++i) {
    size_t next = text.find('\n', pos);
    if (next == std::string::npos) return std::nullopt;
    reply.lines.push_back(text.substr(pos, next - pos));
    pos = next + 1;
  }
  reply.message = text.substr(pos);
  return reply;
}

}  // namespace tessra::device
