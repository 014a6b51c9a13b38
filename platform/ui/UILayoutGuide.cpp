#include "platform/ui/UILayoutGuide.h"

#include "platform/ui/UIScrollView.h"
#include "platform/ui/UIView.h"

namespace platform {

CGRect UILayoutGuide::layoutFrame() const {
  if (owner_ && safeArea_) return UIEdgeInsetsInsetRect(owner_->bounds(), owner_->safeAreaInsets());
  if (owner_ && content_) {
    if (auto sv = dynamic_cast<UIScrollView*>(owner_)) return {{0, 0}, sv->contentSize()};
  }
  return frame_;
}

}  // namespace platform
