#pragma once

#include <filesystem>
#include <string>

namespace tessra::device {

// The command line of the SpringBoard host:
//   SpringBoard --root DIR                 the live home screen of a started device
//   SpringBoard --root DIR --script FILE   a dry run: FILE on a manual clock, then exit
struct HostOptions {
  std::filesystem::path root;
  std::filesystem::path script;  // empty: live
  bool help = false;
  std::string error;  // set when the command line is wrong

  bool live() const { return script.empty(); }

  // Reads argv; `error` says what is wrong.
  static HostOptions parse(int argc, const char* const* argv);
  // One paragraph of usage.
  static const char* usage();
};

}  // namespace tessra::device
