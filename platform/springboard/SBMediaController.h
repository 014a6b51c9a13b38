#pragma once

#include "platform/runtime/Object.h"

namespace platform {

namespace springboard {
class SystemProfile;
}

// SpringBoard's media controller (all versions): the media volume below
// 13.0 (from 13.0 SBVolumeControl sets it; volume still reads it), whether
// media is playing and by which app, and the suppression of the volume
// indicator (HUD), which holds for every volume change while set.
class SBMediaController final : public Object {
 public:
  // sharedInstance
  static SBMediaController* sharedInstance();
  // volume (0.0 to 1.0)
  float volume() const;
  // setVolume: — shows the volume indicator unless suppressed.
  void setVolume(float volume);
  // _changeVolumeBy:
  void _changeVolumeBy(float delta);
  // isPlaying
  bool isPlaying() const;
  // setSuppressHUD:
  void setSuppressHUD(bool suppress);
  // nowPlayingApplication: the SBApplication playing, or null.
  id nowPlayingApplication() const;

  static void registerClass(const springboard::SystemProfile& profile);
};

}  // namespace platform
