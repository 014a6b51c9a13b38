// The `tessra` command: creates, drives and inspects a simulated device.
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "tools/tessra/Command.h"

namespace {

void printUsage(std::ostream& out) {
  out << "usage: tessra COMMAND [ARGS] [--root DIR]\n\ncommands:\n";
  for (const auto& command : tessra::cli::commands()) out << "  " << command.name << " " << command.usage << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> words(argv + 1, argv + argc);
  if (words.empty() || words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
    printUsage(words.empty() ? std::cerr : std::cout);
    return words.empty() ? 2 : 0;
  }

  tessra::cli::Invocation invocation;
  invocation.out = &std::cout;
  invocation.err = &std::cerr;
  std::vector<std::string> rest;
  for (size_t i = 0; i < words.size(); ++i) {
    if (words[i] == "--root") {
      if (i + 1 >= words.size()) {
        std::cerr << "tessra: --root needs a folder\n";
        return 2;
      }
      invocation.root = words[++i];
    } else {
      rest.push_back(words[i]);
    }
  }

  // Two-word commands ("device create") win over one-word ones.
  const tessra::cli::Command* chosen = nullptr;
  size_t used = 0;
  for (const auto& command : tessra::cli::commands()) {
    size_t spaces = static_cast<size_t>(std::count(command.name.begin(), command.name.end(), ' '));
    size_t n = spaces + 1;
    if (rest.size() < n || n <= used) continue;
    std::string joined = rest[0];
    for (size_t k = 1; k < n; ++k) joined += " " + rest[k];
    if (joined == command.name) {
      chosen = &command;
      used = n;
    }
  }
  if (!chosen) {
    std::cerr << "tessra: unknown command '" << rest.front() << "'\n";
    printUsage(std::cerr);
    return 2;
  }
  invocation.args.assign(rest.begin() + static_cast<long>(used), rest.end());
  try {
    return chosen->run(invocation);
  } catch (const std::exception& e) {
    std::cerr << "tessra " << chosen->name << ": " << e.what() << "\n";
    return 1;
  }
}
