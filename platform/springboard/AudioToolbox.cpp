#include "platform/springboard/AudioToolbox.h"

#include "platform/springboard/DeviceModel.h"

namespace platform {

void AudioServicesPlaySystemSound(uint32_t soundId) {
  springboard::DeviceModel::shared().haptics().playSystemSound(soundId);
}

}  // namespace platform
