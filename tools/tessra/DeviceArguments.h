#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "tools/tessra/Command.h"

namespace tessra::cli {

// Reads the device folder of a `tessra device ...` command: the one
// positional word DIR (or --root DIR), made absolute so that the device's
// processes find it from any working folder. Refuses a missing or extra
// argument, and (unless `mayBeMissing`) a folder that does not exist, with a
// message on the invocation's error stream.
std::optional<std::filesystem::path> deviceFolderArgument(const Invocation& invocation, std::string_view command,
                                                          bool mayBeMissing = false);

}  // namespace tessra::cli
