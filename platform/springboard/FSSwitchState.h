#pragma once

#include <cstdint>

namespace platform {

// The state of a Flipswitch switch, with the library's values.
enum class FSSwitchState : int64_t {
  Off = 0,
  On = 1,
  Indeterminate = -1,
};

}  // namespace platform
