#pragma once

#include <atomic>

// Applies a volume the way the engine wants it when an app comes to the front
// or leaves it: not at once but 0.3 s after the request, on the background
// queue, with the system volume indicator held back unless the user asked to
// see it (showVolumeHUD) for as long as any of its changes is pending or
// running. While one change is pending every other request is dropped. The
// process-wide pending flag and the count of indicator holds are the only
// state; class operations only.
class VolumeApplier {
 public:
  VolumeApplier() = delete;

  // The delay before the volume is set, and before the indicator is allowed again afterwards.
  static constexpr double kApplyDelay = 0.3;
  static constexpr double kHUDReleaseDelay = 0.3;

  // Sets the media volume to `target` (0 to 1) 0.3 s from now, unless a change
  // is already pending, in which case the request is dropped. Main thread.
  static void applyVolume(double target);

  // Whether a volume change has been accepted and not yet carried out.
  static bool isAlreadyCurrentlyChangingVolume();

 private:
  friend class VolumeApplierTestApi;

  static std::atomic<bool> changing_;
  // How many changes are holding the indicator back (main thread): it is allowed again only when the last one
  // lets go, so overlapping changes never show it.
  static int hudHolds_;
};
