#include "platform/ui/UIImageView.h"

#include <algorithm>

namespace platform {

UIImageView::UIImageView(const CGRect& frame) : UIView(frame) { setUserInteractionEnabled(false); }

UIImageView::UIImageView(std::shared_ptr<UIImage> image) : UIView(image ? CGRect{{0, 0}, image->size()} : CGRectZero) {
  setUserInteractionEnabled(false);
  image_ = std::move(image);
}

void UIImageView::setImage(std::shared_ptr<UIImage> image) {
  if (image == image_) return;
  image_ = std::move(image);
  invalidateIntrinsicContentSize();
}

bool UIImageView::drawsAsTemplate() const {
  return image_ && image_->renderingMode() == UIImageRenderingMode::AlwaysTemplate;
}

CGRect UIImageView::imageRect() const {
  if (!image_) return CGRectZero;
  CGRect b = bounds();
  CGSize is = image_->size();
  if (is.width <= 0 || is.height <= 0) return CGRectZero;
  auto centred = [&b](CGSize s) {
    return CGRect{{b.origin.x + (b.size.width - s.width) / 2, b.origin.y + (b.size.height - s.height) / 2}, s};
  };
  switch (contentMode()) {
    case UIViewContentMode::ScaleAspectFit: {
      double k = std::min(b.size.width / is.width, b.size.height / is.height);
      return centred({is.width * k, is.height * k});
    }
    case UIViewContentMode::ScaleAspectFill: {
      double k = std::max(b.size.width / is.width, b.size.height / is.height);
      return centred({is.width * k, is.height * k});
    }
    case UIViewContentMode::Center: return centred(is);
    case UIViewContentMode::Top: return {{b.origin.x + (b.size.width - is.width) / 2, b.origin.y}, is};
    case UIViewContentMode::Bottom:
      return {{b.origin.x + (b.size.width - is.width) / 2, b.origin.y + b.size.height - is.height}, is};
    case UIViewContentMode::Left: return {{b.origin.x, b.origin.y + (b.size.height - is.height) / 2}, is};
    case UIViewContentMode::Right:
      return {{b.origin.x + b.size.width - is.width, b.origin.y + (b.size.height - is.height) / 2}, is};
    default: return b;
  }
}

CGSize UIImageView::intrinsicContentSize() const {
  if (!image_) return {UIViewNoIntrinsicMetric, UIViewNoIntrinsicMetric};
  return image_->size();
}

CGSize UIImageView::sizeThatFits(CGSize) { return image_ ? image_->size() : CGSizeZero; }

}  // namespace platform
