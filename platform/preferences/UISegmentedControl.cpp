#include "platform/preferences/UISegmentedControl.h"

#include <algorithm>

#include "platform/ui/UILabel.h"
#include "platform/ui/UITouch.h"

namespace platform {

UISegmentedControl::UISegmentedControl(std::vector<std::string> titles) : titles_(std::move(titles)) {
  layer().setCornerRadius(5);
  layer().setBorderWidth(1);
  setClipsToBounds(true);
  for (const auto& title : titles_) {
    auto label = std::make_shared<UILabel>();
    label->setText(title);
    label->setFont(UIFont::systemFontOfSize(13));
    label->setTextAlignment(NSTextAlignment::Center);
    label->setAdjustsFontSizeToFitWidth(true);
    label->setMinimumScaleFactor(0.5);
    label->setUserInteractionEnabled(false);
    addSubview(label);
    labels_.push_back(std::move(label));
  }
  setFrame(CGRectMake(0, 0, intrinsicContentSize().width, 29));
  refreshLook();
}

void UISegmentedControl::setSelectedSegmentIndex(long index) {
  selected_ = index >= 0 && index < numberOfSegments() ? index : kNoSegment;
  refreshLook();
}

void UISegmentedControl::selectSegmentFromUser(long index) {
  if (!isEnabled() || index < 0 || index >= numberOfSegments()) return;
  setSelectedSegmentIndex(index);
  sendActionsForControlEvents(UIControlEvents::ValueChanged);
}

long UISegmentedControl::indexOfTitle(const std::string& title) const {
  auto it = std::find(titles_.begin(), titles_.end(), title);
  return it == titles_.end() ? kNoSegment : static_cast<long>(it - titles_.begin());
}

void UISegmentedControl::setEnabled(bool enabled) {
  UIControl::setEnabled(enabled);
  setAlpha(enabled ? 1.0 : 0.5);
}

void UISegmentedControl::layoutSubviews() {
  UIControl::layoutSubviews();
  double width = labels_.empty() ? 0 : bounds().size.width / static_cast<double>(labels_.size());
  for (size_t i = 0; i < labels_.size(); ++i)
    labels_[i]->setFrame(CGRectMake(width * static_cast<double>(i), 0, width, bounds().size.height));
  refreshLook();
}

void UISegmentedControl::refreshLook() {
  UIColor tint = tintColor();
  layer().setBorderColor(tint);
  for (size_t i = 0; i < labels_.size(); ++i) {
    bool selected = static_cast<long>(i) == selected_;
    labels_[i]->setBackgroundColor(selected ? std::optional<UIColor>(tint) : std::nullopt);
    labels_[i]->setTextColor(selected ? UIColor::whiteColor() : tint);
  }
}

void UISegmentedControl::touchesEnded(const std::vector<UITouch*>& touches, UIEvent* event) {
  if (!touches.empty() && !labels_.empty()) {
    CGPoint p = touches.front()->locationInView(this);
    double width = bounds().size.width / static_cast<double>(labels_.size());
    if (width > 0 && p.x >= 0 && p.x < bounds().size.width) selectSegmentFromUser(static_cast<long>(p.x / width));
  }
  UIControl::touchesEnded(touches, event);
}

CGSize UISegmentedControl::intrinsicContentSize() const {
  double width = 0;
  for (const auto& label : labels_) width = std::max(width, label->intrinsicContentSize().width + 16);
  return {width * static_cast<double>(labels_.size()), 29};
}

}  // namespace platform
