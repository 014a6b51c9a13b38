#include "tools/SpringBoard/core/SettingsAppProtocol.h"

#include <unistd.h>

#include <cerrno>

namespace tessra::device {

namespace {

constexpr char kHex[] = "0123456789abcdef";
// A line longer than this is not a message of the protocol.
constexpr size_t kMaxLine = 16 * 1024 * 1024;

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string SettingsAppProtocol::encode(std::string_view kind, const std::vector<std::string>& fields) {
  std::string line(kind);
  for (const auto& field : fields) {
    line += ' ';
    for (unsigned char c : field) {
      line += kHex[c >> 4];
      line += kHex[c & 15];
    }
    if (field.empty()) line += '-';
  }
  line += '\n';
  return line;
}

std::optional<SettingsAppProtocol::Message> SettingsAppProtocol::decode(std::string_view line) {
  Message message;
  size_t space = line.find(' ');
  message.kind = std::string(line.substr(0, space));
  if (message.kind.empty()) return std::nullopt;
  while (space != std::string_view::npos) {
    size_t next = line.find(' ', space + 1);
    std::string_view word =
        line.substr(space + 1, next == std::string_view::npos ? std::string_view::npos : next - space - 1);
    std::string field;
    if (word != "-") {
      if (word.empty() || word.size() % 2) return std::nullopt;
      for (size_t i = 0; i < word.size(); i += 2) {
        int hi = hexValue(word[i]), lo = hexValue(word[i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        field += static_cast<char>(hi * 16 + lo);
      }
    }
    message.fields.push_back(std::move(field));
    space = next;
  }
  return message;
}

std::optional<std::string> SettingsAppProtocol::readLine(int fd, std::string& buffer) {
  for (;;) {
    size_t end = buffer.find('\n');
    if (end != std::string::npos) {
      std::string line = buffer.substr(0, end);
      buffer.erase(0, end + 1);
      return line;
    }
    if (buffer.size() > kMaxLine) return std::nullopt;
    char chunk[4096];
    ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return std::nullopt;
    buffer.append(chunk, static_cast<size_t>(n));
  }
}

bool SettingsAppProtocol::writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

}  // namespace tessra::device
