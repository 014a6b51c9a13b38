#include "platform/preferences/LSApplicationProxy.h"

#include "platform/foundation/DevicePaths.h"
#include "platform/ui/UIImage.h"

namespace platform {

std::shared_ptr<UIImage> LSApplicationProxy::appIconForTableCell() const {
  if (!iconLoaded_) {
    iconLoaded_ = true;
    if (auto path = DevicePaths::resolve(fields_.iconFile)) icon_ = UIImage::imageWithContentsOfFile(path->string());
  }
  return icon_;
}

}  // namespace platform
