#pragma once

#include "platform/ui/Geometry.h"

namespace platform {

// The device's display (UIScreen): its bounds in points and its scale. The
// host or a test sets the device's numbers; the default is a 375 × 812 point
// screen at scale 3.
class UIScreen {
 public:
  // The one screen of the device.
  static UIScreen& mainScreen();

  CGRect bounds() const { return bounds_; }
  double scale() const { return scale_; }
  // Sets the device's screen (size in points, pixels per point).
  void setBounds(const CGRect& b) { bounds_ = b; }
  void setScale(double s) { scale_ = s; }

 private:
  CGRect bounds_{{0, 0}, {375, 812}};
  double scale_ = 3;
};

}  // namespace platform
