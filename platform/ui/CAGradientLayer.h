#pragma once

#include <vector>

#include "platform/ui/CALayer.h"

namespace platform {

// A layer filled with an axial gradient (CAGradientLayer): colours placed at
// locations (0 ... 1; empty = evenly spread) along the line from startPoint to
// endPoint, given in the unit square of the bounds. Keys: "colors",
// "locations", "startPoint", "endPoint".
class CAGradientLayer : public CALayer {
 public:
  const std::vector<UIColor>& colors() const { return colors_; }
  void setColors(std::vector<UIColor> c) { colors_ = std::move(c); }
  const std::vector<double>& locations() const { return locations_; }
  void setLocations(std::vector<double> l) { locations_ = std::move(l); }
  CGPoint startPoint() const { return start_; }
  void setStartPoint(CGPoint p) { start_ = p; }
  CGPoint endPoint() const { return end_; }
  void setEndPoint(CGPoint p) { end_ = p; }

  LayerValue valueForKey(const std::string& key) const override;

 private:
  std::vector<UIColor> colors_;
  std::vector<double> locations_;
  CGPoint start_{0.5, 0};
  CGPoint end_{0.5, 1};
};

}  // namespace platform
