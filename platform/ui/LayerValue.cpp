#include "platform/ui/LayerValue.h"

namespace platform {

namespace {
constexpr const char* kKeys[kLayerPropertyCount] = {
    "position",     "bounds",      "transform",     "opacity",      "backgroundColor",
    "cornerRadius", "shadowColor", "shadowOpacity", "shadowRadius", "shadowOffset",
};
}  // namespace

const char* layerPropertyKey(LayerProperty p) { return kKeys[static_cast<int>(p)]; }

bool layerPropertyForKey(const std::string& key, LayerProperty* out) {
  for (int i = 0; i < kLayerPropertyCount; ++i) {
    if (key == kKeys[i]) {
      *out = static_cast<LayerProperty>(i);
      return true;
    }
  }
  return false;
}

}  // namespace platform
