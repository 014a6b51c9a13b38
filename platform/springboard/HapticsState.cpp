#include "platform/springboard/HapticsState.h"

#include <string>

#include "platform/springboard/EventLog.h"

namespace platform::springboard {

HapticsState::HapticsState(EventLog& log) : log_(log) {}

void HapticsState::playSystemSound(uint32_t soundId) {
  sounds_.push_back(soundId);
  log_.record("system sound " + std::to_string(soundId));
}

void HapticsState::impactOccurred(long style) {
  impacts_.push_back(style);
  log_.record("impact style " + std::to_string(style));
}

void HapticsState::reset(long level) {
  level_ = level;
  sounds_.clear();
  impacts_.clear();
}

}  // namespace platform::springboard
