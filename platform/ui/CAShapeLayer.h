#pragma once

#include <optional>

#include "platform/ui/CALayer.h"

namespace platform {

// A layer that fills a path (CAShapeLayer); used as a mask, where the filled
// path is what stays visible. Keys: "path", "fillColor".
class CAShapeLayer : public CALayer {
 public:
  const std::optional<UIBezierPath>& path() const { return path_; }
  void setPath(std::optional<UIBezierPath> p) { path_ = std::move(p); }
  // Fill colour (default opaque black); nil fills nothing.
  const std::optional<UIColor>& fillColor() const { return fillColor_; }
  void setFillColor(std::optional<UIColor> c) { fillColor_ = c; }

  LayerValue valueForKey(const std::string& key) const override;

 private:
  std::optional<UIBezierPath> path_;
  std::optional<UIColor> fillColor_ = UIColor::blackColor();
};

}  // namespace platform
