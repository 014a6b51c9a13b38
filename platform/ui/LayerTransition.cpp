#include "platform/ui/LayerTransition.h"

#include "platform/ui/CALayer.h"

namespace platform {

LayerTransition::LayerTransition(CALayer* layer, TimePoint begin, double duration, AnimationCurve curve,
                                 std::shared_ptr<UIImage> snapshot, std::shared_ptr<AnimationGroup> group)
    : layer_(layer),
      begin_(begin),
      duration_(duration),
      curve_(curve),
      snapshot_(std::move(snapshot)),
      group_(std::move(group)) {}

double LayerTransition::progressAt(TimePoint now) const {
  if (ended_) return 1;
  return curve_.progressAt(toSeconds(now - begin_), duration_);
}

TimePoint LayerTransition::deadline() const { return begin_ + seconds(duration_); }

bool LayerTransition::step(TimePoint now) {
  if (ended_) return false;
  if (now < deadline()) return true;
  ended_ = true;
  auto self = layer_ ? layer_->transition_ : nullptr;  // keeps this alive while detaching
  if (group_) group_->oneEnded(true);
  if (layer_ && layer_->transition_.get() == this) layer_->transition_.reset();
  return false;
}

void LayerTransition::cancel() {
  if (ended_) return;
  ended_ = true;
  if (group_) group_->oneEnded(false);
}

}  // namespace platform
