#include "tools/tessra/DeviceArguments.h"

#include <ostream>

#include "tools/SpringBoard/core/DeviceFiles.h"

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
  if (!mayBeMissing && !isDeviceRoot(folder)) {
    *invocation.err << "tessra " << command << ": " << notADeviceMessage(folder) << "\n";
    return std::nullopt;
  }
  std::filesystem::path absolute = std::filesystem::absolute(folder, ec);
  return (ec ? folder : absolute).lexically_normal();
}

bool isDeviceRoot(const std::filesystem::path& folder) {
  std::error_code ec;
  return std::filesystem::symlink_status(device::DeviceFiles::configurationFile(folder), ec).type() ==
         std::filesystem::file_type::regular;
}

std::string notADeviceMessage(const std::filesystem::path& folder) {
  return "'" + folder.string() + "' is not a device (it has no " +
         device::DeviceFiles::configurationFile(".").lexically_relative(".").string() +
         "; `tessra device create DIR` makes a device)";
}

}  // namespace tessra::cli
