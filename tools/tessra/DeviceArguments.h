#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "tools/tessra/Command.h"

namespace tessra::cli {

// Reads the device folder of a `tessra device ...` command: the one
// positional word DIR (or --root DIR), made absolute so that the device's
// processes find it from any working folder. Refuses a missing or extra
// argument, and (unless `mayBeMissing`) a folder that does not exist or is
// not a device root, with a message on the invocation's error stream.
std::optional<std::filesystem::path> deviceFolderArgument(const Invocation& invocation, std::string_view command,
                                                          bool mayBeMissing = false);

// Whether `folder` is a device root: it holds the device file that `tessra device create` writes (a regular
// file, not a link). Commands never treat any other folder as a device, nor create a device's tree in it.
bool isDeviceRoot(const std::filesystem::path& folder);

// The sentence that says `folder` is not a device, for "tessra COMMAND: <sentence>".
std::string notADeviceMessage(const std::filesystem::path& folder);

}  // namespace tessra::cli
