#pragma once

#include <cstdint>
#include <vector>

namespace platform::springboard {

class EventLog;

// The device's tap feedback: its support level (UIDevice _feedbackSupportLevel:
// 0 none, 1 system sounds only, 2 impact feedback generator), the system
// sounds played and the impacts produced. Log entries: "system sound 1519",
// "impact style 0". Owned by DeviceModel; main thread only.
class HapticsState {
 public:
  explicit HapticsState(EventLog& log);

  long feedbackSupportLevel() const { return level_; }
  void setFeedbackSupportLevel(long level) { level_ = level; }

  void playSystemSound(uint32_t soundId);
  const std::vector<uint32_t>& systemSoundsPlayed() const { return sounds_; }

  void impactOccurred(long style);
  // The style of every impact produced, in order.
  const std::vector<long>& impacts() const { return impacts_; }

  // Clears what was played and sets the support level.
  void reset(long level);

 private:
  EventLog& log_;
  long level_ = 2;
  std::vector<uint32_t> sounds_;
  std::vector<long> impacts_;
};

}  // namespace platform::springboard
