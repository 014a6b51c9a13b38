#pragma once

#include <string>

#include "platform/runtime/Object.h"

namespace platform {

namespace springboard {
class SystemProfile;
}

// The volume control of 13.0 and later; absent below. Volumes are set per
// category; the device has one media volume, used by "Audio/Video".
class SBVolumeControl final : public Object {
 public:
  static constexpr const char* kMediaCategory = "Audio/Video";

  // sharedInstance (null below 13.0)
  static SBVolumeControl* sharedInstance();
  // setVolume:forCategory: — only "Audio/Video" changes the media volume.
  void setVolume(float volume, std::string category);
  // _getMediaVolumeForIAP
  float _getMediaVolumeForIAP() const;
  // changeVolumeByDelta:
  void changeVolumeByDelta(float delta);

  static void registerClass(const springboard::SystemProfile& profile);
};

}  // namespace platform
