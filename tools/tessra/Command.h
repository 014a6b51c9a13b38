#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace tessra::cli {

// The words after the command's name, with the options every command shares.
struct Invocation {
  std::vector<std::string> args;  // positional words and command-specific options, in order
  std::string root;               // --root DIR (empty when not given)
  std::ostream* out = nullptr;    // where results go
  std::ostream* err = nullptr;    // where messages go
};

// One `tessra` sub-command. Commands register themselves at start-up with a
// static CommandRegistration in their own source file, so the dispatcher needs
// no list of them.
struct Command {
  std::string name;                           // e.g. "settings", or "device create" for a two-word command
  std::string usage;                          // one line: arguments and what it does
  std::function<int(const Invocation&)> run;  // 0 on success; non-zero after writing a message to err
};

// All registered commands, in registration order.
std::vector<Command>& commands();

// Registers a command when constructed (use one static instance per command).
struct CommandRegistration {
  explicit CommandRegistration(Command command) { commands().push_back(std::move(command)); }
};

}  // namespace tessra::cli
