#pragma once

#include <optional>
#include <string>

namespace platform {

// The device bus addresses this system writes: "unix:path=<socket file>" or
// "unix:abstract=<name>", %-escaped, optionally followed by ",key=value"
// pairs. Before a process hands an address to sd-bus it checks here that a
// daemon accepts connections on it: sd-bus is then only asked to connect
// where it can (sdbus-c++ 1.2 leaks its half-made bus whenever the connect
// itself fails, which a reconnect loop would repeat every few seconds).
// Stateless.
class BusAddress {
 public:
  struct Socket {
    std::string name;  // a file path, or an abstract socket name
    bool abstract = false;
  };

  // The socket `address` names, or nothing when it is not a unix address of the two kinds above.
  static std::optional<Socket> parse(const std::string& address);
  // Whether something accepts connections at `address` right now.
  static bool isListening(const std::string& address);
};

}  // namespace platform
