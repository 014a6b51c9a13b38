#pragma once

#include "platform/ui/CAGradientLayer.h"
#include "platform/ui/UIView.h"

// A view whose backing layer is a gradient layer: the segmented control's
// sliding gradient, seen through a mask in the selector's shape. Owned by the
// control's gradient container.
class TSGradientView : public platform::UIView {
 public:
  explicit TSGradientView(const platform::CGRect& frame = platform::CGRectZero);
  // The backing gradient layer.
  platform::CAGradientLayer& gradientLayer() const { return static_cast<platform::CAGradientLayer&>(layer()); }
};
