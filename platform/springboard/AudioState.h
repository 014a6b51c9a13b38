#pragma once

#include <atomic>
#include <string>
#include <vector>

namespace platform::springboard {

class EventLog;

// Where a volume change comes from: the system's indicator (HUD) shows for
// every change unless it is suppressed.
enum class VolumeHUD { ShowUnlessSuppressed, Never };

// The device's audio: the media volume (0.0 to 1.0), the volume indicator and
// its suppression by the media controller, what is playing, and the media
// remote commands received (0 play, 1 pause). The event log gets
// "volume -> 0.40" (with " (hud)" when the indicator showed),
// "volume hud suppressed -> yes|no", "media -> playing|paused",
// "media remote command <n>". Owned by DeviceModel; changed on the main thread only.
class AudioState {
 public:
  explicit AudioState(EventLog& log);

  // The volume; safe to read from any thread (the delayed volume change reads it on a background queue).
  float volume() const { return volume_.load(std::memory_order_relaxed); }
  // Sets the volume, clamped to 0...1; the indicator shows unless suppressed or `hud` is Never.
  void setVolume(float volume, VolumeHUD hud = VolumeHUD::ShowUnlessSuppressed);
  // Moves the volume by `delta` (clamped), as a volume button does.
  void changeVolumeBy(float delta);

  bool hudSuppressed() const { return hudSuppressed_; }
  void setHudSuppressed(bool suppressed);
  // How many times the volume indicator has shown.
  int volumeHudShows() const { return volumeHudShows_; }

  bool isPlaying() const { return playing_; }
  void setPlaying(bool playing);
  // The bundle identifier of the now-playing app, empty when none.
  const std::string& nowPlayingBundleIdentifier() const { return nowPlaying_; }
  void setNowPlayingBundleIdentifier(std::string bundleIdentifier);

  // A MediaRemote command (0 play, 1 pause, 2 toggle): recorded, and play/pause/toggle act on
  // the playing state when an app is now playing.
  void receiveMediaRemoteCommand(int command);
  const std::vector<int>& mediaRemoteCommands() const { return commands_; }

  // Restores a fresh device (volume 0.5, nothing playing), without log entries.
  void reset();

 private:
  EventLog& log_;
  std::atomic<float> volume_{0.5f};
  bool hudSuppressed_ = false;
  int volumeHudShows_ = 0;
  bool playing_ = false;
  std::string nowPlaying_;
  std::vector<int> commands_;
};

}  // namespace platform::springboard
