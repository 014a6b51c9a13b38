#pragma once

#include <string>

#include "platform/foundation/PropertyList.h"

namespace platform {

// MediaRemote command numbers used by the system.
constexpr int kMRPlay = 0;
constexpr int kMRPause = 1;
constexpr int kMRTogglePlayPause = 2;

// MediaRemote: sends `command` to the now-playing app (0 play, 1 pause) with
// optional options (none: null). The device records it; answers YES.
bool MRMediaRemoteSendCommand(int command, const plist::Value& options = {});

}  // namespace platform
