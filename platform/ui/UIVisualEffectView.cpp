#include "platform/ui/UIVisualEffectView.h"

namespace platform {

UIVisualEffectView::UIVisualEffectView(std::optional<UIBlurEffect> effect) : effect_(effect) {
  content_ = std::make_shared<UIView>();
  content_->setAutoresizingMask(UIViewAutoresizing::FlexibleWidth | UIViewAutoresizing::FlexibleHeight);
  addSubview(content_);
}

}  // namespace platform
