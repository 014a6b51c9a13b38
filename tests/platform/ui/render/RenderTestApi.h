#pragma once

#include "platform/ui/render/ImageRasterCache.h"
#include "platform/ui/render/ViewRenderer.h"

namespace platform {

// Test-only access to the renderer's switches.
class ViewRendererTestApi {
 public:
  static void setBoundGroups(ViewRenderer& renderer, bool bound) { renderer.boundGroups_ = bound; }
};

// Test-only access to the process-wide cache of image drawings.
class ImageRasterCacheTestApi {
 public:
  static void setEnabled(bool on) { ImageRasterCache::enabled() = on; }
  static int reused() { return ImageRasterCache::reused(); }
};

}  // namespace platform
