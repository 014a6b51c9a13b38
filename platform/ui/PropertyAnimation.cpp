#include "platform/ui/PropertyAnimation.h"

#include "platform/ui/CALayer.h"

namespace platform {

PropertyAnimation::PropertyAnimation(CALayer* layer, Setup setup, std::shared_ptr<AnimationGroup> group)
    : layer_(layer), setup_(std::move(setup)), group_(std::move(group)) {
  end_ = setup_.begin + seconds(setup_.duration);
}

PropertyAnimation::~PropertyAnimation() = default;

bool PropertyAnimation::isEffective(TimePoint now) const {
  if (ended_) {
    return !setup_.removedOnCompletion &&
           (setup_.fillMode == CAFillMode::Forwards || setup_.fillMode == CAFillMode::Both);
  }
  if (now < setup_.begin) {
    return setup_.additive || setup_.fillMode == CAFillMode::Backwards || setup_.fillMode == CAFillMode::Both;
  }
  return true;
}

AnimationValue PropertyAnimation::valueAt(TimePoint now) const {
  if (ended_ || now >= end_) return setup_.to;
  if (now == cachedAt_) return cached_;
  double elapsed = toSeconds(now - setup_.begin);
  double p = setup_.curve.progressAt(elapsed, setup_.duration);
  cached_ = AnimationValue::lerp(setup_.from, setup_.to, p);
  cachedAt_ = now;
  return cached_;
}

bool PropertyAnimation::blocksInteractionAt(TimePoint now) const {
  return setup_.blocksInteraction && !ended_ && now < end_;
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
  if (setup_.removedOnCompletion && layer_) layer_->detach(this, finished);
}

}  // namespace platform
