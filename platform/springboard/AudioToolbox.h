#pragma once

#include <cstdint>

namespace platform {

// AudioToolbox: plays the system sound `soundId` (1519 peek, 1520 pop on a
// device without impact feedback). The device records it.
void AudioServicesPlaySystemSound(uint32_t soundId);

}  // namespace platform
