#pragma once

#include <string_view>

#include "tools/tessra/Command.h"

namespace tessra::cli {

// Makes the invocation's --root the device root of this process, so that the
// preference domain is read from and written to that device. Refuses (with a
// message on the invocation's error stream) when --root is missing, is not
// a folder or is not a device root. The domain is re-read, so nothing cached
// from another root stays.
bool useDeviceRoot(const Invocation& invocation, std::string_view command);

// When the device's preferences file is damaged (it then reads as empty, and is left as it is until the device
// next saves), says so on the error stream followed by `consequence`; returns whether it is.
bool reportDamagedPreferences(const Invocation& invocation, std::string_view command, std::string_view consequence);

}  // namespace tessra::cli
