#include "platform/springboard/screen/QuickActionRowView.h"

#include "platform/ui/UIImageView.h"
#include "platform/ui/UITapGestureRecognizer.h"

namespace platform::springboard {

namespace {

constexpr double kSideInset = 16;
constexpr double kImageSide = 22;

void styleLabel(UILabel& label, double size, UIColor color) {
  label.setFont(UIFont::systemFontOfSize(size));
  label.setTextColor(color);
  label.setTextAlignment(NSTextAlignment::Natural);
}

}  // namespace

ActionLabelView::ActionLabelView() : ScreenView("SBUIActionViewLabel") {
  label_ = std::make_shared<ScreenLabel>();
  addSubview(label_);
}

void ActionLabelView::layoutContents() { label_->setFrame(bounds()); }

QuickActionRowView::QuickActionRowView(Style style, Ref<Object> object, std::string title, std::string subtitle,
                                       std::shared_ptr<UIImage> image)
    : ScreenView(style == Style::ContextMenu ? "_UIContextMenuActionView" : "SBUIActionView", CGRectZero,
                 std::move(object)),
      style_(style),
      title_(std::move(title)),
      subtitle_(std::move(subtitle)) {
  setDetail("\"" + title_ + "\"");
  labels_ = std::make_shared<UIView>();
  labels_->setUserInteractionEnabled(false);
  addSubview(labels_);
  const UIColor primary = UIColor::blackColor(), secondary = UIColor(0.24, 0.24, 0.26, 0.6);
  if (style_ == Style::ContextMenu) {
    title13_ = std::make_shared<ScreenLabel>();
    subtitle13_ = std::make_shared<ScreenLabel>();
    labels_->addSubview(title13_);
    labels_->addSubview(subtitle13_);
  } else {
    title12_ = std::make_shared<ActionLabelView>();
    subtitle12_ = std::make_shared<ActionLabelView>();
    labels_->addSubview(title12_);
    labels_->addSubview(subtitle12_);
  }
  styleLabel(titleLabel(), 17, primary);
  styleLabel(subtitleLabel(), 13, secondary);
  titleLabel().setText(title_);
  subtitleLabel().setText(subtitle_);
  subtitleLabel().setHidden(subtitle_.empty());
  imageView_ = std::make_shared<UIImageView>();
  imageView_->setContentMode(UIViewContentMode::ScaleAspectFit);
  imageView_->setTintColor(primary);
  addSubview(imageView_);
  setImage(std::move(image));
  separator_ = std::make_shared<UIView>();
  separator_->setBackgroundColor(UIColor(0.24, 0.24, 0.26, 0.25));
  addSubview(separator_);
  addGestureRecognizer(std::make_shared<UITapGestureRecognizer>([this](UIGestureRecognizer&) {
    if (action_) {
      auto action = action_;  // the row may go away while its action runs
      action();
    }
  }));
}

void QuickActionRowView::setImage(std::shared_ptr<UIImage> image) {
  image_ = std::move(image);
  imageView_->setImage(image_);
}

double QuickActionRowView::preferredHeight() const {
  if (style_ == Style::ContextMenu) return subtitle_.empty() ? 44 : 58;
  return subtitle_.empty() ? 52 : 62;
}

id QuickActionRowView::titleLabelObject() const { return title13_ ? title13_->object() : title12_->object(); }

id QuickActionRowView::subtitleLabelObject() const {
  return subtitle13_ ? subtitle13_->object() : subtitle12_->object();
}

UILabel& QuickActionRowView::titleLabel() const { return title13_ ? *title13_ : title12_->label(); }

UILabel& QuickActionRowView::subtitleLabel() const { return subtitle13_ ? *subtitle13_ : subtitle12_->label(); }

void QuickActionRowView::layoutContents() {
  const CGSize size = bounds().size;
  const bool rtl = effectiveUserInterfaceLayoutDirection() == UIUserInterfaceLayoutDirection::RightToLeft;
  const double labelsWidth = size.width - 3 * kSideInset - kImageSide;
  const double labelsX = rtl ? 2 * kSideInset + kImageSide : kSideInset;
  const double imageX = rtl ? kSideInset : size.width - kSideInset - kImageSide;
  const double titleHeight = 22, subtitleHeight = subtitle_.empty() ? 0 : 18;
  const double labelsHeight = titleHeight + subtitleHeight;
  labels_->setFrame(CGRectMake(labelsX, (size.height - labelsHeight) / 2, labelsWidth, labelsHeight));
  UIView& title = title13_ ? static_cast<UIView&>(*title13_) : static_cast<UIView&>(*title12_);
  UIView& subtitle = subtitle13_ ? static_cast<UIView&>(*subtitle13_) : static_cast<UIView&>(*subtitle12_);
  title.setFrame(CGRectMake(0, 0, labelsWidth, titleHeight));
  subtitle.setFrame(CGRectMake(0, titleHeight, labelsWidth, subtitleHeight));
  imageView_->setFrame(CGRectMake(imageX, (size.height - kImageSide) / 2, kImageSide, kImageSide));
  separator_->setFrame(CGRectMake(0, size.height - 0.5, size.width, 0.5));
}

}  // namespace platform::springboard
