#include "platform/ui/UIButton.h"

#include <cmath>

namespace platform {

namespace {
unsigned key(UIControlState s) { return static_cast<unsigned>(s); }
}  // namespace

std::shared_ptr<UIButton> UIButton::buttonWithType(UIButtonType type) {
  return std::make_shared<UIButton>(CGRectZero, type);
}

UIButton::UIButton(const CGRect& frame, UIButtonType type) : UIControl(frame), type_(type) {}

UIControlState UIButton::displayState() const {
  if (!isEnabled()) return UIControlState::Disabled;
  if (isHighlighted()) return UIControlState::Highlighted;
  if (isSelected()) return UIControlState::Selected;
  return UIControlState::Normal;
}

void UIButton::setImage(std::shared_ptr<UIImage> image, UIControlState state) {
  if (image) {
    images_[key(state)] = std::move(image);
  } else {
    images_.erase(key(state));
  }
  refreshContent();
}

std::shared_ptr<UIImage> UIButton::imageForState(UIControlState state) const {
  auto it = images_.find(key(state));
  if (it != images_.end()) return it->second;
  it = images_.find(key(UIControlState::Normal));
  return it != images_.end() ? it->second : nullptr;
}

void UIButton::setTitle(std::string title, UIControlState state) {
  titles_[key(state)] = std::move(title);
  refreshContent();
}

std::string UIButton::titleForState(UIControlState state) const {
  auto it = titles_.find(key(state));
  if (it != titles_.end()) return it->second;
  it = titles_.find(key(UIControlState::Normal));
  return it != titles_.end() ? it->second : std::string();
}

void UIButton::setTitleColor(UIColor color, UIControlState state) {
  titleColors_[key(state)] = color;
  refreshContent();
}

UIColor UIButton::titleColorForState(UIControlState state) const {
  auto it = titleColors_.find(key(state));
  if (it == titleColors_.end()) it = titleColors_.find(key(UIControlState::Normal));
  if (it != titleColors_.end()) return it->second;
  return type_ == UIButtonType::System ? tintColor() : UIColor::whiteColor();
}

void UIButton::setImageEdgeInsets(const UIEdgeInsets& insets) {
  imageInsets_ = insets;
  setNeedsLayout();
}

UIImageView* UIButton::imageView() {
  if (!imageView_) {
    imageView_ = std::make_shared<UIImageView>();
    imageView_->setContentMode(UIViewContentMode::ScaleAspectFit);
    addSubview(imageView_);
    refreshContent();
  }
  return imageView_.get();
}

UILabel* UIButton::titleLabel() {
  if (!titleLabel_) {
    titleLabel_ = std::make_shared<UILabel>();
    titleLabel_->setTextAlignment(NSTextAlignment::Center);
    titleLabel_->setFont(UIFont::systemFontOfSize(15));
    addSubview(titleLabel_);
    refreshContent();
  }
  return titleLabel_.get();
}

// Shows the image and title of the current state.
void UIButton::refreshContent() {
  auto image = currentImage();
  if (image && !imageView_) {
    imageView();
    return;
  }
  if (imageView_) {
    if (image && type_ == UIButtonType::System && image->renderingMode() == UIImageRenderingMode::Automatic) {
      image = image->imageWithRenderingMode(UIImageRenderingMode::AlwaysTemplate);
    }
    imageView_->setImage(image);
  }
  std::string title = currentTitle();
  if (!title.empty() && !titleLabel_) {
    titleLabel();
    return;
  }
  if (titleLabel_) {
    titleLabel_->setText(title);
    titleLabel_->setTextColor(titleColorForState(displayState()));
  }
  setNeedsLayout();
}

void UIButton::setHighlighted(bool h) {
  if (h == isHighlighted()) return;
  UIControl::setHighlighted(h);
  refreshContent();
}

void UIButton::setSelected(bool s) {
  UIControl::setSelected(s);
  refreshContent();
}

void UIButton::setEnabled(bool e) {
  UIControl::setEnabled(e);
  refreshContent();
}

void UIButton::layoutSubviews() {
  UIControl::layoutSubviews();
  CGRect b = bounds();
  if (imageView_) imageView_->setFrame(UIEdgeInsetsInsetRect(b, imageInsets_));
  if (titleLabel_) titleLabel_->setFrame(b);
}

CGSize UIButton::intrinsicContentSize() const {
  double w = 0, h = 0;
  if (auto image = currentImage()) {
    w = image->size().width + imageInsets_.left + imageInsets_.right;
    h = image->size().height + imageInsets_.top + imageInsets_.bottom;
  }
  if (titleLabel_ && !titleLabel_->text().empty()) {
    CGSize t = titleLabel_->intrinsicContentSize();
    w = std::max(w, t.width + 2 * 8);
    h = std::max(h, t.height + 2 * 6);
  }
  if (w == 0 && h == 0) return {30, 34};
  return {w, h};
}

CGSize UIButton::sizeThatFits(CGSize) { return intrinsicContentSize(); }

}  // namespace platform
