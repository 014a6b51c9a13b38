#pragma once

#include <memory>
#include <optional>
#include <vector>

namespace platform {
class OperationQueue;
}

// Moves the screen brightness to a target. Instead of jumping, the brightness
// glides there in small steps run one every sixtieth of a second on the
// manager's own serial operation queue; each step only sleeps on that queue
// and posts the actual change (FlipswitchHelper::setBrightness) to the main
// queue, so the main thread is never held up. A new target cancels whatever
// is left of the glide in progress. One process-wide instance, created on
// first use; it owns its queue for the life of the process.
class BrightnessManager {
 public:
  // The time one step holds the queue before its change is posted: 1/60 s.
  static constexpr double kStepInterval = 0.016666666666666666;
  // Steps smaller than this distance use the fine step size.
  static constexpr double kFineStepDistance = 0.15;
  static constexpr double kFineStep = 0.008;
  static constexpr double kCoarseStep = 0.04;
  // How far a glide may pass its target before the final exact step.
  static constexpr double kOvershoot = 0.01;
  // The most intermediate steps one glide queues (the exact final step comes on top).
  static constexpr size_t kMaxSteps = 1001;

  // The one instance (thread-safe creation on first use).
  static BrightnessManager& sharedInstance();

  BrightnessManager(const BrightnessManager&) = delete;
  BrightnessManager& operator=(const BrightnessManager&) = delete;

  // The engine's "set brightness": glides to `target` (0 to 1) when the
  // brightnessAnimated setting is on, otherwise sets it at once.
  static void applyBrightness(double target);

  // Sets the brightness to `target`: at once when `animated` is false, else
  // queues a glide from the current brightness and returns without waiting.
  // Main thread.
  void setBrightness(double target, bool animated);

  // The target of the glide in progress (set, not yet reached), or nothing: the brightness the screen is about
  // to have, which a caller recording "the brightness before" must take rather than a value half-way. Main thread.
  std::optional<double> glideTarget() const { return glideTarget_; }

  // The values a glide from `current` to `target` sets, in order, the last
  // being exactly `target`.
  static std::vector<double> glideSteps(double current, double target);

  // The serial queue the glide steps run on.
  platform::OperationQueue& brightnessQueue() const { return *brightnessQueue_; }

 private:
  friend class BrightnessManagerTestApi;

  BrightnessManager();
  ~BrightnessManager();

  std::shared_ptr<platform::OperationQueue> brightnessQueue_;
  // Main thread only. Bumped by every set: the last step of a replaced glide does not end the newer one.
  uint64_t generation_ = 0;
  std::optional<double> glideTarget_;
};
