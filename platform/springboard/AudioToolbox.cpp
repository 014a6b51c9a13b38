#include "platform/springboard/AudioToolbox.h"

#include "platform/springboard/DeviceState.h"

namespace platform {

void AudioServicesPlaySystemSound(uint32_t soundId) {
  springboard::DeviceState::shared().haptics().playSystemSound(soundId);
}

}  // namespace platform
