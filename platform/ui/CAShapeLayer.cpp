#include "platform/ui/CAShapeLayer.h"

namespace platform {

LayerValue CAShapeLayer::valueForKey(const std::string& key) const {
  if (key == "path") {
    if (path_) return *path_;
    return std::monostate{};
  }
  if (key == "fillColor") {
    if (fillColor_) return *fillColor_;
    return std::monostate{};
  }
  return baseValueForKey(key);
}

}  // namespace platform
