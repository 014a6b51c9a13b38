#include "tools/tessra/DeviceArguments.h"

#include <ostream>

namespace tessra::cli {

std::optional<std::filesystem::path> deviceFolderArgument(const Invocation& invocation, std::string_view command,
                                                          bool mayBeMissing) {
  std::filesystem::path folder;
  if (invocation.args.size() == 1 && invocation.root.empty()) {
    folder = invocation.args[0];
  } else if (invocation.args.empty() && !invocation.root.empty()) {
    folder = invocation.root;
  } else {
    *invocation.err << "tessra " << command << ": expected one device folder\n";
    return std::nullopt;
  }
  std::error_code ec;
  if (!mayBeMissing && !std::filesystem::is_directory(folder, ec)) {
    *invocation.err << "tessra " << command << ": no device at " << folder.string() << "\n";
    return std::nullopt;
  }
  std::filesystem::path absolute = std::filesystem::absolute(folder, ec);
  return (ec ? folder : absolute).lexically_normal();
}

}  // namespace tessra::cli
