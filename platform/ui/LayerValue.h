#pragma once

#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/ui/CAFilter.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/UIBezierPath.h"
#include "platform/ui/UIColor.h"

namespace platform {

class CALayer;

// A layer property read or written by name (key-value coding on layers, and
// the from/to values of explicit animations). monostate stands for nil.
using LayerValue =
    std::variant<std::monostate, bool, double, CGPoint, CGSize, CGRect, CGAffineTransform, UIColor, UIBezierPath,
                 std::vector<CAFilter>, std::vector<UIColor>, std::vector<double>, std::shared_ptr<CALayer>>;

// The layer properties that animations can change; each has a fixed value type.
enum class LayerProperty {
  Position,         // CGPoint   "position"
  Bounds,           // CGRect    "bounds"
  Transform,        // CGAffineTransform "transform"
  Opacity,          // double    "opacity"
  BackgroundColor,  // UIColor   "backgroundColor"
  CornerRadius,     // double    "cornerRadius"
  ShadowColor,      // UIColor   "shadowColor"
  ShadowOpacity,    // double    "shadowOpacity"
  ShadowRadius,     // double    "shadowRadius"
  ShadowOffset,     // CGSize    "shadowOffset"
};
inline constexpr int kLayerPropertyCount = 10;

// The key path of an animatable property ("shadowOpacity").
const char* layerPropertyKey(LayerProperty p);
// The property named by a key path; false when it is not animatable.
bool layerPropertyForKey(const std::string& key, LayerProperty* out);

// A value reads as a double (0 for anything else).
inline double layerValueAsDouble(const LayerValue& v) {
  if (auto d = std::get_if<double>(&v)) return *d;
  if (auto b = std::get_if<bool>(&v)) return *b ? 1.0 : 0.0;
  return 0;
}

}  // namespace platform
