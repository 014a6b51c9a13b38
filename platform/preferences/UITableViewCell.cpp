#include "platform/preferences/UITableViewCell.h"

#include <algorithm>

#include "platform/preferences/UITableView.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITouch.h"

namespace platform {

namespace {
constexpr double kMargin = 15;
constexpr double kIcon = 29;
}  // namespace

UITableViewCell::UITableViewCell(UITableViewCellStyle style, std::string reuseIdentifier)
    : UIView(CGRectMake(0, 0, 320, 44)), style_(style), reuseIdentifier_(std::move(reuseIdentifier)) {
  setBackgroundColor(UIColor::whiteColor());
  contentView_ = std::make_shared<UIView>(bounds());
  addSubview(contentView_);
  imageView_ = std::make_shared<UIImageView>();
  imageView_->setContentMode(UIViewContentMode::ScaleAspectFit);
  contentView_->addSubview(imageView_);
  textLabel_ = std::make_shared<UILabel>();
  textLabel_->setFont(UIFont::systemFontOfSize(17));
  textLabel_->setTextColor(UIColor::blackColor());
  contentView_->addSubview(textLabel_);
  if (style_ != UITableViewCellStyle::Default) {
    detailLabel_ = std::make_shared<UILabel>();
    bool subtitle = style_ == UITableViewCellStyle::Subtitle;
    detailLabel_->setFont(UIFont::systemFontOfSize(subtitle ? 12 : 17));
    detailLabel_->setTextColor(subtitle ? UIColor::blackColor() : UIColor::grayColor());
    detailLabel_->setTextAlignment(subtitle ? NSTextAlignment::Left : NSTextAlignment::Right);
    contentView_->addSubview(detailLabel_);
  }
}

UITableViewCell::~UITableViewCell() = default;

void UITableViewCell::setAccessoryType(UITableViewCellAccessoryType type) {
  accessoryType_ = type;
  if (type == UITableViewCellAccessoryType::DisclosureIndicator && !chevron_) {
    chevron_ = std::make_shared<UILabel>();
    chevron_->setText("\u203A");
    chevron_->setFont(UIFont::systemFontOfSize(24));
    chevron_->setTextColor(UIColor::colorWithWhite(0.78, 1));
    addSubview(chevron_);
  }
  if (chevron_) chevron_->setHidden(type != UITableViewCellAccessoryType::DisclosureIndicator || accessoryView_);
  setNeedsLayout();
}

void UITableViewCell::setAccessoryView(std::shared_ptr<UIView> view) {
  if (accessoryView_) accessoryView_->removeFromSuperview();
  accessoryView_ = std::move(view);
  if (accessoryView_) addSubview(accessoryView_);
  if (chevron_)
    chevron_->setHidden(accessoryType_ != UITableViewCellAccessoryType::DisclosureIndicator || accessoryView_);
  setNeedsLayout();
}

void UITableViewCell::layoutSubviews() {
  UIView::layoutSubviews();
  CGRect b = bounds();
  double right = b.size.width - kMargin;
  if (accessoryView_) {
    CGSize size = accessoryView_->frame().size;
    accessoryView_->setFrame(
        CGRectMake(right - size.width, (b.size.height - size.height) / 2, size.width, size.height));
    right -= size.width + 8;
  } else if (chevron_ && !chevron_->isHidden()) {
    chevron_->setFrame(CGRectMake(right - 10, 0, 10, b.size.height));
    right -= 10 + 8;
  }
  contentView_->setFrame(CGRectMake(0, 0, right + kMargin, b.size.height));
  double left = kMargin;
  if (imageView_->image()) {
    imageView_->setFrame(CGRectMake(kMargin, (b.size.height - kIcon) / 2, kIcon, kIcon));
    left += kIcon + kMargin;
  } else {
    imageView_->setFrame(CGRectZero);
  }
  double width = std::max(0.0, right - left);
  if (style_ == UITableViewCellStyle::Subtitle && detailLabel_) {
    double line = textLabel_->font().lineHeight();
    double top = (b.size.height - line - 22) / 2;
    textLabel_->setFrame(CGRectMake(left, top, width, line));
    detailLabel_->setFrame(CGRectMake(left, top + line + 4, width, 18));
  } else if (detailLabel_ && !detailLabel_->text().empty()) {
    double detailWidth = std::min(width * 0.5, detailLabel_->intrinsicContentSize().width);
    detailLabel_->setFrame(CGRectMake(right - detailWidth, 0, detailWidth, b.size.height));
    textLabel_->setFrame(CGRectMake(left, 0, std::max(0.0, width - detailWidth - 8), b.size.height));
  } else {
    if (detailLabel_) detailLabel_->setFrame(CGRectZero);
    textLabel_->setFrame(CGRectMake(left, 0, width, b.size.height));
  }
}

UIView* UITableViewCell::hitTest(CGPoint p, UIEvent* event) {
  UIView* hit = UIView::hitTest(p, event);
  return hit == contentView_.get() ? this : hit;
}

void UITableViewCell::touchesEnded(const std::vector<UITouch*>& touches, UIEvent* event) {
  UIView::touchesEnded(touches, event);
  if (touches.empty() || !tableView_ || !isUserInteractionEnabled()) return;
  if (pointInside(touches.front()->locationInView(this), event)) tableView_->userDidTapCell(*this);
}

}  // namespace platform
