#include "platform/ui/CAGradientLayer.h"

namespace platform {

LayerValue CAGradientLayer::valueForKey(const std::string& key) const {
  if (key == "colors") return colors_;
  if (key == "locations") return locations_;
  if (key == "startPoint") return start_;
  if (key == "endPoint") return end_;
  return baseValueForKey(key);
}

}  // namespace platform
