#include "platform/bus/BusAddress.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>

namespace platform {

namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::string> unescape(const std::string& value) {
  std::string out;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '%') {
      out += value[i];
      continue;
    }
    if (i + 2 >= value.size()) return std::nullopt;
    int high = hexValue(value[i + 1]);
    int low = hexValue(value[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return out;
}

}  // namespace

std::optional<BusAddress::Socket> BusAddress::parse(const std::string& address) {
  // One transport only (no ';' alternatives), "unix:" with the socket as its first key.
  if (address.rfind("unix:", 0) != 0 || address.find(';') != std::string::npos) return std::nullopt;
  std::string first =
      address.substr(5, address.find(',') == std::string::npos ? std::string::npos : address.find(',') - 5);
  Socket socket;
  std::string value;
  if (first.rfind("path=", 0) == 0) {
    value = first.substr(5);
  } else if (first.rfind("abstract=", 0) == 0) {
    value = first.substr(9);
    socket.abstract = true;
  } else {
    return std::nullopt;
  }
  auto name = unescape(value);
  if (!name || name->empty() || name->find('\0') != std::string::npos) return std::nullopt;
  // sun_path holds the name and, for a file path, its terminating zero; an abstract name a leading zero.
  if (name->size() + 1 > sizeof(sockaddr_un::sun_path)) return std::nullopt;
  socket.name = std::move(*name);
  return socket;
}

bool BusAddress::isListening(const std::string& address) {
  auto socket = parse(address);
  if (!socket) return false;
  sockaddr_un target{};
  target.sun_family = AF_UNIX;
  size_t offset = socket->abstract ? 1 : 0;  // abstract names start with a zero byte
  std::memcpy(target.sun_path + offset, socket->name.data(), socket->name.size());
  auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + socket->name.size() +
                                       (socket->abstract ? 0 : 1));
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  int r = ::connect(fd, reinterpret_cast<sockaddr*>(&target), length);
  ::close(fd);
  return r == 0;
}

}  // namespace platform
