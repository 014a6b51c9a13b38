#include "tools/tessra/DeviceScreenOptions.h"

#include <cmath>
#include <ostream>

#include "platform/bus/DisplayChannel.h"

namespace tessra::cli {

std::optional<DeviceScreenOptions> DeviceScreenOptions::parse(const Invocation& invocation, std::string_view command,
                                                              size_t wordCount) {
  DeviceScreenOptions options;
  std::vector<std::string> positional;
  if (!invocation.root.empty()) positional.push_back(invocation.root);
  for (size_t i = 0; i < invocation.args.size(); ++i) {
    const std::string& arg = invocation.args[i];
    if (arg == "--scale") {
      if (i + 1 >= invocation.args.size()) {
        *invocation.err << "tessra " << command << ": --scale needs a number\n";
        return std::nullopt;
      }
      const std::string& value = invocation.args[++i];
      size_t used = 0;
      double scale = 0;
      try {
        scale = std::stod(value, &used);
      } catch (const std::exception&) {
        used = 0;
      }
      if (used != value.size() || !std::isfinite(scale) || scale < platform::display::kMinScale ||
          scale > platform::display::kMaxScale) {
        *invocation.err << "tessra " << command << ": the scale must be a number from 0.25 to 4, not \"" << value
                        << "\"\n";
        return std::nullopt;
      }
      options.scale = scale;
    } else if (arg.size() > 1 && arg[0] == '-') {
      *invocation.err << "tessra " << command << ": unknown option " << arg << "\n";
      return std::nullopt;
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() != wordCount + 1) {
    *invocation.err << "tessra " << command << ": expected a device folder" << (wordCount ? " and a file" : "") << "\n";
    return std::nullopt;
  }
  std::error_code ec;
  if (!std::filesystem::is_directory(positional[0], ec)) {
    *invocation.err << "tessra " << command << ": no device at " << positional[0] << "\n";
    return std::nullopt;
  }
  std::filesystem::path absolute = std::filesystem::absolute(positional[0], ec);
  options.root = (ec ? std::filesystem::path(positional[0]) : absolute).lexically_normal();
  options.words.assign(positional.begin() + 1, positional.end());
  return options;
}

}  // namespace tessra::cli
