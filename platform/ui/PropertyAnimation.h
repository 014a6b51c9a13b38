#pragma once

#include <memory>
#include <string>

#include "platform/ui/AnimationCurve.h"
#include "platform/ui/AnimationGroup.h"
#include "platform/ui/AnimationValue.h"
#include "platform/ui/CABasicAnimation.h"
#include "platform/ui/FrameTicker.h"

namespace platform {

class CALayer;

// One running change of one layer property, owned by the layer it animates
// and stepped by the animator. Additive animations (UIView blocks without
// begin-from-current-state) add (value - to) on top of the model value, so a
// new animation blends with one already running; the others give the value
// outright. The presented value is computed from the clock's time.
class PropertyAnimation : public FrameTicker {
 public:
  struct Setup {
    LayerProperty property = LayerProperty::Opacity;
    std::string key;
    AnimationValue from, to;
    TimePoint begin;
    double duration = 0;
    AnimationCurve curve;
    bool additive = false;
    bool removedOnCompletion = true;
    CAFillMode fillMode = CAFillMode::Removed;
    bool blocksInteraction = false;
  };

  PropertyAnimation(CALayer* layer, Setup setup, std::shared_ptr<AnimationGroup> group);
  ~PropertyAnimation() override;

  const Setup& setup() const { return setup_; }
  LayerProperty property() const { return setup_.property; }
  const std::string& key() const { return setup_.key; }
  // Whether it has ended (finished or cut short).
  bool hasEnded() const { return ended_; }
  TimePoint end() const { return end_; }
  // Whether it contributes to the presented value at `now`.
  bool isEffective(TimePoint now) const;
  // The animated value at `now` (from during a delay, to after the end).
  AnimationValue valueAt(TimePoint now) const;
  // Whether it blocks touches on its view at `now`.
  bool blocksInteractionAt(TimePoint now) const;

  bool step(TimePoint now) override;
  TimePoint deadline() const override { return end_; }

  // Ends it early (removed or replaced): the group hears finished = false.
  void cancel();

 private:
  friend class CALayer;
  void finish(bool finished);

  CALayer* layer_;
  Setup setup_;
  std::shared_ptr<AnimationGroup> group_;
  TimePoint end_;
  bool ended_ = false;
  // Last stepped value, kept for reads at the same time.
  mutable TimePoint cachedAt_ = TimePoint::min();
  mutable AnimationValue cached_;
};

}  // namespace platform
