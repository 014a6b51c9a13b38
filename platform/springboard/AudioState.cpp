#include "platform/springboard/AudioState.h"

#include <algorithm>

#include "platform/springboard/EventLog.h"

namespace platform::springboard {

AudioState::AudioState(EventLog& log) : log_(log) {}

void AudioState::setVolume(float volume, VolumeHUD hud) {
  volume = std::clamp(volume, 0.0f, 1.0f);
  volume_.store(volume, std::memory_order_relaxed);
  bool shown = hud == VolumeHUD::ShowUnlessSuppressed && !hudSuppressed_;
  if (shown) ++volumeHudShows_;
  log_.record("volume -> " + EventLog::fraction(volume) + (shown ? " (hud)" : ""));
}

void AudioState::changeVolumeBy(float delta) { setVolume(volume() + delta); }

void AudioState::setHudSuppressed(bool suppressed) {
  hudSuppressed_ = suppressed;
  log_.record(std::string("volume hud suppressed -> ") + (suppressed ? "yes" : "no"));
}

void AudioState::setPlaying(bool playing) {
  playing_ = playing;
  log_.record(std::string("media -> ") + (playing ? "playing" : "paused"));
}

void AudioState::setNowPlayingBundleIdentifier(std::string bundleIdentifier) {
  nowPlaying_ = std::move(bundleIdentifier);
  log_.record("now playing -> " + (nowPlaying_.empty() ? std::string("none") : nowPlaying_));
}

void AudioState::receiveMediaRemoteCommand(int command) {
  commands_.push_back(command);
  log_.record("media remote command " + std::to_string(command));
  // Play with nothing to resume starts the system's music player, as the phone does.
  constexpr const char* kDefaultPlayer = "com.apple.Music";
  switch (command) {
    case 0:
      if (nowPlaying_.empty()) setNowPlayingBundleIdentifier(kDefaultPlayer);
      setPlaying(true);
      break;
    case 1:
      if (playing_) setPlaying(false);
      break;
    case 2:
      if (nowPlaying_.empty()) setNowPlayingBundleIdentifier(kDefaultPlayer);
      setPlaying(!playing_);
      break;
    default: break;
  }
}

void AudioState::reset() {
  volume_.store(0.5f, std::memory_order_relaxed);
  hudSuppressed_ = false;
  volumeHudShows_ = 0;
  playing_ = false;
  nowPlaying_.clear();
  commands_.clear();
}

}  // namespace platform::springboard
