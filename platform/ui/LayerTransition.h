#pragma once

#include <memory>

#include "platform/ui/AnimationCurve.h"
#include "platform/ui/AnimationGroup.h"
#include "platform/ui/FrameTicker.h"

namespace platform {

class CALayer;
class UIImage;

// A running cross-dissolve of one view (UIView transitionWithView): the old
// look (a snapshot, when the renderer provides one) fades out while the new
// one fades in. Owned by the view's layer; removed at the end.
class LayerTransition : public FrameTicker {
 public:
  LayerTransition(CALayer* layer, TimePoint begin, double duration, AnimationCurve curve,
                  std::shared_ptr<UIImage> snapshot, std::shared_ptr<AnimationGroup> group);

  // Progress of the new look, 0 ... 1.
  double progressAt(TimePoint now) const;
  const std::shared_ptr<UIImage>& snapshot() const { return snapshot_; }
  bool step(TimePoint now) override;
  TimePoint deadline() const override;
  // Ends it early (another transition replaced it).
  void cancel();

 private:
  CALayer* layer_;
  TimePoint begin_;
  double duration_;
  AnimationCurve curve_;
  std::shared_ptr<UIImage> snapshot_;
  std::shared_ptr<AnimationGroup> group_;
  bool ended_ = false;
};

}  // namespace platform
