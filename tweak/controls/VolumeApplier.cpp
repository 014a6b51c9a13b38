#include "tweak/controls/VolumeApplier.h"

#include "platform/foundation/Dispatch.h"
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "tweak/controls/FlipswitchHelper.h"
#include "tweak/store/TessraStorageManager.h"

std::atomic<bool> VolumeApplier::changing_{false};
int VolumeApplier::hudHolds_ = 0;

namespace {

platform::ClassHandle gMediaControllerClass{"SBMediaController"};

// Holds back (or allows again) the volume indicator for every volume change.
void setSuppressHUD(bool suppress) {
  platform::id controller = platform::msgSend<platform::id>(gMediaControllerClass.get(), SELECTOR("sharedInstance"));
  platform::msgSend<void, bool>(controller, SELECTOR("setSuppressHUD:"), suppress);
}

}  // namespace

bool VolumeApplier::isAlreadyCurrentlyChangingVolume() { return changing_.load(std::memory_order_acquire); }

void VolumeApplier::applyVolume(double target) {
  if (changing_.load(std::memory_order_acquire)) return;

  // Whether this change holds the indicator back is decided once, here: the
  // release below must match it even if the setting changes meanwhile, or the
  // indicator would stay suppressed for good.
  const bool suppressHUD = !TessraStorageManager::sharedInstance().showVolumeHUD;
  if (suppressHUD && hudHolds_++ == 0) setSuppressHUD(true);
  changing_.store(true, std::memory_order_release);

  platform::dispatch_after(
      platform::seconds(kApplyDelay), platform::dispatch_get_global_queue(), [target, suppressHUD] {
        // The volume is a float on the platform: compare at that precision, so a
        // target equal to the current volume makes no change.
        if (static_cast<float>(FlipswitchHelper::getVolume()) != static_cast<float>(target))
          platform::dispatch_async(platform::dispatch_get_main_queue(),
                                   [target] { FlipswitchHelper::setVolume(target); });
        changing_.store(false, std::memory_order_release);
        if (suppressHUD)
          platform::dispatch_after(platform::seconds(kHUDReleaseDelay), platform::dispatch_get_main_queue(), [] {
            if (hudHolds_ > 0 && --hudHolds_ == 0) setSuppressHUD(false);
          });
      });
}
