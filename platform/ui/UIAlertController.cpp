#include "platform/ui/UIAlertController.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/UIButton.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIScreen.h"

namespace platform {

namespace {
constexpr double kAlertWidth = 270;
constexpr double kButtonHeight = 44;
constexpr double kPadding = 20;
}  // namespace

std::shared_ptr<UIAlertController> UIAlertController::alertControllerWithTitle(std::string title, std::string message,
                                                                               UIAlertControllerStyle style) {
  return std::make_shared<UIAlertController>(std::move(title), std::move(message), style);
}

UIAlertController::UIAlertController(std::string title, std::string message, UIAlertControllerStyle style)
    : message_(std::move(message)), style_(style) {
  setTitle(std::move(title));
  setModalPresentationStyle(UIModalPresentationStyle::OverFullScreen);
  setModalTransitionStyle(UIModalTransitionStyle::CrossDissolve);
}

void UIAlertController::addAction(std::shared_ptr<UIAlertAction> action) {
  if (action) actions_.push_back(std::move(action));
}

std::vector<std::shared_ptr<UIAlertAction>> UIAlertController::displayedActions() const {
  std::vector<std::shared_ptr<UIAlertAction>> list;
  for (const auto& a : actions_) {
    if (a->style() != UIAlertActionStyle::Cancel) list.push_back(a);
  }
  for (const auto& a : actions_) {
    if (a->style() == UIAlertActionStyle::Cancel) list.push_back(a);
  }
  return list;
}

bool UIAlertController::tapActionWithTitle(const std::string& title) {
  if (chosen_) return false;
  for (const auto& a : displayedActions()) {
    if (a->title() == title && a->isEnabled()) {
      choose(a);
      return true;
    }
  }
  return false;
}

void UIAlertController::choose(const std::shared_ptr<UIAlertAction>& action) {
  if (chosen_) return;
  chosen_ = true;
  auto run = [action] {
    if (action->handler()) action->handler()(*action);
  };
  if (!presentingViewController()) {
    run();
    return;
  }
  dismissViewControllerAnimated(true, run);
}

// A dimmed screen with a rounded box: title, message, then the buttons (two side by side in an
// alert with exactly two actions, else one per row).
void UIAlertController::loadView() {
  CGRect screen = UIScreen::mainScreen().bounds();
  auto root = std::make_shared<UIView>(screen);
  root->setBackgroundColor(UIColor::colorWithWhite(0, 0.2));
  double width = style_ == UIAlertControllerStyle::Alert ? kAlertWidth : screen.size.width - 16;
  auto box = std::make_shared<UIView>(CGRectMake(0, 0, width, 0));
  box->setBackgroundColor(UIColor::colorWithWhite(0.97, 0.96));
  box->layer().setCornerRadius(13);
  box->setClipsToBounds(true);
  double y = kPadding;
  auto addLabel = [&](const std::string& text, UIFont font) {
    if (text.empty()) return;
    auto label = std::make_shared<UILabel>(CGRectMake(16, y, width - 32, 0));
    label->setText(text);
    label->setFont(font);
    label->setNumberOfLines(0);
    label->setTextAlignment(NSTextAlignment::Center);
    CGSize s = label->sizeThatFits({width - 32, 0});
    label->setFrame(CGRectMake(16, y, width - 32, s.height));
    box->addSubview(label);
    y += s.height + 4;
  };
  addLabel(title(), UIFont::boldSystemFontOfSize(17));
  addLabel(message_, UIFont::systemFontOfSize(13));
  y += kPadding - 4;
  auto actions = displayedActions();
  bool sideBySide = style_ == UIAlertControllerStyle::Alert && actions.size() == 2;
  for (size_t i = 0; i < actions.size(); ++i) {
    const auto& action = actions[i];
    CGRect frame = sideBySide ? CGRectMake(i * width / 2, y, width / 2, kButtonHeight)
                              : CGRectMake(0, y + i * kButtonHeight, width, kButtonHeight);
    auto button = std::make_shared<UIButton>(frame, UIButtonType::System);
    button->setTitle(action->title(), UIControlState::Normal);
    UIColor color = action->style() == UIAlertActionStyle::Destructive ? UIColor(1, 59.0 / 255, 48.0 / 255, 1)
                                                                       : UIColor::systemBlueColor();
    button->setTitleColor(color, UIControlState::Normal);
    button->titleLabel()->setFont(action->style() == UIAlertActionStyle::Cancel ? UIFont::boldSystemFontOfSize(17)
                                                                                : UIFont::systemFontOfSize(17));
    std::weak_ptr<UIAlertAction> weakAction = action;
    button->addTarget(
        this,
        [this, weakAction](UIControl&) {
          if (auto a = weakAction.lock(); a && a->isEnabled()) choose(a);
        },
        UIControlEvents::TouchUpInside);
    box->addSubview(button);
  }
  double buttonsHeight = actions.empty() ? 0 : (sideBySide ? kButtonHeight : kButtonHeight * actions.size());
  double height = y + buttonsHeight;
  box->setFrame(CGRectMake(std::round((screen.size.width - width) / 2), std::round((screen.size.height - height) / 2),
                           width, height));
  box->setAutoresizingMask(UIViewAutoresizing::FlexibleLeftMargin | UIViewAutoresizing::FlexibleRightMargin |
                           UIViewAutoresizing::FlexibleTopMargin | UIViewAutoresizing::FlexibleBottomMargin);
  root->addSubview(box);
  setView(root);
}

}  // namespace platform
