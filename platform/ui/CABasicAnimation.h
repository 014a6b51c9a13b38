#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/ui/CAMediaTimingFunction.h"
#include "platform/ui/LayerValue.h"

namespace platform {

// What a finished animation leaves on screen (CAMediaTimingFillMode).
enum class CAFillMode { Removed, Forwards, Backwards, Both };

// An explicit animation of one layer property from one value to another
// (CABasicAnimation). Describes the animation only; CALayer::addAnimation
// copies it and the clock drives the copy. As in Core Animation the layer's
// model value does not change: the presented value follows the animation, and
// with fillMode Forwards and removedOnCompletion false it keeps the end value
// after the end, for as long as the animation stays on the layer.
class CABasicAnimation {
 public:
  // animationWithKeyPath: ("shadowOpacity", "opacity", "position", ...).
  static CABasicAnimation animationWithKeyPath(std::string keyPath);

  const std::string& keyPath() const { return keyPath_; }
  // Start value; nil starts from the presented value when added.
  const LayerValue& fromValue() const { return from_; }
  void setFromValue(LayerValue v) { from_ = std::move(v); }
  // End value; nil ends at the model value.
  const LayerValue& toValue() const { return to_; }
  void setToValue(LayerValue v) { to_ = std::move(v); }
  // Seconds (default 0.25).
  double duration() const { return duration_; }
  void setDuration(double s) { duration_ = s; }
  // Seconds after being added at which it starts (default 0).
  double beginTime() const { return beginTime_; }
  void setBeginTime(double s) { beginTime_ = s; }
  const CAMediaTimingFunction& timingFunction() const { return timing_; }
  void setTimingFunction(const CAMediaTimingFunction& f) { timing_ = f; }
  CAFillMode fillMode() const { return fillMode_; }
  void setFillMode(CAFillMode m) { fillMode_ = m; }
  // Whether it leaves the layer when it ends (default true).
  bool isRemovedOnCompletion() const { return removedOnCompletion_; }
  void setRemovedOnCompletion(bool r) { removedOnCompletion_ = r; }
  // Called once on the main loop when it ends (true) or is removed or replaced early (false).
  using Completion = std::function<void(bool finished)>;
  const Completion& completion() const { return completion_; }
  void setCompletion(Completion c) { completion_ = std::move(c); }

 private:
  std::string keyPath_;
  LayerValue from_;
  LayerValue to_;
  double duration_ = 0.25;
  double beginTime_ = 0;
  CAMediaTimingFunction timing_;
  CAFillMode fillMode_ = CAFillMode::Removed;
  bool removedOnCompletion_ = true;
  Completion completion_;
};

}  // namespace platform
