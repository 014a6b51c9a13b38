#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/tessra/Command.h"

namespace tessra::cli {

// The words of `tessra device show DIR [--scale N]` and `tessra device
// snapshot DIR FILE.png [--scale N]`: the device folder (which must exist),
// the other positional words, and the scale (0 when not given). Refuses
// unknown options, a scale outside 0.25 to 4 and a wrong number of words with
// a message on the invocation's error stream. Plain value.
struct DeviceScreenOptions {
  std::filesystem::path root;
  std::vector<std::string> words;  // positional words after the folder
  double scale = 0;

  // Reads the invocation; `words` is how many positional words must follow the folder.
  static std::optional<DeviceScreenOptions> parse(const Invocation& invocation, std::string_view command, size_t words);
};

}  // namespace tessra::cli
