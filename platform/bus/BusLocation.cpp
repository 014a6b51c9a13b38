#include "platform/bus/BusLocation.h"

#include <sys/un.h>

#include <cstdio>
#include <fstream>
#include <functional>

namespace platform {

namespace {

// Longest socket path bind() accepts, less the terminating zero.
// dbus-daemon refuses socket paths longer than 99 bytes ("Socket name too
// long"), well below what sun_path itself could hold.
constexpr size_t kMaxSocketPath = 99;
// An address file longer than this is not one we wrote.
constexpr size_t kMaxAddressLength = 4096;

}  // namespace

std::filesystem::path BusLocation::directory(const std::filesystem::path& root) { return root / "var/run/tessra-bus"; }

std::filesystem::path BusLocation::configFile(const std::filesystem::path& root) {
  return directory(root) / "bus.conf";
}

std::filesystem::path BusLocation::socketFile(const std::filesystem::path& root) {
  return directory(root) / "bus.sock";
}

std::filesystem::path BusLocation::addressFile(const std::filesystem::path& root) {
  return directory(root) / "address";
}

std::filesystem::path BusLocation::pidFile(const std::filesystem::path& root) { return directory(root) / "pid"; }

std::string BusLocation::listenAddress(const std::filesystem::path& root) {
  std::string socket = std::filesystem::absolute(socketFile(root)).lexically_normal().string();
  if (socket.size() <= kMaxSocketPath) return "unix:path=" + escapeAddressValue(socket);
  // Too long for sun_path: an abstract socket whose name is derived from the root.
  std::string rootText = std::filesystem::absolute(root).lexically_normal().string();
  char name[64];
  std::snprintf(name, sizeof name, "tessra-bus-%016zx", std::hash<std::string>{}(rootText));
  return std::string("unix:abstract=") + name;
}

std::optional<std::string> BusLocation::readAddress(const std::filesystem::path& root) {
  std::ifstream in(addressFile(root), std::ios::binary);
  if (!in) return std::nullopt;
  std::string line;
  if (!std::getline(in, line) || line.empty() || line.size() > kMaxAddressLength) return std::nullopt;
  if (line.rfind("unix:", 0) != 0) return std::nullopt;
  return line;
}

std::string BusLocation::escapeAddressValue(const std::string& value) {
  // D-Bus addresses keep [-0-9A-Za-z_/.\*] as they are and %-escape every other byte.
  static const char* hex = "0123456789abcdef";
  std::string out;
  out.reserve(value.size());
  for (unsigned char c : value) {
    bool plain = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' || c == '_' ||
                 c == '/' || c == '.' || c == '\\' || c == '*';
    if (plain) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

}  // namespace platform
