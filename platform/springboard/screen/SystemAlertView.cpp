#include "platform/springboard/screen/SystemAlertView.h"

#include "platform/ui/UIButton.h"
#include "platform/ui/UIVisualEffectView.h"

namespace platform::springboard {

namespace {

constexpr double kWidth = 270;

}  // namespace

SystemAlertView::SystemAlertView(std::function<void()> dismiss)
    : ScreenView("SBAlertView"), dismiss_(std::move(dismiss)) {
  setHidden(true);
  setBackgroundColor(UIColor(0, 0, 0, 0.3));
  card_ = std::make_shared<UIVisualEffectView>(UIBlurEffect::effectWithStyle(UIBlurEffectStyle::Light));
  card_->setBackgroundColor(UIColor(1, 1, 1, 0.8));
  card_->layer().setCornerRadius(14);
  card_->setClipsToBounds(true);
  addSubview(card_);
  title_ = std::make_shared<ScreenLabel>();
  title_->setFont(UIFont::systemFontOfSize(17, UIFontWeight::Semibold));
  title_->setTextAlignment(NSTextAlignment::Center);
  message_ = std::make_shared<ScreenLabel>();
  message_->setFont(UIFont::systemFontOfSize(13));
  message_->setTextAlignment(NSTextAlignment::Center);
  message_->setNumberOfLines(0);
  separator_ = std::make_shared<UIView>();
  separator_->setBackgroundColor(UIColor(0.24, 0.24, 0.26, 0.3));
  ok_ = std::make_shared<UIButton>();
  ok_->setTitle("OK", UIControlState::Normal);
  ok_->setTitleColor(UIColor(0, 0.48, 1, 1), UIControlState::Normal);
  ok_->addTarget(
      this,
      [this](UIControl&) {
        if (dismiss_) dismiss_();
      },
      UIControlEvents::TouchUpInside);
  for (const auto& view : std::initializer_list<std::shared_ptr<UIView>>{title_, message_, separator_, ok_}) {
    addSubview(view);
  }
}

void SystemAlertView::show(const std::string& title, const std::string& message) {
  setHidden(title.empty() && message.empty());
  // Asked again after every task of the main loop: only a new text needs a new layout.
  if (title_->text() == title && message_->text() == message) return;
  title_->setText(title);
  message_->setText(message);
  setNeedsLayout();
}

void SystemAlertView::layoutContents() {
  const CGSize size = bounds().size;
  const double messageHeight = message_->sizeThatFits({kWidth - 32, 400}).height;
  const double height = 20 + 22 + 6 + messageHeight + 20 + 44;
  const double x = (size.width - kWidth) / 2, y = (size.height - height) / 2;
  card_->setFrame(CGRectMake(x, y, kWidth, height));
  title_->setFrame(CGRectMake(x + 16, y + 20, kWidth - 32, 22));
  message_->setFrame(CGRectMake(x + 16, y + 48, kWidth - 32, messageHeight));
  separator_->setFrame(CGRectMake(x, y + height - 44.5, kWidth, 0.5));
  ok_->setFrame(CGRectMake(x, y + height - 44, kWidth, 44));
}

}  // namespace platform::springboard
