#pragma once

#include <memory>

#include "platform/ui/UIImage.h"
#include "platform/ui/UIView.h"

namespace platform {

// A view that shows an image (UIImageView), placed by the content mode
// (scale to fill, aspect fit, aspect fill, centre, ...). Template images are
// drawn in the tint colour in force. Takes no touches by default.
class UIImageView : public UIView {
 public:
  explicit UIImageView(const CGRect& frame = CGRectZero);
  // initWithImage: — the frame takes the image's size.
  explicit UIImageView(std::shared_ptr<UIImage> image);

  const std::shared_ptr<UIImage>& image() const { return image_; }
  void setImage(std::shared_ptr<UIImage> image);
  // Whether the image is drawn as a mask filled with tintColor().
  bool drawsAsTemplate() const;
  // Where the image is drawn in the bounds for the content mode (zero rectangle without image).
  CGRect imageRect() const;

  CGSize intrinsicContentSize() const override;
  CGSize sizeThatFits(CGSize size) override;

 private:
  std::shared_ptr<UIImage> image_;
};

}  // namespace platform
