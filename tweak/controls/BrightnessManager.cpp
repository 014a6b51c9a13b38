#include "tweak/controls/BrightnessManager.h"

#include <cmath>

#include "platform/foundation/Dispatch.h"
#include "platform/foundation/OperationQueue.h"
#include "tweak/controls/FlipswitchHelper.h"
#include "tweak/store/TessraStorageManager.h"

BrightnessManager& BrightnessManager::sharedInstance() {
  // Never destroyed: glide steps may still be queued while the process exits.
  static BrightnessManager* instance = new BrightnessManager();
  return *instance;
}

BrightnessManager::BrightnessManager()
    : brightnessQueue_(platform::OperationQueue::create("BrightnessManager.brightnessQueue")) {}

BrightnessManager::~BrightnessManager() = default;

void BrightnessManager::applyBrightness(double target) {
  sharedInstance().setBrightness(target, TessraStorageManager::sharedInstance().brightnessAnimated);
}

std::vector<double> BrightnessManager::glideSteps(double current, double target) {
  std::vector<double> steps;
  const double distance = std::fabs(current - target);
  // Within the overshoot there is nothing to glide through: only the exact set.
  if (distance > kOvershoot) {
    const bool upwards = current < target;
    const double step = (distance < kFineStepDistance ? kFineStep : kCoarseStep) * (upwards ? 1.0 : -1.0);
    auto keepsGoing = [&](double value) {
      return upwards ? value <= target + kOvershoot : value >= target - kOvershoot;
    };
    // The first step re-sets the current value; the cap bounds a glide from an
    // out-of-range reading.
    for (double value = current; keepsGoing(value); value += step) {
      steps.push_back(value);
      if (steps.size() >= kMaxSteps) break;
    }
  }
  steps.push_back(target);
  return steps;
}

void BrightnessManager::setBrightness(double target, bool animated) {
  // A target that is not a number has no brightness to go to.
  if (!std::isfinite(target)) return;
  const uint64_t generation = ++generation_;
  brightnessQueue_->cancelAllOperations();
  if (!animated) {
    glideTarget_.reset();
    FlipswitchHelper::setBrightness(target);
    return;
  }
  const double current = FlipswitchHelper::getBrightness();
  glideTarget_ = target;

  const std::vector<double> values = glideSteps(current, target);
  const auto hold = platform::seconds(kStepInterval);
  std::vector<std::shared_ptr<platform::Operation>> operations;
  operations.reserve(values.size());
  for (size_t i = 0; i < values.size(); ++i) {
    const double value = values[i];
    const bool last = i + 1 == values.size();
    operations.push_back(std::make_shared<platform::Operation>(
        [this, value, last, generation] {
          platform::dispatch_async(platform::dispatch_get_main_queue(), [this, value, last, generation] {
            FlipswitchHelper::setBrightness(value);
            if (last && generation == generation_) glideTarget_.reset();
          });
        },
        hold));
  }
  brightnessQueue_->addOperations(std::move(operations));
}
