#include "platform/ui/PropertyAnimation.h"

#include "platform/ui/CALayer.h"

namespace platform {

PropertyAnimation::PropertyAnimation(CALayer* layer, Spec spec, std::shared_ptr<AnimationGroup> group)
    : layer_(layer), spec_(std::move(spec)), group_(std::move(group)) {
  end_ = spec_.begin + seconds(spec_.duration);
}

PropertyAnimation::~PropertyAnimation() = default;

bool PropertyAnimation::isEffective(TimePoint now) const {
  if (ended_) {
    return !spec_.removedOnCompletion &&
           (spec_.fillMode == CAFillMode::Forwards || spec_.fillMode == CAFillMode::Both);
  }
  if (now < spec_.begin) {
    return spec_.additive || spec_.fillMode == CAFillMode::Backwards || spec_.fillMode == CAFillMode::Both;
  }
  return true;
}

AnimationValue PropertyAnimation::valueAt(TimePoint now) const {
  if (ended_ || now >= end_) return spec_.to;
  if (now == cachedAt_) return cached_;
  double elapsed = toSeconds(now - spec_.begin);
  double p = spec_.curve.progressAt(elapsed, spec_.duration);
  cached_ = AnimationValue::lerp(spec_.from, spec_.to, p);
  cachedAt_ = now;
  return cached_;
}

bool PropertyAnimation::blocksInteractionAt(TimePoint now) const {
  return spec_.blocksInteraction && !ended_ && now < end_;
}

bool PropertyAnimation::step(TimePoint now) {
  if (ended_) return false;
  if (now >= end_) {
    finish(true);
    return false;
  }
  valueAt(now);
  return true;
}

void PropertyAnimation::cancel() {
  if (ended_) return;
  ended_ = true;
  if (group_) group_->oneEnded(false);
}

void PropertyAnimation::finish(bool finished) {
  if (ended_) return;
  ended_ = true;
  if (group_) group_->oneEnded(finished);
  if (spec_.removedOnCompletion && layer_) layer_->detach(this, finished);
}

}  // namespace platform
