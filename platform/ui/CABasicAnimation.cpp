#include "platform/ui/CABasicAnimation.h"

namespace platform {

CABasicAnimation CABasicAnimation::animationWithKeyPath(std::string keyPath) {
  CABasicAnimation a;
  a.keyPath_ = std::move(keyPath);
  a.timing_ = CAMediaTimingFunction::functionWithName(CAMediaTimingFunction::Name::Linear);
  return a;
}

}  // namespace platform
