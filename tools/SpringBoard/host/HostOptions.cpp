#include "tools/SpringBoard/host/HostOptions.h"

#include <string_view>

namespace tessra::device {

const char* HostOptions::usage() {
  return "usage: SpringBoard --root DIR [--script FILE]\n"
         "  Runs the home screen of the device at DIR: live (until SIGTERM) or, with --script, a dry run\n"
         "  of the scenario FILE on a manual clock.\n";
}

HostOptions HostOptions::parse(int argc, const char* const* argv) {
  HostOptions options;
  for (int i = 1; i < argc; ++i) {
    std::string_view word = argv[i];
    if (word == "--help" || word == "-h") {
      options.help = true;
    } else if ((word == "--root" || word == "--script") && i + 1 < argc) {
      (word == "--root" ? options.root : options.script) = argv[++i];
    } else if (word == "--root" || word == "--script") {
      options.error = std::string(word) + " needs a value";
      return options;
    } else {
      options.error = "unknown argument '" + std::string(word) + "'";
      return options;
    }
  }
  if (!options.help && options.root.empty()) options.error = "--root DIR is required";
  return options;
}

}  // namespace tessra::device
